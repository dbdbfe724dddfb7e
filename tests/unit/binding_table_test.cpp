#include "dialup/binding_table.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "core/settings.h"
#include "dialup/system_functions.h"
#include "tests/support/file_name.h"

namespace {

std::string ModulePath(HMODULE module) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    return path;
}

std::string Lower(std::string text) {
    CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::string SystemDirectory() {
    char path[MAX_PATH] = {};
    GetSystemDirectoryA(path, MAX_PATH);
    return Lower(path);
}

// The file a stored library name stands for: the search adds ".dll" to a bare name.
std::string ExpectedFile(const char* library) {
    std::string file = Lower(library[0] ? library : "kernel32.dll");
    return file.find('.') == std::string::npos ? file + ".dll" : file;
}

// A loader that records what it is asked and passes everything on to the real one.
struct LoaderLog {
    static inline std::vector<std::string> loaded;
    static inline std::vector<HMODULE> released;
    static HMODULE Load(const char* library) {
        loaded.emplace_back(library);
        return binding::kSystemLoader.load(library);
    }
    static void Release(HMODULE module) {
        released.push_back(module);
        binding::kSystemLoader.release(module);
    }
    static binding::ModuleLoader Loader() { return {Load, binding::kSystemLoader.find, Release}; }
    LoaderLog() { loaded.clear(); released.clear(); }
};

// The rows as the program has always numbered them, written out independently of its table;
// rows 30 to 41 were appended later. Only the connection notification and SetDefaultDllDirectories
// may be absent.
struct ExpectedRow {
    const char* library;
    const char* function;
    bool mayBeAbsent = false;
};
constexpr ExpectedRow kExpectedRows[] = {
    {"Kernel32.dll", "Sleep"},                   {"kernel32", "GetLocalTime"},
    {"rasapi32.dll", "RasDialA"},                {"", "SetLastError"},
    {"kernel32", "RtlMoveMemory"},               {"rasapi32.dll", "RasGetConnectStatusA"},
    {"RasApi32.dll", "RasEnumConnectionsW"},     {"ntdll.dll", "RtlMoveMemory"},
    {"IPHlpApi", "GetAdaptersInfo"},             {"", "RtlMoveMemory"},
    {"IPHlpApi", "GetPerAdapterInfo"},           {"", "RtlMoveMemory"},
    {"rasapi32.dll", "RasHangUpA"},              {"RasApi32.dll", "RasGetErrorStringA"},
    {"rasapi32.dll", "RasGetCredentialsA"},      {"kernel32", "RtlMoveMemory"},
    {"kernel32.dll", "GetCurrentProcessId"},     {"", "OpenProcess"},
    {"advapi32.dll", "OpenProcessToken"},        {"advapi32.dll", "LookupPrivilegeValueA"},
    {"advapi32.dll", "AdjustTokenPrivileges"},   {"kernel32", "CloseHandle"},
    {"", "CreateToolhelp32Snapshot"},            {"", "Process32Next"},
    {"kernel32.dll", "Module32First"},           {"Kernel32.dll", "ExpandEnvironmentStringsA"},
    {"Rasapi32.dll", "RasEnumEntriesA"},         {"rasapi32.dll", "RasDeleteEntryA"},
    {"rasapi32.dll", "RasValidateEntryNameA"},   {"rasapi32.dll", "RasSetEntryPropertiesA"},
    {"rasapi32.dll", "RasSetCredentialsA"},     {"rasapi32.dll", "RasGetProjectionInfoA"},
    {"rasapi32.dll", "RasConnectionNotificationA", true}, {"Kernel32.dll", "WaitForSingleObject"},
    {"kernel32.dll", "QueryFullProcessImageNameA"}, {"version.dll", "GetFileVersionInfoSizeA"},
    {"version.dll", "GetFileVersionInfoA"},      {"version.dll", "VerQueryValueA"},
    {"kernel32.dll", "SetDefaultDllDirectories", true}, {"advapi32.dll", "GetNamedSecurityInfoW"},
    {"advapi32.dll", "GetTokenInformation"},     {"advapi32.dll", "ConvertSidToStringSidW"},
    {"user32.dll", "GetDpiForWindow", true},
    {"user32.dll", "SystemParametersInfoForDpi", true},
    {"user32.dll", "AdjustWindowRectExForDpi", true},
};

// The module row `index` binds from: the row is bound again through a loader that notes where its
// lookup found the function, then the system loader is put back.
struct FoundIn {
    static inline HMODULE module = nullptr;
    static void* Find(HMODULE candidate, const char* function) {
        void* address = binding::kSystemLoader.find(candidate, function);
        if (address)
            module = candidate;
        return address;
    }
};

HMODULE BoundModule(std::size_t index) {
    FoundIn::module = nullptr;
    binding::SubstituteRow(index, nullptr);
    binding::SetModuleLoader({binding::kSystemLoader.load, FoundIn::Find, binding::kSystemLoader.release});
    binding::BindSystemFunction(index);
    binding::SetModuleLoader(binding::kSystemLoader);
    return FoundIn::module;
}

// LoadLibraryExA as Windows 7 without the search-flag update answers it: the flag is refused,
// anything else goes to the real function. Every call is recorded.
struct OldLoader {
    struct Call {
        std::string file;
        DWORD flags;
    };
    static inline std::vector<Call> calls;
    static inline DWORD refusal = ERROR_INVALID_PARAMETER;
    static HMODULE WINAPI Load(LPCSTR file, HANDLE reserved, DWORD flags) {
        calls.push_back({file, flags});
        if (flags & LOAD_LIBRARY_SEARCH_SYSTEM32) {
            SetLastError(refusal);
            return nullptr;
        }
        return LoadLibraryExA(file, reserved, flags);
    }
};

}  // namespace

TEST(BindingTable, RowsAreTheProgramsNumberedRows) {
    ASSERT_EQ(binding::kRowCount, std::size(kExpectedRows));
    for (std::size_t row = 0; row < binding::kRowCount; ++row) {
        SCOPED_TRACE(row);
        EXPECT_STREQ(binding::kBindingRows[row].library, kExpectedRows[row].library);
        EXPECT_STREQ(binding::kBindingRows[row].function, kExpectedRows[row].function);
        EXPECT_EQ(binding::kBindingRows[row].mayBeAbsent, kExpectedRows[row].mayBeAbsent);
    }
}

TEST(BindingTable, WhereTheSearchFlagIsRefusedLibrariesLoadByFullPathFromTheSystemDirectory) {
    struct Case {
        const char* library;
        const char* file;
    };
    for (const Case& c : {Case{"rasapi32.dll", "rasapi32.dll"}, Case{"IPHlpApi", "iphlpapi.dll"}}) {
        SCOPED_TRACE(c.library);
        OldLoader::calls.clear();
        OldLoader::refusal = ERROR_INVALID_PARAMETER;
        const HMODULE module = binding::LoadSystemLibrary(c.library, OldLoader::Load);
        ASSERT_NE(module, nullptr);
        EXPECT_EQ(Lower(ModulePath(module)), SystemDirectory() + "\\" + c.file);
        ASSERT_EQ(OldLoader::calls.size(), 2u);
        EXPECT_EQ(Lower(OldLoader::calls[1].file), SystemDirectory() + "\\" + c.file);
        EXPECT_EQ(OldLoader::calls[1].flags & LOAD_LIBRARY_SEARCH_SYSTEM32, 0u);
        FreeLibrary(module);
    }
    // The planted copy beside the program stays unloaded on this path too.
    EXPECT_EQ(GetModuleHandleA((ProgramDirectory() + "\\rasapi32.dll").c_str()), nullptr);
}

TEST(BindingTable, OnlyARefusedFlagLeadsToTheFullPath) {
    OldLoader::calls.clear();
    OldLoader::refusal = ERROR_MOD_NOT_FOUND;
    EXPECT_EQ(binding::LoadSystemLibrary("rasapi32.dll", OldLoader::Load), nullptr);
    EXPECT_EQ(OldLoader::calls.size(), 1u);

    // Where the flag works it is the only call.
    const HMODULE module = binding::LoadSystemLibrary("rasapi32.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(Lower(ModulePath(module)), SystemDirectory() + "\\rasapi32.dll");
    FreeLibrary(module);
}

TEST(BindingTable, EveryRowBindsFromItsLibraryInTheSystemDirectory) {
    for (std::size_t row = 0; row < binding::kRowCount; ++row) {
        SCOPED_TRACE(binding::kBindingRows[row].function);
        void* address = binding::BindSystemFunction(row);
        ASSERT_NE(address, nullptr);
        HMODULE module = BoundModule(row);
        EXPECT_EQ(Lower(FileNameOf(ModulePath(module))), ExpectedFile(binding::kBindingRows[row].library));
        EXPECT_EQ(Lower(ModulePath(module)).rfind(SystemDirectory(), 0), 0u) << ModulePath(module);
        EXPECT_EQ(binding::BindSystemFunction(row), address);
    }
}

TEST(BindingTable, RtlMoveMemoryRowsFromKernel32AndNtdllBothCopy) {
    using Move = void(WINAPI*)(void*, const void*, SIZE_T);
    for (std::size_t row : {4u, 7u}) {
        char target[6] = {};
        reinterpret_cast<Move>(binding::BindSystemFunction(row))(target, "bytes", 6);
        EXPECT_STREQ(target, "bytes");
    }
    EXPECT_NE(BoundModule(4), BoundModule(7));
}

TEST(BindingTable, ARowIsLookedUpOnlyOnItsFirstCall) {
    LoaderLog log;
    binding::SubstituteRow(0, nullptr);
    binding::SetModuleLoader(LoaderLog::Loader());
    sys::Sleep(0);
    sys::Sleep(0);
    sys::Sleep(0);
    binding::SetModuleLoader(binding::kSystemLoader);
    EXPECT_EQ(LoaderLog::loaded, std::vector<std::string>{"Kernel32.dll"});
}

TEST(BindingTable, EmptyLibraryTriesTheFallbacksInOrderAndKeepsOnlyTheOneThatHasIt) {
    LoaderLog log;
    HMODULE module = nullptr;
    void* address = binding::BindRow({"", "MessageBoxA"}, module, LoaderLog::Loader());
    EXPECT_EQ(address, reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "MessageBoxA")));
    EXPECT_EQ(LoaderLog::loaded, (std::vector<std::string>{"Kernel32.dll", "Gdi32.dll", "User32.dll"}));
    EXPECT_EQ(LoaderLog::released.size(), 2u);
    EXPECT_EQ(module, GetModuleHandleA("user32.dll"));
}

TEST(BindingTable, SetLastErrorFromTheFirstFallbackWorks) {
    using SetError = void(WINAPI*)(DWORD);
    reinterpret_cast<SetError>(binding::BindSystemFunction(3))(1234);
    EXPECT_EQ(GetLastError(), 1234u);
    EXPECT_EQ(BoundModule(3), GetModuleHandleA("kernel32.dll"));
}

TEST(BindingTable, ALibraryPlantedBesideTheProgramIsNotLoaded) {
    const std::string planted = ProgramDirectory() + "\\rasapi32.dll";
    ASSERT_TRUE(PathFileExistsA(planted.c_str())) << planted;

    binding::BindSystemFunction(13);
    std::string bound = Lower(ModulePath(BoundModule(13)));
    EXPECT_NE(bound, Lower(planted));
    EXPECT_EQ(bound, SystemDirectory() + "\\rasapi32.dll");
    EXPECT_EQ(GetModuleHandleA(planted.c_str()), nullptr);
}

TEST(FatalRuntimeError, TextLeavesOutAZeroCodeAndAnEmptyMessage) {
    EXPECT_EQ(binding::FormatFatalText(0, "坏了"), "运行时出错!\r\n\r\n错误信息：坏了\r\n");
    EXPECT_EQ(binding::FormatFatalText(87, "坏了"), "运行时出错!\r\n\r\n错误代码：87\r\n\r\n错误信息：坏了\r\n");
    EXPECT_EQ(binding::FormatFatalText(87, ""), "运行时出错!\r\n\r\n错误代码：87\r\n\r\n");
}
