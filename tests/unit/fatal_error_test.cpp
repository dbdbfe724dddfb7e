// A row that cannot be bound shows the fatal box and ends the process with 0xFFFFFFFF.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/settings.h"

namespace {

struct Outcome {
    std::string boxText;
    DWORD exitCode = 0;
};

std::string ProbePath() {
    return ProgramDirectory() + "\\fatal_probe.exe";
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

Outcome RunProbe(const std::string& library, const std::string& function, bool mayBeAbsent) {
    std::string command;
    for (const std::string& argument : {ProbePath(), library, function})
        command.append("\"").append(argument).append("\" ");
    if (mayBeAbsent)
        command.append("may-be-absent");
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

struct ProbeCase {
    const char* name;
    const char* library;
    const char* function;
    const char* boxText;
    DWORD exitCode;
    bool mayBeAbsent = false;
};

void PrintTo(const ProbeCase& probe, std::ostream* out) {
    *out << probe.name;
}

class FatalProbe : public testing::TestWithParam<ProbeCase> {};

TEST_P(FatalProbe, ShowsTheBoxAndEndsTheProcessOnlyWhenARowCannotBeBound) {
    const ProbeCase& probe = GetParam();
    Outcome outcome = RunProbe(probe.library, probe.function, probe.mayBeAbsent);
    EXPECT_EQ(outcome.boxText, probe.boxText);
    EXPECT_EQ(outcome.exitCode, probe.exitCode);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FatalProbe,
    testing::Values(
        ProbeCase{"MissingExportOfANamedLibrary", "IPHlpApi", "GetAdaptersInfoX",
                  "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“IPHlpApi”中的输出命令“GetAdaptersInfoX”\r\n",
                  0xFFFFFFFF},
        ProbeCase{"MissingLibrary", "NoSuchHelper", "GetAdaptersInfo",
                  "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“NoSuchHelper”中的输出命令“GetAdaptersInfo”\r\n",
                  0xFFFFFFFF},
        ProbeCase{"FunctionInNoFallbackLibrary", "", "NoSuchExport",
                  "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件中的输出命令“NoSuchExport”\r\n", 0xFFFFFFFF},
        ProbeCase{"BindableRow", "kernel32", "Sleep", "", 0},
        ProbeCase{"AbsentRowThatMayBeAbsentIsNoError", "rasapi32.dll", "RasNoSuchNotificationA", "", 3, true}),
    [](const testing::TestParamInfo<ProbeCase>& info) { return std::string(info.param.name); });
