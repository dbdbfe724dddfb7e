#include "tests/support/virtual_desktop.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

#include "tests/support/window_search.h"

namespace virtual_desktop {
namespace {

constexpr const char* kSize = "1024x768";

template <typename Find>
auto WaitFor(Find find, int tries = 100) -> decltype(find()) {
    for (int i = 0; i < tries; ++i, Sleep(50)) {
        if (const auto found = find()) return found;
    }
    return {};
}

void Send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Sleep(50);
}

// Every event carries its position, so that nothing that moves the pointer in between (another
// program's window appearing under it) can send the button elsewhere.
INPUT MouseInput(POINT screen, DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = (screen.x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN);
    input.mi.dy = (screen.y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

INPUT KeyInput(WORD key, WORD scan, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    return input;
}

// The pointer is where it was put, and stays there.
void MoveTo(POINT screen) {
    for (int i = 0; i < 50; ++i, Sleep(20)) {
        SetCursorPos(screen.x, screen.y);
        POINT now{};
        GetCursorPos(&now);
        if (now.x == screen.x && now.y == screen.y) break;
    }
}

HWND FindTopLevel(const char* className) {
    window_search::ClassSearch search{className, nullptr};
    EnumWindows(window_search::MatchVisibleClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

POINT Centre(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Wine's virtual desktops have a task bar with a notification area only when asked for.
void EnableShell(const std::string& name) {
    HKEY key = nullptr;
    const std::string path = "Software\\Wine\\Explorer\\Desktops\\" + name;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr)) return;
    const DWORD on = 1;
    RegSetValueExA(key, "EnableShell", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on);
    RegCloseKey(key);
}

// The program reads the clipboard only when it handles the keys, which a loaded machine may put
// off; the next paste must not replace the clipboard before that. A password box cannot be read
// from another process, so a paste into one is not awaited.
void AwaitPasted(const std::wstring& text) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        GUITHREADINFO info{sizeof(info)};
        if (GetGUIThreadInfo(0, &info) && info.hwndFocus) {
            if (GetWindowLongW(info.hwndFocus, GWL_STYLE) & ES_PASSWORD) return;
            wchar_t current[512] = L"";
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(info.hwndFocus, WM_GETTEXT, std::size(current), reinterpret_cast<LPARAM>(current),
                                SMTO_ABORTIFHUNG, 1000, &ignored);
            if (std::wstring_view(current).find(text) != std::wstring_view::npos) return;
        }
        Sleep(50);
    }
}

}  // namespace

Desktop::Desktop(const std::string& name) : name_(name) {
    EnableShell(name);
    std::string command = "explorer.exe /desktop=" + name + "," + kSize;
    STARTUPINFOA startup{sizeof startup};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &shell_))
        return;
    const HDESK desktop = WaitFor([&name] { return OpenDesktopA(name.c_str(), 0, FALSE, GENERIC_ALL); });
    ready_ = desktop && SetThreadDesktop(desktop) && WaitFor([] { return FindTopLevel("Shell_TrayWnd"); });
}

Desktop::~Desktop() {
    if (!shell_.hProcess) return;
    TerminateProcess(shell_.hProcess, 0);
    CloseHandle(shell_.hThread);
    CloseHandle(shell_.hProcess);
}

bool Desktop::Screenshot(const std::string& path) const {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFOHEADER header{sizeof header, width, height, 1, 24, BI_RGB};
    const DWORD rowBytes = (width * 3 + 3) & ~3u;
    std::vector<char> pixels(rowBytes * height);
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    const int rows = GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
                               DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (rows != height) return false;
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof header;
    const BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(offset + pixels.size()), 0, 0, offset};
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return out.good();
}

void Click(POINT screen, bool rightButton) {
    MoveTo(screen);
    Send({MouseInput(screen, rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN)});
    Send({MouseInput(screen, rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP)});
}

void DoubleClick(POINT screen) {
    MoveTo(screen);
    Send({MouseInput(screen, MOUSEEVENTF_LEFTDOWN), MouseInput(screen, MOUSEEVENTF_LEFTUP),
          MouseInput(screen, MOUSEEVENTF_LEFTDOWN), MouseInput(screen, MOUSEEVENTF_LEFTUP)});
}

void ClickWindow(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    Click(Centre(rect));
}

void PressKey(WORD virtualKey, WORD modifier) {
    std::vector<INPUT> inputs{KeyInput(virtualKey, 0, 0), KeyInput(virtualKey, 0, KEYEVENTF_KEYUP)};
    if (modifier) {
        inputs.insert(inputs.begin(), KeyInput(modifier, 0, 0));
        inputs.push_back(KeyInput(modifier, 0, KEYEVENTF_KEYUP));
    }
    Send(inputs);
}

void PasteText(const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    const HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(copy), text.c_str(), bytes);
    GlobalUnlock(copy);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(copy);
        return;
    }
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, copy);
    CloseClipboard();
    PressKey('V', VK_CONTROL);
    AwaitPasted(text);
}

// The shell lays its icons out from the right end of the notification area; the program's
// is the only one.
std::optional<POINT> TrayIconPoint() {
    const HWND tray = FindTopLevel("Shell_TrayWnd");
    if (!tray) return std::nullopt;
    RECT area{};
    GetWindowRect(tray, &area);
    const int icon = GetSystemMetrics(SM_CXSMICON) + 2;
    return POINT{area.right - icon / 2 - 1, (area.top + area.bottom) / 2};
}

HWND FindPopUpMenu() {
    return FindTopLevel("#32768");
}

}  // namespace virtual_desktop
