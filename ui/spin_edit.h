// Read-only number boxes with an up-down control: the arrows (buttons or arrow keys) step the
// number within its range and stop at the ends; no key can put other text into the box.
#pragma once
#include <windows.h>

#include "ui/window_def.h"

namespace ui {

// Puts an up-down control against the right edge of `edit`, starting at the edit's number.
void AttachSpin(HWND edit, SpinRange range);

// Moves the up-down control of `edit` against its right edge again, `width` wide.
void PlaceSpin(HWND edit, int width);

// The up-down control of `edit`, or null.
HWND SpinOf(HWND edit);

}  // namespace ui
