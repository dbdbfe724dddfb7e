// A Wine virtual desktop of a test's own, with the shell's task bar and notification area, on
// which the test clicks and types as a user would and takes screenshots. The calling thread
// joins the desktop, so it must not have created any window before.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace virtual_desktop {

class Desktop {
public:
    explicit Desktop(const std::string& name);
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // The shell runs and this thread is on the desktop.
    bool Ready() const { return ready_; }
    const std::string& Name() const { return name_; }
    // Writes what the screen shows as a BMP file.
    bool Screenshot(const std::string& path) const;

private:
    std::string name_;
    PROCESS_INFORMATION shell_{};
    bool ready_ = false;
};

// Real mouse and keyboard input on the desktop.
void Click(POINT screen, bool rightButton = false);
void DoubleClick(POINT screen);
void ClickWindow(HWND window);  // at its centre
void PressKey(WORD virtualKey);
void TypeText(const std::wstring& text);

// The notification-area icon's centre, when the shell shows an icon.
std::optional<POINT> TrayIconPoint();

// The visible message box on the desktop, or null; its text; and a click on one of its buttons.
HWND FindMessageBox();
std::string MessageBoxText(HWND box);
void ClickButton(HWND box, int buttonId);

// The open pop-up menu, or null; and a click on its item with that command id.
HWND FindPopUpMenu();
bool IsMenuItemEnabled(HWND menuWindow, UINT command);
bool ClickMenuItem(HWND menuWindow, UINT command);

// A window's text as GBK, read in UTF-16 so that it crosses process boundaries intact.
std::string WindowText(HWND window);

}  // namespace virtual_desktop
