#include "tests/support/pordex_driver.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <atomic>
#include <fstream>
#include <iterator>

namespace e2e {
namespace {

constexpr DWORD kStartTimeoutMs = 15000;
constexpr const char* kMainCaption = "QelvoPordex v2.0.1";

std::string ThisDirectory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    return directory.substr(0, directory.find_last_of('\\'));
}

// The build's Pordex.exe, two folders above the test programs.
std::string BuiltProgram() {
    char path[MAX_PATH] = {};
    PathCanonicalizeA(path, (ThisDirectory() + "\\..\\..\\Pordex.exe").c_str());
    return path;
}

// Not the temporary folder, from which the program asks to be moved first.
std::string NewFolder(const std::string& tag, const std::string& parent) {
    static std::atomic<int> counter{0};
    char profile[MAX_PATH] = {};
    GetEnvironmentVariableA("USERPROFILE", profile, MAX_PATH);
    std::string folder = parent.empty() ? std::string(profile) + "\\" : parent;
    folder.append("pordex-e2e-").append(std::to_string(GetCurrentProcessId())).append("-");
    folder.append(std::to_string(counter++)).append(tag);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

struct WindowSearch {
    DWORD processId;
    const char* className;  // null: any
    const char* caption;    // null: any
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM search) {
    auto* wanted = reinterpret_cast<WindowSearch*>(search);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char caption[64] = {};
    GetWindowTextA(window, caption, sizeof caption);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner != wanted->processId || (wanted->caption && std::string(caption) != wanted->caption) ||
        (wanted->className && std::string(className) != wanted->className) || !IsWindowVisible(window))
        return TRUE;
    wanted->found = window;
    return FALSE;
}

HWND FindProcessWindow(DWORD processId, const char* className, const char* caption) {
    WindowSearch search = {processId, className, caption, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

constexpr const char* kWindowCaptions[] = {kMainCaption, "新连接设置", ""};

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchControl(HWND window, LPARAM search) {
    auto* wanted = reinterpret_cast<ControlSearch*>(search);
    if (GetDlgCtrlID(window) != wanted->id)
        return TRUE;
    wanted->found = window;
    return FALSE;
}

std::string FromWide(const std::wstring& text) {
    int size = WideCharToMultiByte(936, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(936, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::wstring ToWide(const std::string& text) {
    int size = MultiByteToWideChar(936, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(936, 0, text.c_str(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

std::string WindowText(HWND window) {
    wchar_t text[1024] = {};
    SendMessageW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    return FromWide(text);
}

// The static control that shows a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

BOOL CALLBACK MatchShownIcon(HWND control, LPARAM found) {
    char className[16] = {};
    GetClassNameA(control, className, sizeof className);
    if (lstrcmpiA(className, "Static") != 0 || (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) != SS_ICON ||
        !IsWindowVisible(control) || !SendMessageA(control, STM_GETICON, 0, 0))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = control;
    return FALSE;
}

HWND FindIconControl(HWND box) {
    HWND found = nullptr;
    EnumChildWindows(box, MatchShownIcon, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Memory in the program's own address space, for messages that return text through a pointer.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, SIZE_T size)
        : process_(process), size_(size), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteBuffer() { VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }
    std::string ReadText() const {
        std::string bytes(size_, '\0');
        ReadProcessMemory(process_, address_, bytes.data(), size_, nullptr);
        return bytes.substr(0, bytes.find('\0'));
    }

private:
    HANDLE process_;
    SIZE_T size_;
    void* address_;
};

}  // namespace

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        if (done())
            return true;
        Sleep(50);
    }
    return done();
}

bool StartProcess(std::string command, const char* folder, STARTUPINFOA& startup, PROCESS_INFORMATION& process) {
    const auto start = [&] {
        return CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &process);
    };
    return start() || (GetLastError() == ERROR_INTERNAL_ERROR && start());
}

PordexRun::PordexRun(const std::string& settings, const std::string& fileName, const std::string& folderTag,
                     const std::string& parent)
    : fileName_(fileName), folder_(NewFolder(folderTag, parent)) {
    CopyFileA(BuiltProgram().c_str(), ProgramPath().c_str(), FALSE);
    if (!settings.empty())
        WriteFile(folder_ + "\\kdset.ini", settings);
}

PordexRun::~PordexRun() {
    if (process_.hProcess) {
        if (main_)
            PostMessageA(main_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, 5000) == WAIT_TIMEOUT)
            TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    DeleteFileA(ProgramPath().c_str());
    DeleteFileA((folder_ + "\\kdset.ini").c_str());
    RemoveDirectoryA(folder_.c_str());
}

std::string PordexRun::ProgramPath() const {
    std::string path(folder_);
    return path.append("\\").append(fileName_);
}

bool PordexRun::Launch(const char* desktop) {
    if (process_.hProcess) {
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
        process_ = {};
    }
    std::string command(1, '"');
    command.append(ProgramPath()).append(1, '"');
    std::string desktopName = desktop ? desktop : "";
    STARTUPINFOA startup = {sizeof startup};
    startup.lpDesktop = desktop ? desktopName.data() : nullptr;
    return StartProcess(command, folder_.c_str(), startup, process_);
}

bool PordexRun::Start(const char* desktop) {
    return Launch(desktop) && AwaitMainWindow();
}

bool PordexRun::AwaitMainWindow() {
    WaitForInputIdle(process_.hProcess, kStartTimeoutMs);
    // The Main window is shown once its start-up has run to its end.
    for (DWORD waited = 0; waited < kStartTimeoutMs; waited += 50) {
        if ((main_ = FindProcessWindow(process_.dwProcessId, nullptr, kMainCaption)))
            return true;
        Sleep(50);
    }
    return false;
}

bool PordexRun::WaitForExit(DWORD timeoutMs, DWORD& exitCode) const {
    return WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0 &&
           GetExitCodeProcess(process_.hProcess, &exitCode) != FALSE;
}

HWND PordexRun::Window(ui::WindowKind window) const {
    if (window == ui::WindowKind::Main)
        return main_;
    return FindProcessWindow(process_.dwProcessId, nullptr, kWindowCaptions[static_cast<int>(window)]);
}

void PordexRun::Choose(ui::TrayMenuItem item) const {
    PostMessageA(main_, WM_COMMAND, static_cast<WPARAM>(item), 0);
}

bool PordexRun::CloseAndWait(DWORD timeoutMs, DWORD& exitCode) {
    PostMessageA(main_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    main_ = nullptr;
    return GetExitCodeProcess(process_.hProcess, &exitCode) != FALSE;
}

HWND PordexRun::Control(ui::ControlId control) const {
    ControlSearch search = {control.id, nullptr};
    EnumChildWindows(Window(control.window), MatchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void PordexRun::SetText(ui::ControlId control, const std::string& text) const {
    SendMessageW(Control(control), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ToWide(text).c_str()));
}

std::vector<std::string> PordexRun::Items(ui::ControlId comboBox) const {
    const HWND combo = Control(comboBox);
    std::vector<std::string> items;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        std::wstring item(SendMessageW(combo, CB_GETLBTEXTLEN, index, 0) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item.data()));
        items.push_back(FromWide(item.c_str()));
    }
    return items;
}

void PordexRun::ChooseItem(ui::ControlId comboBox, int index) const {
    const HWND combo = Control(comboBox);
    SendMessageW(combo, CB_SETCURSEL, index, 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(comboBox.id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void PordexRun::Press(ui::ControlId control) const {
    PostMessageA(Control(control), BM_CLICK, 0, 0);
}

std::optional<MessageBoxSeen> PordexRun::WaitForMessageBox(DWORD timeoutMs) const {
    for (DWORD waited = 0; waited <= timeoutMs; waited += 50) {
        if (const HWND box = FindProcessWindow(process_.dwProcessId, "#32770", nullptr)) {
            // The text is the static control the box lays out for it.
            const HWND icon = FindIconControl(box);
            return MessageBoxSeen{box, WindowText(box), WindowText(GetDlgItem(box, kMessageBoxTextId)),
                                  GetDlgItem(box, IDCANCEL) != nullptr, icon != nullptr,
                                  GetWindow(box, GW_OWNER)};
        }
        Sleep(50);
    }
    return std::nullopt;
}

void PordexRun::Answer(const MessageBoxSeen& box, int button) const {
    PostMessageA(box.box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    for (DWORD waited = 0; waited < 5000 && IsWindow(box.box); waited += 20)
        Sleep(20);
}

std::string PordexRun::Text(ui::ControlId control) const {
    return WindowText(Control(control));
}

bool PordexRun::IsChecked(ui::ControlId control) const {
    return SendMessageA(Control(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool PordexRun::IsEnabled(ui::ControlId control) const {
    return IsWindowEnabled(Control(control)) != FALSE;
}

void PordexRun::Click(ui::ControlId control) const {
    SendMessageA(Control(control), BM_CLICK, 0, 0);
}

std::string PordexRun::StatusPane(int pane) const {
    RemoteBuffer buffer(process_.hProcess, 1024);
    SendMessageA(Control(ui::main_window::状态条1), SB_GETTEXTA, pane, buffer.Address());
    return buffer.ReadText();
}

std::vector<std::string> PordexRun::LogLines() const {
    HWND list = Control(ui::main_window::列表框1);
    std::vector<std::string> lines;
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        std::wstring line(SendMessageW(list, LB_GETTEXTLEN, index, 0) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(line.data()));
        lines.push_back(FromWide(line.c_str()));
    }
    return lines;
}

std::vector<std::string> PordexRun::LogMessages() const {
    std::vector<std::string> messages;
    for (const std::string& line : LogLines())
        if (const auto tab = line.find('\t'); tab != std::string::npos)  // not a date line
            messages.push_back(line.substr(tab + 1));
    return messages;
}

RECT PordexRun::WindowRect() const {
    RECT rect = {};
    GetWindowRect(main_, &rect);
    return rect;
}

bool PordexRun::HasTrayIcon() const {
    // Only an icon the shell holds can be modified; modifying nothing leaves it as it is.
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = main_;
    data.uID = 100;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

std::string PordexRun::SettingsFile() const {
    std::ifstream file(folder_ + "\\kdset.ini", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

bool PordexRun::SettingsFileExists() const {
    return PathFileExistsA((folder_ + "\\kdset.ini").c_str()) != FALSE;
}

}  // namespace e2e
