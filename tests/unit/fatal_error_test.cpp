// A row that cannot be bound shows the fatal box and ends the process with 0xFFFFFFFF.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Outcome {
    std::string boxText;
    DWORD exitCode = 0;
};

std::string ProbePath() {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string path(exe);
    return path.substr(0, path.find_last_of('\\')) + "\\fatal_probe.exe";
}

// The probe's box, or null once the probe has ended without one.
HWND WaitForBox(const PROCESS_INFORMATION& process) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        for (HWND box = FindWindowA("#32770", "错误"); box; box = FindWindowExA(nullptr, box, "#32770", "错误")) {
            DWORD owner = 0;
            GetWindowThreadProcessId(box, &owner);
            if (owner == process.dwProcessId)
                return box;
        }
        if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0)
            return nullptr;
    }
    return nullptr;
}

Outcome RunProbe(const std::string& library, const std::string& function) {
    std::string command;
    for (const std::string& argument : {ProbePath(), library, function})
        command.append("\"").append(argument).append("\" ");
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    Outcome outcome;
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return outcome;
    if (HWND box = WaitForBox(process)) {
        char text[512] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        outcome.boxText = text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    if (WaitForSingleObject(process.hProcess, 10000) == WAIT_TIMEOUT)
        TerminateProcess(process.hProcess, 1);
    GetExitCodeProcess(process.hProcess, &outcome.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return outcome;
}

}  // namespace

TEST(FatalRuntimeError, MissingExportOfANamedLibraryNamesLibraryAndFunction) {
    Outcome outcome = RunProbe("IPHlpApi", "GetAdaptersInfoX");
    EXPECT_EQ(outcome.boxText, "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“IPHlpApi”中的输出命令“GetAdaptersInfoX”\r\n");
    EXPECT_EQ(outcome.exitCode, 0xFFFFFFFFu);
}

TEST(FatalRuntimeError, MissingLibraryNamesLibraryAndFunction) {
    Outcome outcome = RunProbe("NoSuchHelper", "GetAdaptersInfo");
    EXPECT_EQ(outcome.boxText, "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“NoSuchHelper”中的输出命令“GetAdaptersInfo”\r\n");
    EXPECT_EQ(outcome.exitCode, 0xFFFFFFFFu);
}

TEST(FatalRuntimeError, FunctionInNoFallbackLibraryNamesOnlyTheFunction) {
    Outcome outcome = RunProbe("", "NoSuchExport");
    EXPECT_EQ(outcome.boxText, "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件中的输出命令“NoSuchExport”\r\n");
    EXPECT_EQ(outcome.exitCode, 0xFFFFFFFFu);
}

TEST(FatalRuntimeError, ABindableRowReturnsNormally) {
    Outcome outcome = RunProbe("kernel32", "Sleep");
    EXPECT_EQ(outcome.boxText, "");
    EXPECT_EQ(outcome.exitCode, 0u);
}
