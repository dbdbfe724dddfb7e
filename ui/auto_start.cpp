#include "ui/auto_start.h"

#include <shlobj.h>
#include <shobjidl.h>

#include "core/owners.h"
#include "core/program_path.h"
#include "core/replace_rights.h"
#include "core/text_encoding.h"
#include "ui/gui.h"
#include "ui/logon_task.h"

namespace {

using ui::main_window::选择框3;

std::string SpecialFolder(int folder) {
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, folder, FALSE))
        return {};
    std::string text(path);
    return text.ends_with('\\') ? text : text + '\\';
}

ComPointer<IShellLinkA> NewShellLink() {
    return Obtain<IShellLinkA>([](IShellLinkA** link) {
        return CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(link));
    });
}

ComPointer<IPersistFile> FileOf(IShellLinkA& link) {
    return Obtain<IPersistFile>(
        [&](IPersistFile** file) { return link.QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file)); });
}

// A shell link to the program, shown normally; the save's outcome is judged by the file.
void SaveShortcut(const std::string& linkPath) {
    ComScope com;
    const ComPointer<IShellLinkA> link = NewShellLink();
    if (!link)
        return;
    link->SetPath(ProgramPath().c_str());
    link->SetShowCmd(SW_SHOW);
    if (const ComPointer<IPersistFile> file = FileOf(*link))
        file->Save(WideText(linkPath).c_str(), TRUE);
}

// Whether the shortcut at `linkPath` starts this program; a file that is no shortcut does not.
bool StartsThisProgram(const std::string& linkPath) {
    ComScope com;
    const ComPointer<IShellLinkA> link = NewShellLink();
    const ComPointer<IPersistFile> file = link ? FileOf(*link) : nullptr;
    char target[MAX_PATH] = {};
    if (!file || FAILED(file->Load(WideText(linkPath).c_str(), STGM_READ)) ||
        FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)))
        return false;
    const std::wstring own = WideText(ProgramPath());
    const std::wstring linked = WideText(target);
    return CompareStringOrdinal(own.c_str(), -1, linked.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// A rename, or else a copy over any file there; a source left behind after the copy is no
// failure.
bool MoveShortcut(const std::string& source, const std::string& target) {
    if (MoveFileA(source.c_str(), target.c_str()))
        return true;
    if (!CopyFileA(source.c_str(), target.c_str(), FALSE))
        return false;
    DeleteFileA(source.c_str());
    return true;
}

// The task replaces a Startup shortcut to this program, which would start it a second time
// where UAC is off; a shortcut to anything else is the user's.
void InstallAutoStart() {
    if (const char* refusal = RunsFromTemporaryFolder()                ? kTemporaryFolderNotice
                              : !ProgramOnlyAdministratorsCanReplace() ? kUnsafeFolderRefusal
                                                                       : nullptr) {
        gui::ShowMessage(ui::WindowKind::Main, refusal);
        gui::SetChecked(选择框3, false);
        return;
    }
    if (!RegisterLogonTask()) {
        gui::ShowMessage(ui::WindowKind::Main, "添加快速启动失败");
        gui::SetChecked(选择框3, false);
        return;
    }
    const std::string folder = StartupFolder();
    if (!folder.empty() && StartsThisProgram(folder + kShortcutName))
        DeleteFileA((folder + kShortcutName).c_str());
}

// Removes the Startup shortcut of earlier versions and the task; the refusal names the first
// that stays, empty when neither does.
std::string RemovalRefusal() {
    const std::string folder = StartupFolder();
    const std::string link = folder + kShortcutName;
    if (!folder.empty())
        DeleteFileA(link.c_str());
    const bool taskRemoved = RemoveLogonTask();
    if (!folder.empty() && PathExists(link))
        return "删除开机启动失败，请到 " + folder + "手动删除Pordex的快捷方式";
    return taskRemoved ? std::string() : std::string("删除开机启动失败，请到 任务计划程序 手动删除Pordex的计划任务");
}

void RemoveAutoStart() {
    const std::string refusal = RemovalRefusal();
    if (refusal.empty())
        return;
    gui::ShowMessage(ui::WindowKind::Main, refusal);
    gui::SetChecked(选择框3, true);
}

}  // namespace

std::string StartupFolder() { return SpecialFolder(CSIDL_STARTUP); }

std::string DesktopFolder() { return SpecialFolder(CSIDL_DESKTOPDIRECTORY); }

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool PlaceShortcut(const std::string& folder) {
    const std::string source = ProgramDirectory() + "\\" + kShortcutName;
    SaveShortcut(source);
    return PathExists(source) && MoveShortcut(source, folder + kShortcutName);
}

// A task that starts this program elevated from a folder others can change hands their files
// the administrator's rights at the next logon: it goes, and the user learns why and how to
// have it back. A shared task of earlier versions is re-registered as this user's, with the
// path in UTF-16 and normal priority. A Startup folder the shell cannot name holds no shortcut.
AutoStartState SettleAutoStart() {
    auto [own, shared] = FindProgramTasks();
    const std::string folder = StartupFolder();
    const bool shortcut = !folder.empty() && PathExists(folder + kShortcutName);
    if ((shared || own) && !ProgramOnlyAdministratorsCanReplace()) {
        RemoveLogonTask(kSharedTaskName);
        RemoveLogonTask();
        return {shortcut, std::string("已取消开机自动启动：") + kUnsafeFolderRefusal};
    }
    if (shared && !RunsFromTemporaryFolder() && RemoveLogonTask(kSharedTaskName))
        own = RegisterLogonTask() || own;
    return {own || shortcut, {}};
}

void OnAutoStartClicked() {
    if (gui::IsChecked(选择框3))
        InstallAutoStart();
    else
        RemoveAutoStart();
}
