// Creates one control of a window from its definition.
#pragma once
#include <windows.h>

#include "ui/window_def.h"

namespace ui {

// `def` must outlive the control. A control with a container goes into that control, which
// must have been created before it.
HWND CreateControl(HWND window, const ControlDef& def, HFONT font);

}  // namespace ui
