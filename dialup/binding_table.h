// Run-time binding of the system functions the program does not import: the dial-up service,
// IP Helper, process and privilege functions, Sleep and GetLocalTime.
#pragma once
#include <windows.h>
#include <cstddef>
#include <string>
#include <string_view>

namespace binding {

struct BindingRow {
    const char* library;   // empty: try the fallback libraries in order
    const char* function;  // "#n" would name ordinal n
    // The program does without it: binding answers null instead of the fatal error.
    bool mayBeAbsent = false;
};

// Rows 0 to 29 are the original table; RasSetCredentialsA, RasGetProjectionInfoA,
// RasConnectionNotificationA, WaitForSingleObject and QueryFullProcessImageNameA were appended
// so that no row moves. Rows 3, 4, 7, 9, 10, 11 and 15 have no caller but keep their places.
// The version rows follow: version.dll is no Known DLL, so an import of it would be looked for
// beside the program first. SetDefaultDllDirectories is missing from Windows 7
// without KB2533623. GetNamedSecurityInfoW reads who may replace the program; the token's user
// names the logon task. The DPI functions of Windows 10 come last.
inline constexpr std::size_t kRowCount = 45;

inline constexpr BindingRow kBindingRows[kRowCount] = {
    {"Kernel32.dll", "Sleep"},
    {"kernel32", "GetLocalTime"},
    {"rasapi32.dll", "RasDialA"},
    {"", "SetLastError"},
    {"kernel32", "RtlMoveMemory"},
    {"rasapi32.dll", "RasGetConnectStatusA"},
    {"RasApi32.dll", "RasEnumConnectionsW"},
    {"ntdll.dll", "RtlMoveMemory"},
    {"IPHlpApi", "GetAdaptersInfo"},
    {"", "RtlMoveMemory"},
    {"IPHlpApi", "GetPerAdapterInfo"},
    {"", "RtlMoveMemory"},
    {"rasapi32.dll", "RasHangUpA"},
    {"RasApi32.dll", "RasGetErrorStringA"},
    {"rasapi32.dll", "RasGetCredentialsA"},
    {"kernel32", "RtlMoveMemory"},
    {"kernel32.dll", "GetCurrentProcessId"},
    {"", "OpenProcess"},
    {"advapi32.dll", "OpenProcessToken"},
    {"advapi32.dll", "LookupPrivilegeValueA"},
    {"advapi32.dll", "AdjustTokenPrivileges"},
    {"kernel32", "CloseHandle"},
    {"", "CreateToolhelp32Snapshot"},
    {"", "Process32Next"},
    {"kernel32.dll", "Module32First"},
    {"Kernel32.dll", "ExpandEnvironmentStringsA"},
    {"Rasapi32.dll", "RasEnumEntriesA"},
    {"rasapi32.dll", "RasDeleteEntryA"},
    {"rasapi32.dll", "RasValidateEntryNameA"},
    {"rasapi32.dll", "RasSetEntryPropertiesA"},
    {"rasapi32.dll", "RasSetCredentialsA"},
    {"rasapi32.dll", "RasGetProjectionInfoA"},
    {"rasapi32.dll", "RasConnectionNotificationA", true},
    {"Kernel32.dll", "WaitForSingleObject"},
    {"kernel32.dll", "QueryFullProcessImageNameA"},
    {"version.dll", "GetFileVersionInfoSizeA"},
    {"version.dll", "GetFileVersionInfoA"},
    {"version.dll", "VerQueryValueA"},
    {"kernel32.dll", "SetDefaultDllDirectories", true},
    {"advapi32.dll", "GetNamedSecurityInfoW"},
    {"advapi32.dll", "GetTokenInformation"},
    {"advapi32.dll", "ConvertSidToStringSidW"},
    {"user32.dll", "GetDpiForWindow", true},
    {"user32.dll", "SystemParametersInfoForDpi", true},
    {"user32.dll", "AdjustWindowRectExForDpi", true},
};

inline constexpr const char* kFallbackLibraries[] = {
    "Kernel32.dll", "Gdi32.dll", "User32.dll", "Advapi32.dll", "Mpr.dll", "Shell32.dll",
};

// How libraries are loaded, looked up and released. The default loads from the system
// directory only: the program runs elevated, and a DLL planted beside it must not be loaded.
struct ModuleLoader {
    HMODULE (*load)(const char* library);
    void* (*find)(HMODULE module, const char* function);
    void (*release)(HMODULE module);
};
extern const ModuleLoader kSystemLoader;

// Loads `library` from the system directory. Where LoadLibraryExA refuses the search flag
// (Windows 7 without the update that added it), the library is loaded by its full path there.
using LoadLibraryExFunction = HMODULE(WINAPI*)(LPCSTR file, HANDLE reserved, DWORD flags);
HMODULE LoadSystemLibrary(const char* library, LoadLibraryExFunction loadLibraryEx = LoadLibraryExA);

// The address of row `index`, bound on first use. Does not return when binding fails, except
// for a row that may be absent, which answers null.
void* BindSystemFunction(std::size_t index);

// Binds one row that is not part of the table; the same procedure and the same failure.
void* BindRow(const BindingRow& row, HMODULE& module, const ModuleLoader& loader = kSystemLoader);

// Shows "运行时出错!" with the code and message, then ends the process with 0xFFFFFFFF.
[[noreturn]] void FatalRuntimeError(DWORD code, std::string_view message);

// The box text of FatalRuntimeError; code 0 and an empty message leave their lines out.
std::string FormatFatalText(DWORD code, std::string_view message);

// Test seams: put an address into a row (null unbinds it) and swap the loader.
void SubstituteRow(std::size_t index, void* address);
void SetModuleLoader(const ModuleLoader& loader);

}  // namespace binding
