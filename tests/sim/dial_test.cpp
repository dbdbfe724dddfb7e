// RasDialA: asynchronous and synchronous dials, refusals, scripted failures and timings.
#include <raserror.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "sim_support.h"
#include "rassim/world/text.h"

namespace simtest {
namespace {

constexpr char kEntry[] = "宽带连接";
constexpr RASCONNSTATE kUsualStates[] = {
    RASCS_OpenPort,     RASCS_PortOpened, RASCS_ConnectDevice, RASCS_DeviceConnected, RASCS_AllDevicesConnected,
    RASCS_Authenticate, RASCS_AuthNotify, RASCS_AuthAck,       RASCS_Authenticated,   RASCS_AuthProject,
    RASCS_Projected,    RASCS_Connected,
};

std::vector<RASCONNSTATE> States(const std::vector<Notification>& notifications) {
    std::vector<RASCONNSTATE> states;
    for (const Notification& n : notifications) states.push_back(n.state);
    return states;
}

bool IsListed(HRASCONN handle) {
    const std::vector<RASCONNW> listed = ActiveConnections();
    return std::any_of(listed.begin(), listed.end(), [handle](const RASCONNW& c) { return c.hrasconn == handle; });
}

class SimDial : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        CreateEntry(kEntry);
    }
};

TEST_F(SimDial, ReturnsAtOnceThenNotifiesEveryStateFromAThreadOfItsOwn) {
    RasctlOk("dial time 1500");
    const DWORD start = GetTickCount();
    HRASCONN handle;
    ASSERT_EQ(Dial(kEntry, "user", "secret", handle), 0u);
    EXPECT_LT(GetTickCount() - start, 500u);
    ASSERT_NE(handle, nullptr);
    RASCONNSTATUSA status;
    ASSERT_EQ(StatusOf(handle, status), 0u);
    EXPECT_LT(status.rasconnstate, RASCS_Connected) << "the dial should still be under way";
    EXPECT_TRUE(IsListed(handle)) << "a dial under way is an active connection";

    ASSERT_TRUE(WaitForDialEnds(1, 10000));
    const std::vector<Notification> notifications = RecordedNotifications();
    EXPECT_EQ(States(notifications), std::vector<RASCONNSTATE>(std::begin(kUsualStates), std::end(kUsualStates)));
    for (const Notification& n : notifications) {
        EXPECT_EQ(n.message, WM_RASDIALEVENT);
        EXPECT_EQ(n.error, 0u);
        EXPECT_NE(n.threadId, GetCurrentThreadId());
        EXPECT_EQ(n.threadId, notifications.front().threadId);
    }
    ASSERT_EQ(StatusOf(handle, status), 0u);
    EXPECT_EQ(status.rasconnstate, RASCS_Connected);
    EXPECT_EQ(status.dwError, 0u);
    EXPECT_STREQ(status.szDeviceType, "PPPoE");
    EXPECT_STREQ(status.szDeviceName, "WAN Miniport (PPPOE)");
}

TEST_F(SimDial, WrongPasswordStopsAtAuthenticateWith691UntilHungUp) {
    RasctlOk("account add user secret");
    HRASCONN handle;
    ASSERT_EQ(Dial(kEntry, "user", "wrong", handle), 0u);
    ASSERT_TRUE(WaitForDialEnds(1, 5000));
    Sleep(300);  // nothing may follow the failure
    const std::vector<Notification> notifications = RecordedNotifications();
    ASSERT_FALSE(notifications.empty());
    EXPECT_EQ(notifications.back().state, RASCS_Authenticate);
    EXPECT_EQ(notifications.back().error, static_cast<DWORD>(ERROR_AUTHENTICATION_FAILURE));
    EXPECT_EQ(States(notifications).size(), 7u) << "OpenPort to Authenticate, then Authenticate with the failure";

    RASCONNSTATUSA status;
    ASSERT_EQ(StatusOf(handle, status), 0u);
    EXPECT_EQ(status.rasconnstate, RASCS_Authenticate);
    EXPECT_EQ(status.dwError, static_cast<DWORD>(ERROR_AUTHENTICATION_FAILURE));
    EXPECT_FALSE(IsListed(handle));
    EXPECT_EQ(FindAdapter(Adapters(), GuidText(EntryGuid(kEntry))), nullptr);

    EXPECT_EQ(Ras().RasHangUpA(handle), 0u);
    EXPECT_TRUE(WaitUntilClosed(handle));

    ClearNotifications();
    ASSERT_EQ(Dial(kEntry, "user", "secret", handle), 0u);
    ASSERT_TRUE(WaitForDialEnds(1, 5000));
    EXPECT_EQ(RecordedNotifications().back().state, RASCS_Connected);
}

TEST_F(SimDial, UnknownOrEmptyEntryIsRefusedAtOnceWithoutHandle) {
    for (const char* name : {"不存在的连接", ""}) {
        HRASCONN handle;
        EXPECT_EQ(Dial(name, "user", "secret", handle), static_cast<DWORD>(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY)) << name;
        EXPECT_EQ(handle, nullptr);
    }
    Sleep(300);
    EXPECT_TRUE(RecordedNotifications().empty());
    EXPECT_TRUE(StateLines("connection").empty());
}

TEST_F(SimDial, AcceptsOnlyPublishedSizesOfTheDialParameters) {
    // The newest version is longer than the program's; the buffer has room for it.
    constexpr DWORD kNewest = rassim::NewestSize(kRasDialParamsSizes);
    BYTE buffer[kNewest + 16];
    auto* params = reinterpret_cast<RASDIALPARAMSA*>(buffer);
    for (const DWORD size : {DWORD{0}, DWORD{4}, DWORD{1051}, DWORD{1056}, kNewest + 4, DWORD{2000}}) {
        std::fill(std::begin(buffer), std::end(buffer), BYTE{0});
        *params = DialParams(kEntry, "user", "secret");
        params->dwSize = size;
        HRASCONN handle = nullptr;
        EXPECT_EQ(Ras().RasDialA(nullptr, nullptr, params, 0, nullptr, &handle), static_cast<DWORD>(ERROR_INVALID_SIZE))
            << size;
        EXPECT_EQ(handle, nullptr);
    }
    for (const DWORD size : kRasDialParamsSizes) {
        std::fill(std::begin(buffer), std::end(buffer), BYTE{0});
        *params = DialParams(kEntry, "user", "secret");
        params->dwSize = size;
        HRASCONN handle = nullptr;
        EXPECT_EQ(Ras().RasDialA(nullptr, nullptr, params, 0, nullptr, &handle), 0u) << size;
        EXPECT_EQ(Ras().RasHangUpA(handle), 0u);
        EXPECT_TRUE(WaitUntilClosed(handle));
    }
    HRASCONN handle = nullptr;
    EXPECT_EQ(Ras().RasDialA(nullptr, nullptr, nullptr, 0, nullptr, &handle),
              static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    RASDIALPARAMSA valid = DialParams(kEntry, "user", "secret");
    EXPECT_EQ(Ras().RasDialA(nullptr, nullptr, &valid, 0, nullptr, nullptr),
              static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(SimDial, ScriptedFailureStopsAtItsStateOnceOnly) {
    RasctlOk("dial fail 678 2");
    HRASCONN handle;
    ASSERT_EQ(Dial(kEntry, "user", "secret", handle), 0u);
    ASSERT_TRUE(WaitForDialEnds(1, 5000));
    const std::vector<Notification> notifications = RecordedNotifications();
    EXPECT_EQ(States(notifications), (std::vector<RASCONNSTATE>{RASCS_OpenPort, RASCS_PortOpened, RASCS_ConnectDevice,
                                                                RASCS_ConnectDevice}));
    EXPECT_EQ(notifications.back().error, static_cast<DWORD>(ERROR_NO_ANSWER));
    RASCONNSTATUSA status;
    ASSERT_EQ(StatusOf(handle, status), 0u);
    EXPECT_EQ(status.rasconnstate, RASCS_ConnectDevice);
    EXPECT_EQ(status.dwError, static_cast<DWORD>(ERROR_NO_ANSWER));
    ASSERT_EQ(Ras().RasHangUpA(handle), 0u);
    ASSERT_TRUE(WaitUntilClosed(handle));

    ClearNotifications();
    ASSERT_EQ(Dial(kEntry, "user", "secret", handle), 0u);
    ASSERT_TRUE(WaitForDialEnds(1, 5000));
    EXPECT_EQ(RecordedNotifications().back().state, RASCS_Connected);
}

TEST_F(SimDial, ScriptedFailureAtAStateOutsideTheUsualWalkComesAfterIt) {
    RasctlOk("dial fail 619 0x2001");
    HRASCONN handle;
    ASSERT_EQ(Dial(kEntry, "user", "secret", handle), 0u);
    ASSERT_TRUE(WaitForDialEnds(1, 5000));
    const std::vector<Notification> notifications = RecordedNotifications();
    ASSERT_EQ(notifications.size(), std::size(kUsualStates) + 1);
    EXPECT_EQ(notifications[notifications.size() - 3].state, RASCS_Projected);
    EXPECT_EQ(notifications.back().state, RASCS_Disconnected);
    EXPECT_EQ(notifications.back().error, static_cast<DWORD>(ERROR_PORT_DISCONNECTED));
    RASCONNSTATUSA status;
    ASSERT_EQ(StatusOf(handle, status), 0u);
    EXPECT_EQ(status.rasconnstate, RASCS_Disconnected);
    EXPECT_EQ(status.dwError, static_cast<DWORD>(ERROR_PORT_DISCONNECTED));
}

// A dial that fails, and the state and error it must end in.
struct FailureCase {
    const char* what;
    const char* script;  // rasctl arguments run before the dial
    const char* password;
    bool dropWhileDialing;
    RASCONNSTATE state;
    DWORD error;
};

constexpr FailureCase kFailures[] = {
    {"wrong password", "account add user secret", "wrong", false, RASCS_Authenticate, ERROR_AUTHENTICATION_FAILURE},
    {"scripted", "dial fail 678 2", "secret", false, RASCS_ConnectDevice, ERROR_NO_ANSWER},
    {"after the walk", "dial fail 619 0x2001", "secret", false, RASCS_Disconnected, ERROR_PORT_DISCONNECTED},
    {"link drops", "dial time 8000", "secret", true, RASCS_Disconnected, ERROR_DISCONNECTION},
};

// Drops the entry's link once its dial is under way; answers rasctl's exit code.
std::thread DropOnceDialing(DWORD& exitCode) {
    return std::thread([&exitCode] {
        WaitUntil([] { return !StateLines("connection").empty(); }, 5000);
        exitCode = Rasctl(std::string("drop ") + kEntry).exitCode;
    });
}

DWORD DialFailure(const FailureCase& c, bool withNotifier, HRASCONN& handle) {
    RasctlOk("reset");
    CreateEntry(kEntry);
    RasctlOk(c.script);
    ClearNotifications();
    DWORD dropExit = 0;
    std::thread dropper = c.dropWhileDialing ? DropOnceDialing(dropExit) : std::thread();
    RASDIALPARAMSA params = DialParams(kEntry, "user", c.password);
    handle = nullptr;
    const auto notifier = withNotifier ? reinterpret_cast<void*>(&RecordNotification) : nullptr;
    const DWORD result = Ras().RasDialA(nullptr, nullptr, &params, 0, notifier, &handle);
    if (withNotifier) {
        EXPECT_TRUE(WaitForDialEnds(1, 10000));
    }
    if (dropper.joinable()) dropper.join();
    EXPECT_EQ(dropExit, 0u);
    return result;
}

TEST_F(SimDial, FailureIsNotifiedAfterItsStateAndAgreesWithTheStatusAndTheResult) {
    for (const FailureCase& c : kFailures) {
        for (const bool withNotifier : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (withNotifier ? ", notified" : ", synchronous"));
            HRASCONN handle;
            const DWORD result = DialFailure(c, withNotifier, handle);
            EXPECT_EQ(result, withNotifier ? 0u : c.error);
            ASSERT_NE(handle, nullptr);
            RASCONNSTATUSA status;
            ASSERT_EQ(StatusOf(handle, status), 0u);
            EXPECT_EQ(status.rasconnstate, c.state);
            EXPECT_EQ(status.dwError, c.error);
            EXPECT_EQ(Ras().RasHangUpA(handle), 0u);

            const std::vector<Notification> notifications = RecordedNotifications();
            if (!withNotifier) {
                EXPECT_TRUE(notifications.empty());
                continue;
            }
            ASSERT_GE(notifications.size(), 2u);
            const Notification& failure = notifications.back();
            const Notification& entry = notifications[notifications.size() - 2];
            EXPECT_EQ(failure.state, c.state);
            EXPECT_EQ(failure.error, c.error);
            EXPECT_EQ(entry.state, c.state) << "the failing state is first entered without error";
            EXPECT_TRUE(std::all_of(notifications.begin(), notifications.end() - 1,
                                    [](const Notification& n) { return n.error == 0; }));
        }
    }
}

TEST_F(SimDial, ScriptedRefusalMayWriteAHandleThatMustBeHungUp) {
    RasctlOk("dial refuse 633");
    HRASCONN handle;
    EXPECT_EQ(Dial(kEntry, "user", "secret", handle), static_cast<DWORD>(ERROR_PORT_NOT_AVAILABLE));
    EXPECT_EQ(handle, nullptr);

    RasctlOk("dial refuse 651 --with-handle");
    EXPECT_EQ(Dial(kEntry, "user", "secret", handle), static_cast<DWORD>(ERROR_FROM_DEVICE));
    ASSERT_NE(handle, nullptr);
    RASCONNSTATUSA status;
    ASSERT_EQ(StatusOf(handle, status), 0u);
    EXPECT_EQ(status.dwError, static_cast<DWORD>(ERROR_FROM_DEVICE));
    EXPECT_FALSE(IsListed(handle));
    EXPECT_EQ(Ras().RasHangUpA(handle), 0u);
    EXPECT_TRUE(WaitUntilClosed(handle));
    Sleep(300);
    EXPECT_TRUE(RecordedNotifications().empty());
}

TEST_F(SimDial, WithoutNotifierTheCallReturnsWhenTheDialHasEnded) {
    RasctlOk("account add user secret");
    RASDIALPARAMSA params = DialParams(kEntry, "user", "secret");
    HRASCONN handle = nullptr;
    ASSERT_EQ(Ras().RasDialA(nullptr, nullptr, &params, 0, nullptr, &handle), 0u);
    RASCONNSTATUSA status;
    ASSERT_EQ(StatusOf(handle, status), 0u);
    EXPECT_EQ(status.rasconnstate, RASCS_Connected);
    ASSERT_EQ(Ras().RasHangUpA(handle), 0u);
    ASSERT_TRUE(WaitUntilClosed(handle));

    params = DialParams(kEntry, "user", "wrong");
    handle = nullptr;
    EXPECT_EQ(Ras().RasDialA(nullptr, nullptr, &params, 0, nullptr, &handle),
              static_cast<DWORD>(ERROR_AUTHENTICATION_FAILURE));
    ASSERT_NE(handle, nullptr) << "a failed dial still hands out its handle";
    ASSERT_EQ(StatusOf(handle, status), 0u);
    EXPECT_EQ(status.dwError, static_cast<DWORD>(ERROR_AUTHENTICATION_FAILURE));
    EXPECT_EQ(Ras().RasHangUpA(handle), 0u);
}

TEST_F(SimDial, HangUpDuringTheDialEndsItsNotifications) {
    RasctlOk("dial time 2000");
    HRASCONN handle;
    ASSERT_EQ(Dial(kEntry, "user", "secret", handle), 0u);
    ASSERT_TRUE(WaitUntil([] { return !RecordedNotifications().empty(); }, 2000));
    ASSERT_EQ(Ras().RasHangUpA(handle), 0u);
    const std::size_t before = RecordedNotifications().size();
    Sleep(2500);
    const std::vector<Notification> notifications = RecordedNotifications();
    EXPECT_LE(notifications.size(), before + 1) << "at most the notification under way when hanging up";
    EXPECT_NE(notifications.back().state, RASCS_Connected);
    RASCONNSTATUSA status;
    EXPECT_EQ(StatusOf(handle, status), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(FindAdapter(Adapters(), GuidText(EntryGuid(kEntry))), nullptr);
}

TEST_F(SimDial, SecondDialOfAnEntryIsRefusedWhileDialingAndJoinsTheConnectionOnceUp) {
    RasctlOk("dial time 1500");
    HRASCONN first;
    ASSERT_EQ(Dial(kEntry, "user", "secret", first), 0u);
    HRASCONN second;
    EXPECT_EQ(Dial(kEntry, "user", "secret", second), static_cast<DWORD>(ERROR_DIAL_ALREADY_IN_PROGRESS));
    EXPECT_EQ(second, nullptr);
    ASSERT_TRUE(WaitForDialEnds(1, 5000));

    ClearNotifications();
    ASSERT_EQ(Dial(kEntry, "user", "secret", second), 0u);
    EXPECT_EQ(second, first);
    ASSERT_TRUE(WaitForDialEnds(1, 5000));
    EXPECT_EQ(States(RecordedNotifications()), std::vector<RASCONNSTATE>{RASCS_Connected});
    EXPECT_EQ(ActiveConnections().size(), 1u);
}

TEST_F(SimDial, ScriptedAddressGoesToTheNextLinkThatComesUp) {
    CreateEntry("ADSL");
    RasctlOk("dial address 10.20.30.40");
    HRASCONN handle;
    ASSERT_EQ(Dial(kEntry, "user", "secret", handle), 0u);
    ASSERT_TRUE(WaitForDialEnds(1, 5000));
    ASSERT_EQ(Dial("ADSL", "user", "secret", handle), 0u);
    ASSERT_TRUE(WaitForDialEnds(2, 5000));

    const std::vector<AdapterSummary> adapters = Adapters();
    const AdapterSummary* scripted = FindAdapter(adapters, GuidText(EntryGuid(kEntry)));
    const AdapterSummary* pooled = FindAdapter(adapters, GuidText(EntryGuid("ADSL")));
    ASSERT_NE(scripted, nullptr);
    ASSERT_NE(pooled, nullptr);
    EXPECT_EQ(scripted->address, "10.20.30.40");
    EXPECT_EQ(pooled->address.rfind("100.64.0.", 0), 0u) << pooled->address;
}

}  // namespace
}  // namespace simtest
