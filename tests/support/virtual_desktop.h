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
// `modifier` (VK_SHIFT, VK_CONTROL), when given, is held down around the key.
void PressKey(WORD virtualKey, WORD modifier = 0);
// Text goes in as a user pastes it: through the clipboard and Ctrl+V.
void PasteText(const std::wstring& text);

// The notification-area icon's centre, when the shell shows an icon.
std::optional<POINT> TrayIconPoint();

// The open pop-up menu, or null.
HWND FindPopUpMenu();

}  // namespace virtual_desktop
