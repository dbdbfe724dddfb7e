// Start to ready, side by side: each program named on the command line is started in turn, the
// same way, and timed from CreateProcess until it shows a visible top-level window (Pordex.exe
// shows its Main window once its start-up has finished). Prints "start NAME SECONDS" lines.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kRounds = 10;
constexpr DWORD kTimeoutMs = 30000;

double Seconds() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

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

// Seconds from start to a visible window; negative when it never came.
double TimeStart(const std::string& program) {
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + program + "\"";
    const double start = Seconds();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
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

}  // namespace

int main(int argc, char** argv) {
    for (int round = 0; round < kRounds; ++round) {
        for (int program = 1; program < argc; ++program) {
            const double seconds = TimeStart(argv[program]);
            if (seconds < 0) {
                std::fprintf(stderr, "%s showed no window\n", argv[program]);
                return 1;
            }
            const std::string path(argv[program]);
            std::printf("start %s %.4f\n", path.substr(path.find_last_of("\\/") + 1).c_str(), seconds);
            std::fflush(stdout);
        }
    }
    return 0;
}
