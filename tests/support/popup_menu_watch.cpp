#include "tests/support/popup_menu_watch.h"

#include <thread>

#include "tests/support/message_pump.h"

namespace popup_menu_watch {
namespace {

BOOL CALLBACK MatchMenu(HWND window, LPARAM found) {
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32768") != 0 || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND WaitForMenu(DWORD thread) {
    HWND menu = nullptr;
    for (int i = 0; i < 500 && !menu; ++i, Sleep(10)) EnumThreadWindows(thread, MatchMenu, reinterpret_cast<LPARAM>(&menu));
    return menu;
}

}  // namespace

std::optional<ShownMenu> WatchPopUpMenu(const std::function<void()>& popUp) {
    std::optional<ShownMenu> shown;
    std::thread watcher([&shown, thread = GetCurrentThreadId()] {
        const HWND menu = WaitForMenu(thread);
        if (!menu) return;
        ShownMenu seen{{}, GetForegroundWindow()};
        GetWindowRect(menu, &seen.rect);
        shown = seen;
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    popUp();
    watcher.join();
    return shown;
}

// Pointer events that the display queued before the move may still arrive and move the
// cursor back, so it must stay in place for a while.
bool PlaceCursor(POINT screen) {
    int steady = 0;
    for (int i = 0; i < 200 && steady < 10; ++i, Sleep(20)) {
        message_pump::PumpPending();
        POINT now{};
        GetCursorPos(&now);
        if (now.x == screen.x && now.y == screen.y) {
            ++steady;
        } else {
            steady = 0;
            SetCursorPos(screen.x, screen.y);
        }
    }
    return steady == 10;
}

}  // namespace popup_menu_watch
