#include "core/instance_guard.h"

#include <cstdio>
#include <cstdlib>

#include "core/owners.h"
#include "core/text_encoding.h"
#include "dialup/record_text.h"
#include "dialup/system_functions.h"

namespace {

using OwnedHandle = UniqueHandle<HANDLE, sys::CloseHandle>;

OwnedHandle OwnSnapshot(HANDLE snapshot) { return OwnedHandle(snapshot == INVALID_HANDLE_VALUE ? nullptr : snapshot); }

constexpr DWORD kSystemProcessId = 4;
constexpr std::string_view kSystemRootPrefix = "\\SystemRoot";
constexpr std::string_view kDevicePrefix = "\\??\\";
constexpr const char* kEnglishTranslation = "040904E4";
constexpr int kModuleSnapshotAttempts = 5;
constexpr DWORD kModuleSnapshotPauseMs = 10;

std::string ExpandedText(const char* text) {
    char expanded[MAX_PATH] = {};
    const DWORD length = sys::ExpandEnvironmentStringsA(text, expanded, MAX_PATH);
    return length == 0 || length > MAX_PATH ? std::string() : std::string(expanded);
}

// A process still loading its modules refuses the snapshot with ERROR_BAD_LENGTH for a moment;
// it is asked again a few times so that such a copy is not missed.
OwnedHandle ModuleSnapshot(DWORD processId) {
    for (int attempt = 1;; ++attempt) {
        const HANDLE snapshot = sys::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
        const bool loading = snapshot == INVALID_HANDLE_VALUE && GetLastError() == ERROR_BAD_LENGTH;
        if (!loading || attempt == kModuleSnapshotAttempts)
            return OwnSnapshot(snapshot);
        sys::Sleep(kModuleSnapshotPauseMs);
    }
}

std::string FirstModulePath(HANDLE snapshot) {
    MODULEENTRY32 module = {};
    module.dwSize = sizeof module;
    if (!sys::Module32First(snapshot, &module))
        return {};
    return TextOf(module.szExePath);
}

// The sub-block of the first language and code page the resource lists.
std::string TranslationName(const void* block) {
    struct Translation {
        WORD language;
        WORD codePage;
    };
    void* value = nullptr;
    UINT size = 0;
    if (!sys::VerQueryValueA(block, "\\VarFileInfo\\Translation", &value, &size) || size < sizeof(Translation))
        return kEnglishTranslation;
    const auto* first = static_cast<const Translation*>(value);
    char name[9] = {};
    std::snprintf(name, sizeof name, "%04X%04X", first->language, first->codePage);
    return name;
}

// One file whatever the letter case of its path: the invariant upper case, as file names compare.
std::wstring FoldedPath(const std::string& path) {
    const std::wstring wide = WideText(path);
    std::wstring folded(wide.size(), L'\0');
    const int length = static_cast<int>(wide.size());
    return LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, wide.data(), length, folded.data(), length) == length
               ? folded
               : wide;
}

}  // namespace

std::vector<PROCESSENTRY32> ListProcesses() {
    std::vector<PROCESSENTRY32> processes;
    const OwnedHandle snapshot = OwnSnapshot(sys::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return processes;
    PROCESSENTRY32 process = {};
    process.dwSize = sizeof process;
    while (sys::Process32Next(snapshot.get(), &process)) {
        if (process.th32ProcessID != 0)
            processes.push_back(process);
    }
    return processes;
}

std::string NormaliseImagePath(std::string_view path, std::string_view systemRoot) {
    if (path.starts_with(kSystemRootPrefix))
        return std::string(systemRoot).append(path.substr(kSystemRootPrefix.size()));
    if (path.size() >= kDevicePrefix.size() &&
        CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path.data(), 4, kDevicePrefix.data(), 4) == CSTR_EQUAL)
        return std::string(path.substr(kDevicePrefix.size()));
    return std::string(path);
}

std::string GetProcessImagePath(DWORD processId) {
    if (processId == kSystemProcessId)
        return ExpandedText("%SystemRoot%\\system32\\");
    const OwnedHandle snapshot = ModuleSnapshot(processId);
    if (!snapshot)
        return {};
    const char* systemRoot = std::getenv("SystemRoot");
    return NormaliseImagePath(FirstModulePath(snapshot.get()), systemRoot ? systemRoot : "");
}

std::string QueryProcessImagePath(DWORD processId) {
    const OwnedHandle process(sys::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process)
        return {};
    char path[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    if (!sys::QueryFullProcessImageNameA(process.get(), 0, path, &length))
        return {};
    return TextOf(path, length);
}

std::string FindProcessImagePath(DWORD processId) {
    std::string path = QueryProcessImagePath(processId);
    return path.empty() ? GetProcessImagePath(processId) : path;
}

std::optional<std::string> ReadFileDescription(const std::string& path) {
    DWORD ignored = 0;
    const DWORD size = sys::GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0)
        return std::nullopt;
    std::vector<char> block(size);
    if (!sys::GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        return std::nullopt;
    const std::string key = "\\StringFileInfo\\" + TranslationName(block.data()) + "\\FileDescription";
    void* value = nullptr;
    UINT length = 0;
    if (!sys::VerQueryValueA(block.data(), key.c_str(), &value, &length) || length == 0)
        return std::string();
    const auto* text = static_cast<const char*>(value);
    return TextOf(text, length);
}

const std::optional<std::string>& DescriptionCache::DescriptionOf(const std::string& path) {
    const auto [known, added] = known_.try_emplace(FoldedPath(path));
    if (added)
        known->second = read_(path);
    return known->second;
}

void EnableDebugPrivilege() {
    const OwnedHandle process(sys::OpenProcess(PROCESS_ALL_ACCESS, FALSE, sys::GetCurrentProcessId()));
    if (!process)
        return;
    HANDLE token = nullptr;
    if (!sys::OpenProcessToken(process.get(), TOKEN_ALL_ACCESS, &token))
        return;
    const OwnedHandle ownedToken(token);
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (sys::LookupPrivilegeValueA(nullptr, "SeDebugPrivilege", &privileges.Privileges[0].Luid))
        sys::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
}

bool FindRunningInstance(DWORD ownProcessId) {
    DescriptionCache descriptions;
    for (const PROCESSENTRY32& process : ListProcesses()) {
        if (process.th32ProcessID == ownProcessId)
            continue;
        const std::string path = FindProcessImagePath(process.th32ProcessID);
        if (!path.empty() && descriptions.DescriptionOf(path) == kProductDescription)
            return true;
    }
    return false;
}
