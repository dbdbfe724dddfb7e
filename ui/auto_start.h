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

// Checking "开机自动启动" where others can replace the program is refused with this.
inline constexpr const char* kUnsafeFolderRefusal =
    "程序所在的文件夹普通用户也能修改，开机自动启动会让它以管理员身份运行，不安全。"
    "请用安装程序安装 Pordex，或把它放到 C:\\Program Files 下，再勾选开机自动启动。";

// A program run from the temporary folder asks for a fixed one instead.
inline constexpr const char* kTemporaryFolderNotice = "请先把 Pordex 解压到一个固定的文件夹，再从那里运行";

// Whether the program starts at logon, and what start-up has to tell about it.
struct AutoStartState {
    bool installed = false;
    std::string notice;  // empty: nothing to tell
};

// Start-up's look at the auto-start: this user's task, or a Startup shortcut of any target. A
// task of this program whose folder others can replace is removed and the notice says why; the
// shared task of earlier versions gives way to this user's.
AutoStartState SettleAutoStart();

// 选择框3 ("开机自动启动") clicked: registers the task, or removes it and the Startup shortcut.
void OnAutoStartClicked();
