// Drives the real Pordex.exe from a test process: a copy of the program in a folder of its own
// (so its kdset.ini is the test's alone), its Main window found by process, and its controls
// read and clicked the way a user would see and use them.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ui/controls.h"

namespace e2e {

class PordexRun {
public:
    // Copies Pordex.exe into a new folder; `settings` (GBK, may be empty) becomes its kdset.ini.
    explicit PordexRun(const std::string& settings = "");
    ~PordexRun();
    PordexRun(const PordexRun&) = delete;
    PordexRun& operator=(const PordexRun&) = delete;

    // Starts the program and waits until its Main window has finished starting up.
    bool Start();
    // Chooses an item of the tray menu, as a click on it would.
    void Choose(ui::TrayMenuItem item) const;
    // Asks the Main window to close; true when the process ended within `timeoutMs`.
    bool CloseAndWait(DWORD timeoutMs, DWORD& exitCode);

    HWND MainWindow() const { return main_; }
    HWND Control(ui::ControlId control) const;
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
    // kdset.ini as bytes, empty when it does not exist.
    std::string SettingsFile() const;
    bool SettingsFileExists() const;

private:
    std::string folder_;
    PROCESS_INFORMATION process_ = {};
    HWND main_ = nullptr;
};

}  // namespace e2e
