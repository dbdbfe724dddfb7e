// The windows that are open, by kind, and their controls by name.
#pragma once
#include <windows.h>

#include "ui/controls.h"

namespace ui {

// Null while the window is not open. Any thread.
HWND WindowHandle(WindowKind kind);

// Called by the builder on the GUI thread: `window` when it is being created, null when it
// is being destroyed. Forgetting the Main window ends the GUI thread's message loop.
void RememberWindow(WindowKind kind, HWND window);

// GUI thread only; null when the window is not open.
HWND ControlHandle(ControlId control);

bool IsOpenWindow(HWND window);

}  // namespace ui
