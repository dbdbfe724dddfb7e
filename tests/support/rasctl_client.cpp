#include "tests/support/rasctl_client.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

namespace rasctl_client {
namespace {

class Handle {
public:
    explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
    ~Handle() { reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }
    HANDLE* out() { return &handle_; }
    void reset() {
        if (handle_) CloseHandle(handle_);
        handle_ = nullptr;
    }

private:
    HANDLE handle_;
};

}  // namespace

ControlRun RunProgram(const std::string& commandLine) {
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    Handle readEnd, writeEnd;
    if (!CreatePipe(readEnd.out(), writeEnd.out(), &inheritable, 0)) return {~0UL, "CreatePipe failed"};
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    PROCESS_INFORMATION info{};
    // Under a heavily loaded Wine a process start is now and then refused; that is not what
    // any test here is about, so it is tried a few times.
    bool started = false;
    DWORD error = 0;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        std::string mutableLine = commandLine;
        started = CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                 &info);
        if (!started) {
            error = GetLastError();
            Sleep(500);
        }
    }
    if (!started)
        return {~0UL, "cannot start " + commandLine + ": error " + std::to_string(error)};
    Handle process(info.hProcess), thread(info.hThread);
    writeEnd.reset();  // else the pipe never reports its end

    ControlRun run{0, ""};
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readEnd.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) run.output.append(buffer, read);
    WaitForSingleObject(process.get(), INFINITE);
    GetExitCodeProcess(process.get(), &run.exitCode);
    return run;
}

ControlRun Rasctl(const std::string& arguments) {
    return RunProgram("rasctl.exe " + arguments);
}

std::string RasctlOk(const std::string& arguments) {
    const ControlRun run = Rasctl(arguments);
    EXPECT_EQ(run.exitCode, 0u) << "rasctl " << arguments << "\n" << run.output;
    return run.output;
}

HRASCONN UpFromControl(const std::string& arguments) {
    const std::string output = RasctlOk("up " + arguments);
    unsigned long handle = 0;
    EXPECT_EQ(std::sscanf(output.c_str(), "handle=0x%lx", &handle), 1) << output;
    return reinterpret_cast<HRASCONN>(static_cast<UINT_PTR>(handle));
}

std::vector<std::string> StateLines(const std::string& kind) {
    std::istringstream stream(RasctlOk("state"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind(kind + " ", 0) == 0) lines.push_back(line);
    }
    return lines;
}

}  // namespace rasctl_client
