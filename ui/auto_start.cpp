#include "ui/auto_start.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <memory>

#include "core/program_path.h"
#include "ui/gui.h"

namespace {

using ui::main_window::选择框3;

template <typename Interface>
struct ComRelease {
    void operator()(Interface* object) const { object->Release(); }
};
template <typename Interface>
using ComPointer = std::unique_ptr<Interface, ComRelease<Interface>>;

// COM for the calling thread while this lives; a thread that already has it keeps it.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (initialised_)
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};

std::string SpecialFolder(int folder) {
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, folder, FALSE))
        return {};
    std::string text(path);
    return text.ends_with('\\') ? text : text + '\\';
}

std::wstring WidePath(const std::string& path) {
    const int size = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(size > 0 ? size : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), size);
    return wide;
}

// A shell link to the program, shown normally; the save's outcome is judged by the file.
void SaveShortcut(const std::string& linkPath) {
    ComScope com;
    IShellLinkA* rawLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&rawLink))))
        return;
    const ComPointer<IShellLinkA> link(rawLink);
    link->SetPath(ProgramPath().c_str());
    link->SetShowCmd(SW_SHOW);
    IPersistFile* rawFile = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile))))
        return;
    const ComPointer<IPersistFile> file(rawFile);
    file->Save(WidePath(linkPath).c_str(), TRUE);
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

void InstallAutoStart() {
    const std::string folder = StartupFolder();
    if (!folder.empty() && PathExists(folder + kShortcutName))
        return;
    if (folder.empty() || !PlaceShortcut(folder)) {
        gui::ShowMessage(ui::WindowKind::Main, "添加快速启动失败");
        gui::SetChecked(选择框3, false);
    }
}

void RemoveAutoStart() {
    const std::string folder = StartupFolder();
    const std::string link = folder + kShortcutName;
    if (folder.empty())
        return;
    DeleteFileA(link.c_str());
    if (!PathExists(link))
        return;
    gui::ShowMessage(ui::WindowKind::Main, "删除开机启动失败，请到 " + folder + "手动删除Pordex的快捷方式");
    gui::SetChecked(选择框3, true);
}

}  // namespace

std::string StartupFolder() {
    return SpecialFolder(CSIDL_STARTUP);
}

std::string DesktopFolder() {
    return SpecialFolder(CSIDL_DESKTOPDIRECTORY);
}

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool PlaceShortcut(const std::string& folder) {
    const std::string source = ProgramDirectory() + "\\" + kShortcutName;
    SaveShortcut(source);
    return PathExists(source) && MoveShortcut(source, folder + kShortcutName);
}

// A Startup folder the shell cannot name holds no shortcut and takes none.
void OnAutoStartClicked() {
    if (gui::IsChecked(选择框3))
        InstallAutoStart();
    else
        RemoveAutoStart();
}
