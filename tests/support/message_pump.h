// For tests whose thread is the GUI thread: serve the window messages and the workers' calls
// while waiting for something.
#pragma once
#include <windows.h>

#include <functional>

namespace message_pump {

// Runs the GUI thread's loop until `done` holds; false after the timeout.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Handles the messages that are waiting, then returns.
void PumpPending();

}  // namespace message_pump
