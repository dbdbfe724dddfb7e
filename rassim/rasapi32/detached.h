// Work the service does on a thread of its own, after the call that started it has returned.
#pragma once
#include <functional>

namespace rassim {

// Runs `job` on a new thread that keeps this DLL loaded until the job has ended; false when no
// thread could be started.
bool StartDetached(std::function<void()> job);

}  // namespace rassim
