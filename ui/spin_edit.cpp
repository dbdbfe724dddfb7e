#include "ui/spin_edit.h"

#include <commctrl.h>

#include <cstdlib>

namespace ui {
namespace {

// The edit box keeps its own size: the up-down control goes outside it, not inside.
RECT SpinArea(HWND edit, int width) {
    RECT area;
    GetWindowRect(edit, &area);
    MapWindowPoints(nullptr, GetParent(edit), reinterpret_cast<POINT*>(&area), 2);
    area.left = area.right;
    area.right += width;
    return area;
}

int EditNumber(HWND edit) {
    char text[16] = "";
    GetWindowTextA(edit, text, sizeof text);
    return std::atoi(text);
}

}  // namespace

void AttachSpin(HWND edit, SpinRange range) {
    const RECT area = SpinArea(edit, GetSystemMetrics(SM_CXVSCROLL));
    const HWND spin = CreateWindowExA(0, UPDOWN_CLASSA, nullptr,
                                      WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                                      area.left, area.top, area.right - area.left, area.bottom - area.top,
                                      GetParent(edit), nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    SendMessageA(spin, UDM_SETRANGE32, range.low, range.high);
    SendMessageA(spin, UDM_SETPOS32, 0, EditNumber(edit));
}

void PlaceSpin(HWND edit, int width) {
    const RECT area = SpinArea(edit, width);
    SetWindowPos(SpinOf(edit), nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND SpinOf(HWND edit) {
    for (HWND sibling = GetWindow(edit, GW_HWNDFIRST); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        char className[32] = "";
        GetClassNameA(sibling, className, sizeof className);
        if (lstrcmpiA(className, UPDOWN_CLASSA) == 0 &&
            reinterpret_cast<HWND>(SendMessageA(sibling, UDM_GETBUDDY, 0, 0)) == edit) {
            return sibling;
        }
    }
    return nullptr;
}

}  // namespace ui
