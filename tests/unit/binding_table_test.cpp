#include "dialup/binding_table.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "core/settings.h"
#include "dialup/system_functions.h"

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

std::string FileNameOf(const std::string& path) {
    return Lower(path.substr(path.find_last_of('\\') + 1));
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

}  // namespace

TEST(BindingTable, EveryRowBindsFromItsLibraryInTheSystemDirectory) {
    for (std::size_t row = 0; row < binding::kRowCount; ++row) {
        SCOPED_TRACE(binding::kBindingRows[row].function);
        void* address = binding::BindSystemFunction(row);
        ASSERT_NE(address, nullptr);
        HMODULE module = binding::BoundModule(row);
        EXPECT_EQ(FileNameOf(ModulePath(module)), ExpectedFile(binding::kBindingRows[row].library));
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
    EXPECT_NE(binding::BoundModule(4), binding::BoundModule(7));
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
    EXPECT_EQ(binding::BoundModule(3), GetModuleHandleA("kernel32.dll"));
}

TEST(BindingTable, ALibraryPlantedBesideTheProgramIsNotLoaded) {
    const std::string planted = ProgramDirectory() + "\\rasapi32.dll";
    ASSERT_TRUE(PathFileExistsA(planted.c_str())) << planted;

    binding::BindSystemFunction(13);
    std::string bound = Lower(ModulePath(binding::BoundModule(13)));
    EXPECT_NE(bound, Lower(planted));
    EXPECT_EQ(bound, SystemDirectory() + "\\rasapi32.dll");
    EXPECT_EQ(GetModuleHandleA(planted.c_str()), nullptr);
}

TEST(FatalRuntimeError, TextLeavesOutAZeroCodeAndAnEmptyMessage) {
    EXPECT_EQ(binding::FormatFatalText(0, "坏了"), "运行时出错!\r\n\r\n错误信息：坏了\r\n");
    EXPECT_EQ(binding::FormatFatalText(87, "坏了"), "运行时出错!\r\n\r\n错误代码：87\r\n\r\n错误信息：坏了\r\n");
    EXPECT_EQ(binding::FormatFatalText(87, ""), "运行时出错!\r\n\r\n错误代码：87\r\n\r\n");
}
