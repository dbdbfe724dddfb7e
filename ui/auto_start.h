// The shortcut "Pordex.lnk" that starts the program with Windows (Startup folder), and the
// one start-up puts on the desktop.
#pragma once
#include <string>

inline constexpr const char* kShortcutName = "Pordex.lnk";

// The shell's folders, each ending in a backslash; empty when the shell does not know them.
std::string StartupFolder();
std::string DesktopFolder();

// Whether `path` names an existing file or directory.
bool PathExists(const std::string& path);

// Saves a shell link to the program as "Pordex.lnk" in the program directory and moves it
// into `folder` (ending in a backslash); true when it arrived there.
bool PlaceShortcut(const std::string& folder);

// 选择框3 ("开机自动启动") clicked: installs or removes the Startup shortcut.
void OnAutoStartClicked();
