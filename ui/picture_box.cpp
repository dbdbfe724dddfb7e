#include "ui/picture_box.h"

#include "core/owners.h"

namespace ui {
namespace {

// The window class's brush, which FillRect also accepts in its COLOR_xxx + 1 form.
HBRUSH ParentBackground(HWND control) {
    return reinterpret_cast<HBRUSH>(GetClassLongPtrA(GetParent(control), GCLP_HBRBACKGROUND));
}

}  // namespace

void DrawPicture(const DRAWITEMSTRUCT& item, HBITMAP picture) {
    const RECT& area = item.rcItem;
    FillRect(item.hDC, &area, ParentBackground(item.hwndItem));
    if (!picture)
        return;
    BITMAP size{};
    GetObjectA(picture, sizeof size, &size);
    const UniqueMemoryDc source(CreateCompatibleDC(item.hDC));
    const SelectedObject selected(source.get(), picture);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    // gdi32's own entry: msimg32, which AlphaBlend would import, is no Known DLL.
    GdiAlphaBlend(item.hDC, area.left, area.top, area.right - area.left, area.bottom - area.top, source.get(), 0, 0,
                  size.bmWidth, size.bmHeight, blend);
}

}  // namespace ui
