// Builds live windows from their definitions and runs their events.
#pragma once
#include <windows.h>

#include "ui/window_def.h"

namespace ui {

// Creates the window with all its controls (and its menu), owned by `owner`, centred on the
// screen; runs its "created" event, then shows it. Null when the window is gone by then.
HWND BuildWindow(const WindowDef& def, HWND owner);

// The outer width of a built window in the window tables' 96-DPI units, and setting it.
int DesignWidth(HWND window);
void SetDesignWidth(HWND window, int width);

// The pop-up menu built with `window`, or null.
HMENU WindowMenu(HWND window);

// Shows `big` in the task bar and Alt+Tab and `small` in the caption; the window owns both from
// now on.
void SetWindowIcons(HWND window, HICON big, HICON small);

}  // namespace ui
