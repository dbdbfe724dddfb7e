#include "ui/transparency.h"

namespace ui {

bool IsSeeThrough(HWND control) { return (GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0; }

void RedrawBackdrop(HWND control) {
    const HWND parent = GetParent(control);
    RECT area;
    GetWindowRect(control, &area);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace ui
