// Start to ready, side by side: each program named on the command line is started in turn, the
// same way, and timed from CreateProcess until it shows a visible top-level window (Pordex.exe
// shows its Main window once its start-up has finished). The rounds run twice: as the prefix
// is, then with 100 idle processes of the helper beside them. Prints "start NAME SECONDS" and
// "start_100 NAME SECONDS" lines.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace {

constexpr int kRounds = 10;
constexpr DWORD kTimeoutMs = 30000;
constexpr int kIdleProcesses = 100;
constexpr DWORD kIdleTimeoutMs = 5000;
constexpr char kIdleReady[] = "PordexBenchIdleReady";

double Seconds() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct CloseKernelHandle {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using OwnedHandle = std::unique_ptr<void, CloseKernelHandle>;

struct EndProcess {
    void operator()(HANDLE process) const {
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
};
using IdleProcess = std::unique_ptr<void, EndProcess>;

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchVisible(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window) || GetWindow(window, GW_OWNER))
        return TRUE;
    search->found = window;
    return FALSE;
}

bool Launch(const std::string& program, PROCESS_INFORMATION& process) {
    STARTUPINFOA startup = {sizeof startup};
    std::string commandLine = "\"" + program + "\"";
    return CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
}

// Seconds from start to a visible window; negative when it never came.
double TimeStart(const std::string& program) {
    PROCESS_INFORMATION process = {};
    const double start = Seconds();
    if (!Launch(program, process))
        return -1;
    Search search = {process.dwProcessId, nullptr};
    double ready = -1;
    while (Seconds() - start < kTimeoutMs / 1000.0) {
        EnumWindows(MatchVisible, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            ready = Seconds() - start;
            break;
        }
        Sleep(1);
    }
    if (search.found)
        PostMessageA(search.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 5000) == WAIT_TIMEOUT)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ready;
}

// Every program in turn, kRounds times; false when one showed no window.
bool TimeRounds(const char* label, std::span<char*> programs) {
    for (int round = 0; round < kRounds; ++round) {
        for (const std::string path : programs) {
            const double seconds = TimeStart(path);
            if (seconds < 0) {
                std::fprintf(stderr, "%s showed no window\n", path.c_str());
                return false;
            }
            std::printf("%s %s %.4f\n", label, path.substr(path.find_last_of("\\/") + 1).c_str(), seconds);
            std::fflush(stdout);
        }
    }
    return true;
}

// kIdleProcesses copies of the helper, each up and idle, ended when the list goes. Under Wine a
// copy now and then never comes up: it is ended and another started, within a bounded number of
// attempts.
std::vector<IdleProcess> StartIdleProcesses(const std::string& helper) {
    std::vector<IdleProcess> idle;
    const OwnedHandle ready(CreateSemaphoreA(nullptr, 0, kIdleProcesses, kIdleReady));
    for (int attempt = 1; ready && idle.size() < kIdleProcesses && attempt <= 2 * kIdleProcesses; ++attempt) {
        PROCESS_INFORMATION process = {};
        if (!Launch(helper, process)) {
            std::fprintf(stderr, "idle process not started: error %lu\n", GetLastError());
            break;
        }
        CloseHandle(process.hThread);
        idle.emplace_back(process.hProcess);
        if (WaitForSingleObject(ready.get(), kIdleTimeoutMs) != WAIT_OBJECT_0) {
            std::fprintf(stderr, "an idle process did not come up; another is started\n");
            idle.pop_back();
        }
    }
    return idle;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: start_bench IDLE-HELPER PROGRAM...\n");
        return 2;
    }
    const std::span<char*> programs(argv + 2, argc - 2);
    if (!TimeRounds("start", programs))
        return 1;
    const std::vector<IdleProcess> idle = StartIdleProcesses(argv[1]);
    if (idle.size() != kIdleProcesses) {
        std::fprintf(stderr, "only %zu idle processes came up\n", idle.size());
        return 1;
    }
    return TimeRounds("start_100", programs) ? 0 : 1;
}
