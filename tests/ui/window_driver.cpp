// Test-only: puts a running Pordex.exe into one of the scenes that scripts/screenshots.sh
// photographs and the setup test needs, the way a user would get there.
// Usage: window_driver main|new-connection|about|wide|quit [DESKTOP]
// DESKTOP names the Wine desktop the program runs on. Exit code 0 once the scene is on the screen.
#include <windows.h>

#include <cstring>

#include "ui/controls.h"

namespace {

constexpr char kMainCaption[] = "QelvoPordex v2.0.1";
constexpr char kNewConnectionCaption[] = "新连接设置";

template <typename Find>
auto WaitFor(Find find) -> decltype(find()) {
    for (int i = 0; i < 100; ++i, Sleep(100)) {
        if (const auto found = find()) return found;
    }
    return {};
}

struct AboutSearch {
    HWND main, found;
};

BOOL CALLBACK MatchAbout(HWND window, LPARAM lParam) {
    auto& search = *reinterpret_cast<AboutSearch*>(lParam);
    const bool popup = (GetWindowLongA(window, GWL_STYLE) & (WS_POPUP | WS_CAPTION)) == WS_POPUP;
    if (GetWindow(window, GW_OWNER) != search.main || !popup || !IsWindowVisible(window)) return TRUE;
    search.found = window;
    return FALSE;
}

// The About window is the Main window's owned pop-up without a caption bar.
HWND FindAbout(HWND main) {
    AboutSearch search{main, nullptr};
    EnumWindows(MatchAbout, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void CloseSecondaryWindows(HWND main) {
    if (const HWND window = FindWindowA(nullptr, kNewConnectionCaption)) SendMessageA(window, WM_CLOSE, 0, 0);
    if (const HWND about = FindAbout(main)) {
        SendMessageA(GetDlgItem(about, ui::about_window::超级链接框1.id), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    }
}

// Unfolds the log as a user does, by its link, so that the width follows the window's DPI.
bool ShowLog(HWND main) {
    const HWND link = GetDlgItem(main, ui::main_window::超级链接框1.id);
    char text[32] = "";
    GetWindowTextA(link, text, sizeof text);
    if (std::strcmp(text, "查看日志>>") == 0) SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    GetWindowTextA(link, text, sizeof text);
    return std::strcmp(text, "<<收起日志") == 0;
}

// Closes the program as its close box does, and ends it if it does not go.
bool Quit(HWND main) {
    DWORD processId = 0;
    GetWindowThreadProcessId(main, &processId);
    const HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId);
    if (!process) return false;
    PostMessageA(main, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(process, 5000) == WAIT_OBJECT_0 || TerminateProcess(process, 1);
    CloseHandle(process);
    return ended;
}

bool SetScene(HWND main, const char* scene) {
    if (std::strcmp(scene, "quit") == 0) return Quit(main);
    CloseSecondaryWindows(main);
    if (std::strcmp(scene, "main") == 0) return true;
    if (std::strcmp(scene, "wide") == 0) return ShowLog(main);
    if (std::strcmp(scene, "new-connection") == 0) {
        SendMessageA(GetDlgItem(main, ui::main_window::按钮2.id), BM_CLICK, 0, 0);
        return WaitFor([] { return FindWindowA(nullptr, kNewConnectionCaption); });
    }
    if (std::strcmp(scene, "about") == 0) {
        SendMessageA(main, WM_COMMAND, static_cast<WPARAM>(ui::TrayMenuItem::关于), 0);
        return WaitFor([main] { return FindAbout(main); });
    }
    return false;
}

// Windows are found only on the finding thread's desktop.
bool JoinDesktop(const char* name) {
    const HDESK desktop = OpenDesktopA(name, 0, FALSE, GENERIC_ALL);
    return desktop && SetThreadDesktop(desktop);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || (argc == 3 && !WaitFor([argv] { return JoinDesktop(argv[2]); }))) return 1;
    const HWND main = WaitFor([] { return FindWindowA(nullptr, kMainCaption); });
    return main && SetScene(main, argv[1]) ? 0 : 1;
}
