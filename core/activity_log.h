// The Activity log: timestamped lines appended to the Main window's 列表框1 from any thread.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

// The process-wide lock around appending a line and selecting it.
class LogLock {
public:
    LogLock() { InitializeCriticalSection(&section_); }
    ~LogLock() { DeleteCriticalSection(&section_); }
    LogLock(const LogLock&) = delete;
    LogLock& operator=(const LogLock&) = delete;

    void enter() { EnterCriticalSection(&section_); }
    void leave() { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

// "hh:mm:ss mmm" of the current local time.
std::string FormatLogTime();

void AppendLog(std::string_view message);
