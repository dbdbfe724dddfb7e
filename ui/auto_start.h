// Starting the program at logon: the scheduler's task, and the Startup shortcut "Pordex.lnk"
// of earlier versions, which still counts; the desktop shortcut start-up puts back.
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

// Whether the program starts at logon: the task, or a Startup shortcut of any target.
bool AutoStartInstalled();

// 选择框3 ("开机自动启动") clicked: registers the task, or removes it and the Startup shortcut.
void OnAutoStartClicked();
