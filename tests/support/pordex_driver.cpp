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

std::string NewFolder() {
    static std::atomic<int> counter{0};
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "pordex-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(counter++);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM search) {
    auto* wanted = reinterpret_cast<WindowSearch*>(search);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char caption[64] = {};
    GetWindowTextA(window, caption, sizeof caption);
    if (owner != wanted->processId || std::string(caption) != kMainCaption)
        return TRUE;
    wanted->found = window;
    return FALSE;
}

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

PordexRun::PordexRun(const std::string& settings) : folder_(NewFolder()) {
    CopyFileA(BuiltProgram().c_str(), (folder_ + "\\Pordex.exe").c_str(), FALSE);
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
    for (const char* file : {"\\Pordex.exe", "\\kdset.ini"})
        DeleteFileA((folder_ + file).c_str());
    RemoveDirectoryA(folder_.c_str());
}

bool PordexRun::Start() {
    std::string command = "\"" + folder_ + "\\Pordex.exe\"";
    STARTUPINFOA startup = {sizeof startup};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &startup,
                        &process_))
        return false;
    WaitForInputIdle(process_.hProcess, kStartTimeoutMs);
    // The Main window is shown once its start-up has run to its end.
    for (DWORD waited = 0; waited < kStartTimeoutMs; waited += 50) {
        WindowSearch search = {process_.dwProcessId, nullptr};
        EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found && IsWindowVisible(search.found)) {
            main_ = search.found;
            return true;
        }
        Sleep(50);
    }
    return false;
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
    EnumChildWindows(main_, MatchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string PordexRun::Text(ui::ControlId control) const {
    wchar_t text[1024] = {};
    SendMessageW(Control(control), WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    return FromWide(text);
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
        messages.push_back(line.substr(line.find('\t') + 1));
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
