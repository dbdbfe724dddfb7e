// Several threads and processes using the one world at the same time.
#include <raserror.h>

#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "sim_support.h"

namespace simtest {
namespace {

using SimConcurrency = SimTest;

std::string WorkerPath() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path, length);
    return directory.substr(0, directory.find_last_of('\\') + 1) + "sim_world_worker.exe";
}

std::string WorkerCommand(int worker, int rounds, const std::string& events) {
    std::ostringstream command;
    command << '"' << WorkerPath() << "\" worker" << worker << ' ' << rounds << ' ' << events;
    return command.str();
}

std::vector<std::string> HandlesIn(const std::string& output) {
    std::istringstream stream(output);
    std::vector<std::string> handles;
    for (std::string line; std::getline(stream, line);) {
        if (line.rfind("handle=", 0) == 0) handles.push_back(line.substr(7, line.find_first_of("\r\n") - 7));
    }
    return handles;
}

TEST_F(SimConcurrency, ThreadsDialingAtOnceEachGetTheirOwnConnection) {
    constexpr int kThreads = 6;
    for (int i = 0; i < kThreads; ++i) CreateEntry(("line" + std::to_string(i)).c_str());
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::vector<HRASCONN> handles(kThreads);
    std::vector<DWORD> results(kThreads, ~0UL);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            WaitForSingleObject(go, INFINITE);
            results[i] = Dial(("line" + std::to_string(i)).c_str(), "user", "secret", handles[i]);
        });
    }
    SetEvent(go);
    for (std::thread& thread : threads) thread.join();
    CloseHandle(go);

    for (DWORD result : results) EXPECT_EQ(result, 0u);
    EXPECT_EQ(std::set<HRASCONN>(handles.begin(), handles.end()).size(), static_cast<std::size_t>(kThreads));
    ASSERT_TRUE(WaitForDialEnds(kThreads, 10000));
    std::set<DWORD> notifierThreads;
    for (const Notification& n : RecordedNotifications()) notifierThreads.insert(n.threadId);
    EXPECT_EQ(notifierThreads.size(), static_cast<std::size_t>(kThreads)) << "every dial notifies from its own thread";
    EXPECT_EQ(ActiveConnections().size(), static_cast<std::size_t>(kThreads));
    std::set<std::string> addresses;
    for (const AdapterSummary& adapter : Adapters()) addresses.insert(adapter.address);
    EXPECT_EQ(addresses.size(), static_cast<std::size_t>(kThreads + 1)) << "the LAN and one address per link";
}

// Every name in the phonebook, or nothing when the listing call fails.
std::vector<std::string> EntryNames() {
    std::vector<RASENTRYNAMEA> names(64);
    names[0].dwSize = sizeof(RASENTRYNAMEA);
    DWORD bytes = static_cast<DWORD>(names.size() * sizeof(RASENTRYNAMEA));
    DWORD count = 0;
    std::vector<std::string> result;
    if (Ras().RasEnumEntriesA(nullptr, nullptr, names.data(), &bytes, &count) != 0) return result;
    for (DWORD i = 0; i < count; ++i) result.push_back(names[i].szEntryName);
    return result;
}

TEST_F(SimConcurrency, ProcessesChangingTheWorldAtOnceLoseNothing) {
    constexpr int kWorkers = 4;
    constexpr int kRounds = 150;
    std::ostringstream events;
    events << "sim-concurrency-" << GetCurrentProcessId();
    HANDLE ready = CreateSemaphoreA(nullptr, 0, kWorkers, (events.str() + ".ready").c_str());
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, (events.str() + ".go").c_str());
    std::vector<ControlRun> runs(kWorkers);
    std::vector<std::thread> workers;
    for (int i = 0; i < kWorkers; ++i) {
        workers.emplace_back([&runs, &events, i] { runs[i] = RunProgram(WorkerCommand(i, kRounds, events.str())); });
    }
    // No ASSERT until the workers are joined.
    int started = 0;
    while (started < kWorkers && WaitForSingleObject(ready, 20000) == WAIT_OBJECT_0) ++started;
    EXPECT_EQ(started, kWorkers);
    SetEvent(go);

    // Meanwhile this process reads: every listing is whole, without a name twice.
    for (int reading = 0; reading < 200; ++reading) {
        const std::vector<std::string> names = EntryNames();
        EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
        for (const std::string& name : names) EXPECT_EQ(name.rfind("worker", 0), 0u) << name;
    }
    for (std::thread& worker : workers) worker.join();
    CloseHandle(ready);
    CloseHandle(go);

    std::set<std::string> handles;
    for (const ControlRun& run : runs) {
        EXPECT_EQ(run.exitCode, 0u) << run.output;
        for (const std::string& handle : HandlesIn(run.output)) EXPECT_TRUE(handles.insert(handle).second) << handle;
    }
    EXPECT_EQ(handles.size(), static_cast<std::size_t>(kWorkers * 4)) << "no handle given out twice";
    std::set<std::string> expected;
    for (int worker = 0; worker < kWorkers; ++worker) {
        for (int entry = 0; entry < 4; ++entry) {
            std::ostringstream name;
            name << "worker" << worker << '-' << entry;
            expected.insert(name.str());
        }
    }
    const std::vector<std::string> names = EntryNames();
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected) << "no entry lost, none left over";
    EXPECT_TRUE(WaitUntil([] { return ActiveConnections().empty(); }, 5000)) << "every hung-up connection closes";
}

}  // namespace
}  // namespace simtest
