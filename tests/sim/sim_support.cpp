#include "sim_support.h"

#include <raserror.h>

#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <sstream>

namespace simtest {
namespace {

void UseWorldOfThisTest() {
    // Once per process: the DLLs open their world at first use and keep it.
    static const bool chosen = [] {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = std::string("sim-") + test->test_suite_name() + "." + test->name();
        return SetEnvironmentVariableA("RASSIM_WORLD", name.c_str()) != FALSE;
    }();
    ASSERT_TRUE(chosen);
}

std::mutex gNotificationLock;
std::condition_variable gNotificationArrived;
std::vector<Notification> gNotifications;

bool EndsDial(const Notification& n) {
    return n.error != 0 || n.state == RASCS_Connected;
}

}  // namespace

void SimTest::SetUp() {
    UseWorldOfThisTest();
    RasctlOk("reset");
    ClearNotifications();
}

void WINAPI RecordNotification(UINT message, RASCONNSTATE state, DWORD error) {
    {
        std::lock_guard lock(gNotificationLock);
        gNotifications.push_back({message, state, error, GetCurrentThreadId()});
    }
    gNotificationArrived.notify_all();
}

std::vector<Notification> RecordedNotifications() {
    std::lock_guard lock(gNotificationLock);
    return gNotifications;
}

void ClearNotifications() {
    std::lock_guard lock(gNotificationLock);
    gNotifications.clear();
}

bool WaitForDialEnds(std::size_t count, DWORD timeoutMs) {
    std::unique_lock lock(gNotificationLock);
    return gNotificationArrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), [count] {
        std::size_t ends = 0;
        for (const Notification& n : gNotifications) ends += EndsDial(n) ? 1 : 0;
        return ends >= count;
    });
}

RASDIALPARAMSA DialParams(const char* entry, const char* userName, const char* password) {
    RASDIALPARAMSA params{};
    params.dwSize = sizeof(params);
    std::strcpy(params.szEntryName, entry);
    std::strcpy(params.szUserName, userName);
    std::strcpy(params.szPassword, password);
    return params;
}

DWORD Dial(const char* entry, const char* userName, const char* password, HRASCONN& handle) {
    RASDIALPARAMSA params = DialParams(entry, userName, password);
    handle = nullptr;
    return Ras().RasDialA(nullptr, nullptr, &params, 0, reinterpret_cast<void*>(&RecordNotification), &handle);
}

DWORD StatusOf(HRASCONN handle, RASCONNSTATUSA& status) {
    status = RASCONNSTATUSA{};
    status.dwSize = sizeof(status);
    return Ras().RasGetConnectStatusA(handle, &status);
}

std::vector<RASCONNW> ActiveConnections() {
    std::vector<RASCONNW> records(16);
    records[0].dwSize = sizeof(RASCONNW);
    DWORD bytes = static_cast<DWORD>(records.size() * sizeof(RASCONNW));
    DWORD count = 0;
    const DWORD result = Ras().RasEnumConnectionsW(records.data(), &bytes, &count);
    EXPECT_EQ(result, 0u);
    records.resize(result == 0 ? count : 0);
    return records;
}

std::vector<AdapterSummary> Adapters() {
    ULONG size = 0;
    EXPECT_EQ(IpHelper().GetAdaptersInfo(nullptr, &size), static_cast<ULONG>(ERROR_BUFFER_OVERFLOW));
    std::vector<BYTE> buffer(size);
    auto* first = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
    if (IpHelper().GetAdaptersInfo(first, &size) != NO_ERROR) {
        ADD_FAILURE() << "GetAdaptersInfo failed with a buffer of the size it asked for";
        return {};
    }
    std::vector<AdapterSummary> adapters;
    for (const IP_ADAPTER_INFO* info = first; info; info = info->Next) {
        adapters.push_back({info->AdapterName, info->IpAddressList.IpAddress.String, info->Index, info->Type});
    }
    return adapters;
}

const AdapterSummary* FindAdapter(const std::vector<AdapterSummary>& adapters, const std::string& name) {
    for (const AdapterSummary& adapter : adapters) {
        if (adapter.name == name) return &adapter;
    }
    return nullptr;
}

void CreateEntry(const char* name) {
    RASENTRYA record = PppoeEntryRecord();
    EXPECT_EQ(Ras().RasSetEntryPropertiesA(nullptr, name, &record, sizeof(record), nullptr, 0), 0u) << name;
}

GUID EntryGuid(const char* name) {
    RASENTRYA record{};
    record.dwSize = sizeof(record);
    DWORD size = sizeof(record);
    EXPECT_EQ(Ras().RasGetEntryPropertiesA(nullptr, name, &record, &size, nullptr, nullptr), 0u) << name;
    return record.guidId;
}

std::string Narrow(const WCHAR* text) {
    char narrow[1024];
    const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof(narrow), nullptr, nullptr);
    return length > 0 ? std::string(narrow) : std::string();
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

bool WaitUntilClosed(HRASCONN handle) {
    return WaitUntil(
        [handle] {
            RASCONNSTATUSA status;
            return StatusOf(handle, status) == static_cast<DWORD>(ERROR_INVALID_HANDLE);
        },
        5000);
}

}  // namespace simtest
