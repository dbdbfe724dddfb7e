// Keeps the test run's virtual desktop open from the first test to the last. Wine starts the
// desktop's shell from the first program that needs it, and the shell inherits that program's
// standard output: CTest would then wait at that test's end until the desktop closed, that is,
// until every test running beside it had ended. Run once before any test, with no pipes, it
// returns once the desktop is up and leaves a copy of itself on it until the wineserver ends.
#include <windows.h>

#include <string>

int main(int argc, char**) {
    GetDesktopWindow();
    if (argc > 1) Sleep(INFINITE);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string command = std::string("\"") + path + "\" hold";
    STARTUPINFOA startup{sizeof startup};
    PROCESS_INFORMATION holder{};
    if (!CreateProcessA(path, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &holder))
        return 1;
    CloseHandle(holder.hThread);
    CloseHandle(holder.hProcess);
    return 0;
}
