// Picture boxes: an owner-drawn static control showing a 32-bit premultiplied bitmap blended
// over the window's background.
#pragma once
#include <windows.h>

namespace ui {

// Handles WM_DRAWITEM for a picture box; a null picture leaves the bare background.
void DrawPicture(const DRAWITEMSTRUCT& item, HBITMAP picture);

}  // namespace ui
