// Controls that show the window's background through them (WS_EX_TRANSPARENT): they paint
// only their text, so whatever changes their look must have the background behind them
// painted again first.
#pragma once
#include <windows.h>

namespace ui {

bool IsSeeThrough(HWND control);
void RedrawBackdrop(HWND control);

}  // namespace ui
