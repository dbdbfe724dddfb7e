// The paths start-up works with: the program's own folder in GBK, the module paths the kernel
// reports for other processes, and the description that marks a running copy.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/instance_guard.h"
#include "core/program_path.h"
#include "tests/support/row_substitute.h"

namespace {

// Refuses module snapshots with ERROR_BAD_LENGTH `refusals` times, as while modules load.
struct LoadingProcess {
    static inline int refusals = 0;
    static HANDLE WINAPI Snapshot(DWORD flags, DWORD processId) {
        if (flags != TH32CS_SNAPMODULE || refusals-- <= 0)
            return CreateToolhelp32Snapshot(flags, processId);
        SetLastError(ERROR_BAD_LENGTH);
        return INVALID_HANDLE_VALUE;
    }
};

struct PathCase {
    const char* path;
    const char* directory;
    const char* fileName;
};

// 淺, 禱 and 籠 end in the byte 0x5C, the backslash.
constexpr PathCase kPathCases[] = {
    {"C:\\Tools\\Pordex.exe", "C:\\Tools", "Pordex.exe"},
    {"C:\\宽带淺\\Pordex.exe", "C:\\宽带淺", "Pordex.exe"},
    {"C:\\淺\\禱\\籠.exe", "C:\\淺\\禱", "籠.exe"},
    {"D:\\籠\\", "D:\\籠", ""},
    {"籠淺.exe", "籠淺.exe", "籠淺.exe"},
};

}  // namespace

TEST(ProgramPath, TheLastSeparatorIsNeverTheSecondByteOfACharacter) {
    for (const PathCase& c : kPathCases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(DirectoryOf(c.path), c.directory);
        EXPECT_EQ(FileNameOf(c.path), c.fileName);
    }
}

TEST(ProgramPath, TheProgramDirectoryHoldsTheRunningProgram) {
    EXPECT_EQ(ProgramDirectory() + "\\" + FileNameOf(ProgramPath()), ProgramPath());
    EXPECT_EQ(FileNameOf(ProgramPath()), "unit_tests.exe");
}

TEST(InstanceGuard, ModulePathsAreNormalisedOnce) {
    struct Case {
        const char* reported;
        const char* normalised;
    };
    constexpr Case kCases[] = {
        {"\\SystemRoot\\System32\\smss.exe", "C:\\Windows\\System32\\smss.exe"},
        {"\\systemroot\\System32\\smss.exe", "\\systemroot\\System32\\smss.exe"},
        {"\\??\\C:\\Program Files\\x.exe", "C:\\Program Files\\x.exe"},
        {"\\??\\C:\\a\\??\\b.exe", "C:\\a\\??\\b.exe"},
        {"C:\\Tools\\Pordex.exe", "C:\\Tools\\Pordex.exe"},
        {"", ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.reported);
        EXPECT_EQ(NormaliseImagePath(c.reported, "C:\\Windows"), c.normalised);
    }
}

TEST(InstanceGuard, OnlyTheProgramCarriesTheProductDescription) {
    // The product lies three folders above the unit tests.
    const std::string product = DirectoryOf(DirectoryOf(DirectoryOf(ProgramDirectory()))) + "\\Pordex.exe";
    EXPECT_EQ(ReadFileDescription(product), std::optional<std::string>(kProductDescription));
    EXPECT_EQ(ReadFileDescription(ProgramPath()), std::nullopt);
    EXPECT_EQ(ReadFileDescription(ProgramDirectory() + "\\missing.exe"), std::nullopt);
}

TEST(InstanceGuard, TheOwnProcessIsListedButNeverCountsAsAnotherCopy) {
    const DWORD own = GetCurrentProcessId();
    const std::vector<PROCESSENTRY32> processes = ListProcesses();
    EXPECT_TRUE(std::ranges::any_of(processes, [own](const PROCESSENTRY32& p) { return p.th32ProcessID == own; }));
    EXPECT_TRUE(std::ranges::none_of(processes, [](const PROCESSENTRY32& p) { return p.th32ProcessID == 0; }));
    EXPECT_EQ(GetProcessImagePath(own), ProgramPath());
}

TEST(InstanceGuard, AModuleSnapshotRefusedWhileModulesLoadIsTakenAgainAFewTimes) {
    RowSubstitute<decltype(LoadingProcess::Snapshot)> row(22, LoadingProcess::Snapshot);
    LoadingProcess::refusals = 3;
    EXPECT_EQ(GetProcessImagePath(GetCurrentProcessId()), ProgramPath());
    LoadingProcess::refusals = 1000;
    EXPECT_EQ(GetProcessImagePath(GetCurrentProcessId()), "");
}
