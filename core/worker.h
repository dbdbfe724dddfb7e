// The one way the program starts a thread: detached, never joined.
#pragma once
#include <windows.h>

namespace worker_detail {
template <void (*Routine)()>
DWORD WINAPI Run(LPVOID) {
    Routine();
    return 0;
}
}  // namespace worker_detail

// Runs `Routine` on a new thread with default security and stack size. Nobody waits for it; the
// operations ignore a failure to create it, and only a caller that waits for the routine's work
// needs the answer. The thread notices the program's end by itself.
template <void (*Routine)()>
bool StartWorker() {
    const HANDLE thread = CreateThread(nullptr, 0, worker_detail::Run<Routine>, nullptr, 0, nullptr);
    if (thread)
        CloseHandle(thread);
    return thread != nullptr;
}
