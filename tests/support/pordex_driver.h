// Drives the real Pordex.exe from a test process: a copy of the program in a folder of its own
// (so its kdset.ini is the test's alone), its Main window found by process, and its controls
// read and clicked the way a user would see and use them.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/controls.h"

namespace e2e {

// Polls `done` every 50 ms; true as soon as it holds.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 15000);

// CreateProcessA with the command line in `command`. Wine now and then reports a start as
// ERROR_INTERNAL_ERROR (the new process ended before its initialisation was done, about once in
// 8,000 starts, whatever started before); that one error is met with one more start.
bool StartProcess(std::string command, const char* folder, STARTUPINFOA& startup, PROCESS_INFORMATION& process);

// A message box the program shows, as the user sees it.
struct MessageBoxSeen {
    HWND box;
    std::string caption;
    std::string text;
    bool hasCancel;
    bool hasIcon;
    HWND owner;
};

class PordexRun {
public:
    // Copies Pordex.exe into a new folder in `parent` (the user's profile folder when empty) as
    // `fileName`; `settings` (GBK, may be empty) becomes its kdset.ini; `folderTag` (GBK) is
    // added to the folder's name.
    explicit PordexRun(const std::string& settings = "", const std::string& fileName = "Pordex.exe",
                       const std::string& folderTag = "", const std::string& parent = "");
    ~PordexRun();
    PordexRun(const PordexRun&) = delete;
    PordexRun& operator=(const PordexRun&) = delete;

    // Starts the program, on the named desktop if one is given, and waits until its Main window
    // has finished starting up. Again after the process has ended: the same folder, a new process.
    bool Start(const char* desktop = nullptr);
    // Starts the program without waiting for anything.
    bool Launch(const char* desktop = nullptr);
    // Waits until the launched program's Main window has finished starting up.
    bool AwaitMainWindow();
    // Waits for the process to end by itself.
    bool WaitForExit(DWORD timeoutMs, DWORD& exitCode) const;
    // Chooses an item of the tray menu, as a click on it would.
    void Choose(ui::TrayMenuItem item) const;
    // Asks the Main window to close; true when the process ended within `timeoutMs`.
    bool CloseAndWait(DWORD timeoutMs, DWORD& exitCode);

    HWND MainWindow() const { return main_; }
    // One of the program's windows, null while it is not open.
    HWND Window(ui::WindowKind window) const;
    HWND Control(ui::ControlId control) const;
    void SetText(ui::ControlId control, const std::string& text) const;
    // 组合框1's items, and choosing one as the user would.
    std::vector<std::string> Items(ui::ControlId comboBox) const;
    void ChooseItem(ui::ControlId comboBox, int index) const;
    // Clicks without waiting for the click's handler, which may show a message box.
    void Press(ui::ControlId control) const;
    // The next message box of the program; nothing when none appeared within `timeoutMs`.
    std::optional<MessageBoxSeen> WaitForMessageBox(DWORD timeoutMs = 10000) const;
    // Presses IDOK or IDCANCEL and waits until the box is gone.
    void Answer(const MessageBoxSeen& box, int button) const;
    std::string Text(ui::ControlId control) const;
    bool IsChecked(ui::ControlId control) const;
    bool IsEnabled(ui::ControlId control) const;
    void Click(ui::ControlId control) const;
    std::string StatusPane(int pane) const;
    std::vector<std::string> LogLines() const;
    // The log lines' messages, without their time.
    std::vector<std::string> LogMessages() const;
    RECT WindowRect() const;
    // Whether the notification area holds the Main window's icon.
    bool HasTrayIcon() const;

    std::string Folder() const { return folder_; }
    std::string ProgramPath() const;
    // kdset.ini as bytes, empty when it does not exist.
    std::string SettingsFile() const;
    bool SettingsFileExists() const;

private:
    std::string fileName_;
    std::string folder_;
    PROCESS_INFORMATION process_ = {};
    HWND main_ = nullptr;
};

}  // namespace e2e
