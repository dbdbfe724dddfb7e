// A second process for the concurrency tests. Once started it releases the semaphore
// EVENTS.ready and waits for the event EVENTS.go; then it creates and deletes the entry
// PREFIX-churn ROUNDS times, creates the entries PREFIX-0 to PREFIX-3, and dials each
// synchronously and hangs it up, printing every handle it got. Exits with 0 when every call
// answered as documented. It shares the world of the test that started it (RASSIM_WORLD).
#include <raserror.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "sim_api.h"

namespace {

using simtest::Ras;

constexpr int kFinalEntries = 4;

bool Create(const std::string& name) {
    RASENTRYA record = simtest::PppoeEntryRecord();
    return Ras().RasSetEntryPropertiesA(nullptr, name.c_str(), &record, sizeof(record), nullptr, 0) == 0;
}

bool DialAndHangUp(const std::string& name) {
    RASDIALPARAMSA params{};
    params.dwSize = sizeof(params);
    name.copy(params.szEntryName, sizeof(params.szEntryName) - 1);
    HRASCONN handle = nullptr;
    if (Ras().RasDialA(nullptr, nullptr, &params, 0, nullptr, &handle) != 0) return false;
    std::printf("handle=%p\n", static_cast<void*>(handle));
    return Ras().RasHangUpA(handle) == 0;
}

bool WaitForGo(const std::string& events) {
    HANDLE ready = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, (events + ".ready").c_str());
    HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, (events + ".go").c_str());
    const bool started =
        ready && go && ReleaseSemaphore(ready, 1, nullptr) && WaitForSingleObject(go, 20000) == WAIT_OBJECT_0;
    if (ready) CloseHandle(ready);
    if (go) CloseHandle(go);
    return started;
}

bool Work(const std::string& prefix, int rounds) {
    const std::string churn = prefix + "-churn";
    for (int i = 0; i < rounds; ++i) {
        if (!Create(churn) || Ras().RasDeleteEntryA(nullptr, churn.c_str()) != ERROR_SUCCESS) return false;
    }
    for (int i = 0; i < kFinalEntries; ++i) {
        const std::string name = prefix + "-" + std::to_string(i);
        if (!Create(name) || !DialAndHangUp(name)) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: sim_world_worker PREFIX ROUNDS EVENTS\n", stderr);
        return 2;
    }
    if (!WaitForGo(argv[3])) return 3;
    return Work(argv[1], std::atoi(argv[2])) ? 0 : 1;
}
