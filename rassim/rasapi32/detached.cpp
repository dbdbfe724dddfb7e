#include "rasapi32/detached.h"

#include <windows.h>

#include <memory>

namespace rassim {
namespace {

struct DetachedJob {
    std::function<void()> job;
    HMODULE module;  // a reference that keeps this DLL loaded while the job runs
};

DWORD WINAPI DetachedThread(void* parameter) {
    HMODULE module;
    {
        std::unique_ptr<DetachedJob> job(static_cast<DetachedJob*>(parameter));
        module = job->module;
        job->job();
    }
    FreeLibraryAndExitThread(module, 0);
}

}  // namespace

bool StartDetached(std::function<void()> job) {
    HMODULE module;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&DetachedThread),
                            &module)) {
        return false;
    }
    auto detached = std::make_unique<DetachedJob>(DetachedJob{std::move(job), module});
    HANDLE thread = CreateThread(nullptr, 0, DetachedThread, detached.get(), 0, nullptr);
    if (!thread) {
        FreeLibrary(module);
        return false;
    }
    detached.release();
    CloseHandle(thread);
    return true;
}

}  // namespace rassim
