// What the simulator's tests share: a world of their own, the control tool as a child process,
// a recording dial notifier and short ways to the records the service returns.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "sim_api.h"
#include "rassim/world/world.h"
#include "tests/support/rasctl_client.h"

namespace simtest {

// Every test starts in an empty world of its own (RASSIM_WORLD), which its child processes
// inherit; tests of other programs and parallel test processes never see it.
class SimTest : public ::testing::Test {
protected:
    void SetUp() override;
};

using rasctl_client::ControlRun;
using rasctl_client::Rasctl;
using rasctl_client::RasctlOk;
using rasctl_client::RunProgram;
using rasctl_client::StateLines;
using rasctl_client::UpFromControl;
using rassim::GuidText;

struct Notification {
    UINT message;
    RASCONNSTATE state;
    DWORD error;
    DWORD threadId;
};

// The RasDialFunc the tests dial with; it records every call.
void WINAPI RecordNotification(UINT message, RASCONNSTATE state, DWORD error);
std::vector<Notification> RecordedNotifications();
void ClearNotifications();
// Waits until `count` dials have ended (RASCS_Connected or an error); false on timeout.
bool WaitForDialEnds(std::size_t count, DWORD timeoutMs);

RASDIALPARAMSA DialParams(const char* entry, const char* userName, const char* password);
// An asynchronous dial with RecordNotification.
DWORD Dial(const char* entry, const char* userName, const char* password, HRASCONN& handle);
DWORD StatusOf(HRASCONN handle, RASCONNSTATUSA& status);

// RasEnumConnectionsW with room for 16 records of 1368 bytes; adds a failure unless it succeeds.
std::vector<RASCONNW> ActiveConnections();

struct AdapterSummary {
    std::string name;
    std::string address;
    DWORD index;
    UINT type;
};
// GetAdaptersInfo through its sizing call; adds a failure unless both calls answer as documented.
std::vector<AdapterSummary> Adapters();
const AdapterSummary* FindAdapter(const std::vector<AdapterSummary>& adapters, const std::string& name);

// RasSetEntryPropertiesA of the program's PPPoE record; adds a failure unless it succeeds.
void CreateEntry(const char* name);
GUID EntryGuid(const char* name);
std::string Narrow(const WCHAR* text);

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
// Waits until a hung-up connection has closed and its handle is no longer valid.
bool WaitUntilClosed(HRASCONN handle);

}  // namespace simtest
