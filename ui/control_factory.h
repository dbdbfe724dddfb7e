// Creates one control of a window from its definition.
#pragma once
#include <windows.h>

#include "ui/window_def.h"

namespace ui {

// `def` must outlive the control. A control with a container goes into that control, which
// must have been created before it.
// Sizes and positions are the definition's, scaled to `dpi`.
HWND CreateControl(HWND window, const ControlDef& def, HFONT font, int dpi);

// Moves and sizes an existing control for `dpi` and gives it `font`.
void PlaceControl(HWND control, const ControlDef& def, HFONT font, int dpi);

}  // namespace ui
