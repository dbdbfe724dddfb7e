// One of the idle processes the start-up bench runs beside the program: it says it is up, then
// waits until it is ended.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (const HANDLE ready = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, "PordexBenchIdleReady")) {
        ReleaseSemaphore(ready, 1, nullptr);
        CloseHandle(ready);
    }
    Sleep(INFINITE);
    return 0;
}
