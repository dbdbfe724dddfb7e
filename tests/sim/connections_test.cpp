// Status, hang-up and enumeration of connections; stale handles, link drops and scripted faults.
#include <raserror.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "sim_support.h"
#include "rassim/world/text.h"

namespace simtest {
namespace {

constexpr char kEntry[] = "宽带连接";
constexpr char kDefaultPhonebook[] = "C:\\ProgramData\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk";

class SimConnections : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        RasctlOk(std::string("entry add ") + kEntry);
    }
};

bool IsListed(HRASCONN handle) {
    const std::vector<RASCONNW> listed = ActiveConnections();
    return std::any_of(listed.begin(), listed.end(), [handle](const RASCONNW& c) { return c.hrasconn == handle; });
}

TEST_F(SimConnections, StatusAnswersEachPublishedVersionWithinItsSize) {
    const HRASCONN handle = UpFromControl(kEntry);
    BYTE buffer[400];
    auto* status = reinterpret_cast<RASCONNSTATUSA*>(buffer);
    for (const DWORD size : kRasConnStatusSizes) {
        std::fill(std::begin(buffer), std::end(buffer), BYTE{0xAB});
        status->dwSize = size;
        ASSERT_EQ(Ras().RasGetConnectStatusA(handle, status), 0u) << size;
        EXPECT_EQ(status->rasconnstate, RASCS_Connected);
        EXPECT_EQ(status->dwError, 0u);
        EXPECT_STREQ(status->szDeviceType, "PPPoE");
        EXPECT_TRUE(std::all_of(buffer + size, std::end(buffer), [](BYTE b) { return b == 0xAB; }))
            << "bytes written past dwSize " << size;
    }
    for (const DWORD size : {0u, 159u, 161u, 287u, 336u, 400u}) {
        status->dwSize = size;
        EXPECT_EQ(Ras().RasGetConnectStatusA(handle, status), static_cast<DWORD>(ERROR_INVALID_SIZE)) << size;
    }
    EXPECT_EQ(Ras().RasGetConnectStatusA(handle, nullptr), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(SimConnections, UnknownAndHungUpHandlesAreInvalidAndNeverComeBack) {
    RASCONNSTATUSA status;
    EXPECT_EQ(StatusOf(nullptr, status), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(StatusOf(reinterpret_cast<HRASCONN>(0x7777), status), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(Ras().RasHangUpA(nullptr), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    std::set<HRASCONN> seen;
    for (int round = 0; round < 4; ++round) {
        if (round == 2) {  // a fresh world still gives out new handles
            RasctlOk("reset");
            RasctlOk(std::string("entry add ") + kEntry);
        }
        const HRASCONN handle = UpFromControl(kEntry);
        EXPECT_TRUE(seen.insert(handle).second) << "handle given out twice";
        ASSERT_EQ(Ras().RasHangUpA(handle), 0u);
        ASSERT_TRUE(WaitUntilClosed(handle));
        EXPECT_EQ(Ras().RasHangUpA(handle), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    }
}

TEST_F(SimConnections, EnumerationDescribesEveryActiveConnection) {
    RasctlOk("entry add ADSL");
    const HRASCONN first = UpFromControl(kEntry);
    const HRASCONN second = UpFromControl("ADSL");
    const HRASCONN elsewhere = UpFromControl(std::string(kEntry) + " --phonebook C:\\other.pbk");

    const std::vector<RASCONNW> listed = ActiveConnections();
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[0].hrasconn, first);
    EXPECT_EQ(Narrow(listed[0].szEntryName), kEntry);
    EXPECT_EQ(GuidText(listed[0].guidEntry), GuidText(EntryGuid(kEntry)));
    EXPECT_EQ(Narrow(listed[0].szPhonebook), kDefaultPhonebook);
    EXPECT_EQ(Narrow(listed[0].szDeviceType), "PPPoE");
    EXPECT_EQ(Narrow(listed[0].szDeviceName), "WAN Miniport (PPPOE)");
    EXPECT_EQ(listed[1].hrasconn, second);
    EXPECT_EQ(Narrow(listed[1].szEntryName), "ADSL");
    EXPECT_EQ(GuidText(listed[1].guidEntry), GuidText(EntryGuid("ADSL")));
    // The same name in another phonebook is another entry, with a GUID of its own.
    EXPECT_EQ(listed[2].hrasconn, elsewhere);
    EXPECT_EQ(Narrow(listed[2].szEntryName), kEntry);
    EXPECT_EQ(Narrow(listed[2].szPhonebook), "C:\\other.pbk");
    EXPECT_NE(GuidText(listed[2].guidEntry), GuidText(listed[0].guidEntry));
    for (const RASCONNW& record : listed) EXPECT_EQ(record.dwSize, sizeof(RASCONNW));
}

TEST_F(SimConnections, EnumerationSizesItsAnswerByTheRecordVersion) {
    DWORD bytes = 0;
    DWORD count = 99;
    EXPECT_EQ(Ras().RasEnumConnectionsW(nullptr, &bytes, &count), 0u) << "no connection fits in no buffer";
    EXPECT_EQ(bytes, 0u);
    EXPECT_EQ(count, 0u);

    const HRASCONN first = UpFromControl(kEntry);
    const HRASCONN second = UpFromControl(std::string(kEntry) + " --phonebook C:\\other.pbk");
    bytes = 0;
    EXPECT_EQ(Ras().RasEnumConnectionsW(nullptr, &bytes, &count), static_cast<DWORD>(ERROR_BUFFER_TOO_SMALL));
    constexpr DWORD kNewest = rassim::NewestSize(kRasConnSizes);
    EXPECT_EQ(bytes, 2 * kNewest) << "a sizing call counts in records of the newest version";

    std::vector<BYTE> buffer(2 * kNewest + 64);
    auto* records = reinterpret_cast<RASCONNW*>(buffer.data());
    for (const DWORD size : kRasConnSizes) {
        std::fill(buffer.begin(), buffer.end(), BYTE{0});
        records->dwSize = size;
        bytes = size;
        EXPECT_EQ(Ras().RasEnumConnectionsW(records, &bytes, &count), static_cast<DWORD>(ERROR_BUFFER_TOO_SMALL))
            << size;
        EXPECT_EQ(bytes, 2 * size);
        EXPECT_EQ(Ras().RasEnumConnectionsW(records, &bytes, &count), 0u) << size;
        ASSERT_EQ(count, 2u);
        HRASCONN handles[2];
        std::memcpy(&handles[0], buffer.data() + 4, sizeof(HRASCONN));
        std::memcpy(&handles[1], buffer.data() + size + 4, sizeof(HRASCONN));
        EXPECT_EQ(handles[0], first) << size;
        EXPECT_EQ(handles[1], second) << "records follow each other at the stride of their version, " << size;
        EXPECT_TRUE(std::all_of(buffer.begin() + 2 * size, buffer.end(), [](BYTE b) { return b == 0; }));
    }
    for (const DWORD size : {0u, 524u, 1367u, 1400u}) {
        records->dwSize = size;
        bytes = static_cast<DWORD>(buffer.size());
        EXPECT_EQ(Ras().RasEnumConnectionsW(records, &bytes, &count), static_cast<DWORD>(ERROR_INVALID_SIZE)) << size;
    }
    EXPECT_EQ(Ras().RasEnumConnectionsW(records, nullptr, &count), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(SimConnections, DroppedLinkLeavesListAndAdaptersButItsHandleReportsTheDropUntilHungUp) {
    RasctlOk("entry add ADSL");
    const HRASCONN handle = UpFromControl(kEntry);
    const HRASCONN other = UpFromControl("ADSL");
    const std::string adapterName = GuidText(EntryGuid(kEntry));
    ASSERT_NE(FindAdapter(Adapters(), adapterName), nullptr);

    RasctlOk(std::string("drop ") + kEntry);
    EXPECT_FALSE(IsListed(handle));
    EXPECT_EQ(FindAdapter(Adapters(), adapterName), nullptr);
    RASCONNSTATUSA status;
    ASSERT_EQ(StatusOf(handle, status), 0u);
    EXPECT_EQ(status.rasconnstate, RASCS_Disconnected);
    EXPECT_EQ(status.dwError, static_cast<DWORD>(ERROR_DISCONNECTION));
    EXPECT_TRUE(IsListed(other)) << "only the dropped entry goes";

    char command[64];
    std::snprintf(command, sizeof(command), "drop --handle 0x%lX --error 629",
                  static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(other)));
    RasctlOk(command);
    ASSERT_EQ(StatusOf(other, status), 0u);
    EXPECT_EQ(status.dwError, static_cast<DWORD>(ERROR_REMOTE_DISCONNECTION));
    EXPECT_TRUE(ActiveConnections().empty());

    EXPECT_EQ(Ras().RasHangUpA(handle), 0u);
    EXPECT_TRUE(WaitUntilClosed(handle));
}

// Set by the process or thread that ends a connection: rasctl's drop, the hang-up's close after
// its delay, a dial's failure. A dropped link's hang-up ends nothing more.
TEST_F(SimConnections, RegisteredEventsAreSetWhenAConnectionEndsWhoeverEndsIt) {
    RasctlOk("entry add ADSL");
    RasctlOk("account add user secret");
    RasctlOk("hangup delay 1000");
    const HRASCONN link = UpFromControl(kEntry);
    const HRASCONN adsl = UpFromControl("ADSL");
    const HANDLE any = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    const HANDLE ofAdsl = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    const HRASCONN everyOne = static_cast<HRASCONN>(INVALID_HANDLE_VALUE);
    EXPECT_EQ(Ras().RasConnectionNotificationA(everyOne, nullptr, RASCN_Disconnection), 87u);
    EXPECT_EQ(Ras().RasConnectionNotificationA(reinterpret_cast<HRASCONN>(0x7777), any, RASCN_Disconnection), 6u);
    ASSERT_EQ(Ras().RasConnectionNotificationA(everyOne, any, RASCN_Disconnection), 0u);
    ASSERT_EQ(Ras().RasConnectionNotificationA(adsl, ofAdsl, RASCN_Disconnection), 0u);

    RasctlOk(std::string("drop ") + kEntry);
    EXPECT_EQ(WaitForSingleObject(any, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(ofAdsl, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    ASSERT_EQ(Ras().RasHangUpA(adsl), 0u);
    EXPECT_EQ(WaitForSingleObject(ofAdsl, 300), static_cast<DWORD>(WAIT_TIMEOUT)) << "still closing";
    EXPECT_EQ(WaitForSingleObject(ofAdsl, 3000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(any, 0), WAIT_OBJECT_0);
    ASSERT_EQ(Ras().RasHangUpA(link), 0u);
    EXPECT_EQ(WaitForSingleObject(any, 1500), static_cast<DWORD>(WAIT_TIMEOUT));

    HRASCONN failed = nullptr;
    ASSERT_EQ(Dial("ADSL", "user", "wrong", failed), 0u);
    EXPECT_EQ(WaitForSingleObject(any, 3000), WAIT_OBJECT_0);
    RasctlOk("notify fail 1 5");
    EXPECT_EQ(Ras().RasConnectionNotificationA(everyOne, any, RASCN_Disconnection), 5u);
    EXPECT_EQ(Ras().RasHangUpA(failed), 0u);
    CloseHandle(any);
    CloseHandle(ofAdsl);
}

TEST_F(SimConnections, ScriptedHangUpFailuresLeaveTheConnectionUp) {
    const HRASCONN handle = UpFromControl(kEntry);
    RasctlOk("hangup fail 2 668");
    EXPECT_EQ(Ras().RasHangUpA(reinterpret_cast<HRASCONN>(0x4242)), static_cast<DWORD>(ERROR_INVALID_HANDLE))
        << "an invalid handle does not use up a scripted failure";
    EXPECT_EQ(Ras().RasHangUpA(handle), static_cast<DWORD>(ERROR_NO_CONNECTION));
    EXPECT_TRUE(IsListed(handle));
    EXPECT_EQ(Ras().RasHangUpA(handle), static_cast<DWORD>(ERROR_NO_CONNECTION));
    EXPECT_TRUE(IsListed(handle));
    EXPECT_EQ(Ras().RasHangUpA(handle), 0u);
    EXPECT_TRUE(WaitUntilClosed(handle));
    EXPECT_FALSE(IsListed(handle));
    EXPECT_EQ(FindAdapter(Adapters(), GuidText(EntryGuid(kEntry))), nullptr);
}

// A connection in one of the states a hang-up meets, and what its handle answers while it closes.
struct HangUpCase {
    const char* what;
    HRASCONN (*make)();
    bool listed;
    DWORD error;
    bool adapter;  // kept while it closes
};

HRASCONN Connected() {
    return UpFromControl(kEntry);
}

HRASCONN StillDialing() {
    RasctlOk("dial time 60000");
    HRASCONN handle;
    EXPECT_EQ(Dial(kEntry, "user", "secret", handle), 0u);
    return handle;
}

HRASCONN Refused() {
    RasctlOk("dial refuse 651 --with-handle");
    HRASCONN handle;
    EXPECT_EQ(Dial(kEntry, "user", "secret", handle), static_cast<DWORD>(ERROR_FROM_DEVICE));
    return handle;
}

TEST_F(SimConnections, HungUpConnectionKeepsItsHandleAndEntryWhileItCloses) {
    const HangUpCase cases[] = {
        {"connected", Connected, true, ERROR_USER_DISCONNECTION, true},
        {"dialing", StillDialing, true, ERROR_USER_DISCONNECTION, false},
        {"refused", Refused, false, ERROR_FROM_DEVICE, false},
    };
    for (const HangUpCase& c : cases) {
        SCOPED_TRACE(c.what);
        RasctlOk("reset");
        RasctlOk(std::string("entry add ") + kEntry);
        RasctlOk("hangup delay 60000");  // long enough that it cannot end during the checks
        const HRASCONN handle = c.make();
        ASSERT_NE(handle, nullptr);
        ASSERT_EQ(Ras().RasHangUpA(handle), 0u);

        RASCONNSTATUSA status;
        ASSERT_EQ(StatusOf(handle, status), 0u);
        EXPECT_EQ(status.rasconnstate, RASCS_Disconnected);
        EXPECT_EQ(status.dwError, c.error);
        EXPECT_EQ(IsListed(handle), c.listed);
        EXPECT_EQ(FindAdapter(Adapters(), GuidText(EntryGuid(kEntry))) != nullptr, c.adapter);
        HRASCONN again;
        EXPECT_EQ(Dial(kEntry, "user", "secret", again), static_cast<DWORD>(ERROR_PORT_NOT_AVAILABLE));
        EXPECT_EQ(again, nullptr);
        EXPECT_EQ(Rasctl(std::string("up ") + kEntry).exitCode, 1u);
        EXPECT_EQ(Ras().RasHangUpA(handle), 0u) << "hanging up again while it closes";
        ASSERT_EQ(StateLines("connection").size(), 1u);
        EXPECT_NE(StateLines("connection")[0].find(" link=closing "), std::string::npos);
    }
}

TEST_F(SimConnections, HungUpConnectionGoesAfterTheDelayAndFreesItsEntry) {
    for (const char* delay : {"0", "200"}) {
        SCOPED_TRACE(delay);
        RasctlOk(std::string("hangup delay ") + delay);
        const HRASCONN handle = UpFromControl(kEntry);
        ASSERT_EQ(Ras().RasHangUpA(handle), 0u);
        if (std::string(delay) == "0") {
            RASCONNSTATUSA status;
            EXPECT_EQ(StatusOf(handle, status), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        }
        ASSERT_TRUE(WaitUntilClosed(handle));
        EXPECT_FALSE(IsListed(handle));
        EXPECT_EQ(Ras().RasHangUpA(handle), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        RASDIALPARAMSA params = DialParams(kEntry, "user", "secret");
        HRASCONN redialed = nullptr;
        EXPECT_EQ(Ras().RasDialA(nullptr, nullptr, &params, 0, nullptr, &redialed), 0u);
        EXPECT_EQ(Ras().RasHangUpA(redialed), 0u);
        ASSERT_TRUE(WaitUntilClosed(redialed));
    }
}

TEST_F(SimConnections, EachDialOfAConnectedEntryNeedsItsOwnHangUp) {
    for (const int joins : {0, 1, 2}) {
        SCOPED_TRACE(joins);
        RasctlOk("reset");
        RasctlOk(std::string("entry add ") + kEntry);
        RasctlOk("hangup delay 60000");
        const HRASCONN handle = UpFromControl(kEntry);
        for (int dial = 0; dial < joins; ++dial) {
            RASDIALPARAMSA params = DialParams(kEntry, "user", "secret");
            HRASCONN joined = nullptr;
            ASSERT_EQ(Ras().RasDialA(nullptr, nullptr, &params, 0, nullptr, &joined), 0u);
            EXPECT_EQ(joined, handle);
        }
        EXPECT_NE(StateLines("connection")[0].find(" refs=" + std::to_string(joins + 1)), std::string::npos);
        RASCONNSTATUSA status;
        for (int hangUp = 0; hangUp < joins; ++hangUp) {
            ASSERT_EQ(Ras().RasHangUpA(handle), 0u);
            ASSERT_EQ(StatusOf(handle, status), 0u);
            EXPECT_EQ(status.rasconnstate, RASCS_Connected) << "other dials still hold it";
            EXPECT_NE(FindAdapter(Adapters(), GuidText(EntryGuid(kEntry))), nullptr);
        }
        ASSERT_EQ(Ras().RasHangUpA(handle), 0u);
        ASSERT_EQ(StatusOf(handle, status), 0u);
        EXPECT_EQ(status.rasconnstate, RASCS_Disconnected) << "the last hang-up ends it";
        EXPECT_NE(FindAdapter(Adapters(), GuidText(EntryGuid(kEntry))), nullptr) << "and it closes";
    }
}

TEST_F(SimConnections, ScriptedEnumerationFailuresComeFirst) {
    UpFromControl(kEntry);
    RasctlOk("enum fail 2 8");
    std::vector<RASCONNW> records(4);
    records[0].dwSize = sizeof(RASCONNW);
    DWORD bytes = static_cast<DWORD>(records.size() * sizeof(RASCONNW));
    DWORD count = 0;
    EXPECT_EQ(Ras().RasEnumConnectionsW(records.data(), &bytes, &count), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(Ras().RasEnumConnectionsW(records.data(), &bytes, &count), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(Ras().RasEnumConnectionsW(records.data(), &bytes, &count), 0u);
    EXPECT_EQ(count, 1u);
}

}  // namespace
}  // namespace simtest
