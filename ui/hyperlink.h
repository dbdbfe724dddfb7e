// Hyperlinks: static text drawn in the platform's link colours, with the hand cursor, underlined
// while the mouse is over it, acting when the left button is released over it.
#pragma once
#include <windows.h>

#include "ui/window_def.h"

namespace ui {

// `link` is a SS_NOTIFY static control; `def` must outlive it.
void AttachHyperlink(HWND link, const ControlDef& def);

COLORREF LinkColour(HWND link);

}  // namespace ui
