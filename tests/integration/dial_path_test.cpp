// The dial request and the link check through the real binding table against the simulated
// dial-up service, each test in a world of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "dialup/system_functions.h"
#include "probe/adapter_addresses.h"
#include "probe/dial_request.h"
#include "probe/link_check.h"
#include "tests/support/rasctl_client.h"

namespace {

using rasctl_client::RasctlOk;
using rasctl_client::StateLines;

constexpr const char* kEntry = "宽带连接";

struct Progress {
    RASCONNSTATE state;
    DWORD error;
    DWORD thread;
};

std::mutex gProgressLock;
std::vector<Progress> gProgress;

void WINAPI RecordProgress(UINT, RASCONNSTATE state, DWORD error) {
    std::lock_guard lock(gProgressLock);
    gProgress.push_back({state, error, GetCurrentThreadId()});
}

std::vector<Progress> ProgressSoFar() {
    std::lock_guard lock(gProgressLock);
    return gProgress;
}

bool DialHasEnded() {
    for (const Progress& progress : ProgressSoFar())
        if (progress.error != 0 || progress.state == RASCS_Connected)
            return true;
    return false;
}

// A hung-up connection takes a while to close.
bool WaitForNoConnection() {
    for (int check = 0; check < 100; ++check) {
        if (StateLines("connection").empty())
            return true;
        Sleep(50);
    }
    return false;
}

// The callers' poll: up to 100 checks 100 ms apart.
bool PollLinkUp(HRASCONN handle) {
    for (int check = 0; check < 100; ++check) {
        if (IsLinkUp(handle))
            return true;
        Sleep(100);
    }
    return false;
}

class DialPathTest : public testing::Test {
protected:
    void SetUp() override {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        SetEnvironmentVariableA("RASSIM_WORLD", (std::string("dialpath-") + test->name()).c_str());
        RasctlOk("reset");
        RasctlOk(std::string("entry add ") + kEntry);
        RasctlOk("account add user@isp secret");
    }
};

}  // namespace

TEST_F(DialPathTest, ADialThatConnectsIsUpAndReportsItsStatesFromAnotherThread) {
    HRASCONN handle = DialEntry(kEntry, "user@isp", "secret", RecordProgress);
    ASSERT_NE(handle, nullptr);
    EXPECT_TRUE(PollLinkUp(handle));

    const std::vector<Progress> progress = ProgressSoFar();
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back().state, RASCS_Connected);
    for (const Progress& step : progress) {
        EXPECT_EQ(step.error, 0u);
        EXPECT_NE(step.thread, GetCurrentThreadId());
    }
    EXPECT_EQ(StateLines("connection").size(), 1u);
}

TEST_F(DialPathTest, AWrongPasswordEndsIn691AndIsNeverUp) {
    HRASCONN handle = DialEntry(kEntry, "user@isp", "wrong", RecordProgress);
    ASSERT_NE(handle, nullptr);
    EXPECT_FALSE(PollLinkUp(handle));
    ASSERT_TRUE(DialHasEnded());
    EXPECT_EQ(ProgressSoFar().back().error, 691u);
    EXPECT_EQ(sys::RasHangUpA(handle), 0u);
}

TEST_F(DialPathTest, AFailureThatEndsDisconnectedWithItsErrorIsNotUp) {
    RasctlOk("dial fail 691 0x2001");
    HRASCONN handle = DialEntry(kEntry, "user@isp", "secret", RecordProgress);
    ASSERT_NE(handle, nullptr);
    for (int check = 0; check < 100 && !DialHasEnded(); ++check)
        Sleep(50);
    ASSERT_TRUE(DialHasEnded());

    RASCONNSTATUSA status = {};
    status.dwSize = sizeof status;
    ASSERT_EQ(sys::RasGetConnectStatusA(handle, &status), 0u);
    EXPECT_EQ(status.rasconnstate, RASCS_Disconnected);
    EXPECT_EQ(status.dwError, 691u);
    EXPECT_FALSE(IsLinkUp(handle));
    sys::RasHangUpA(handle);
}

TEST_F(DialPathTest, ARefusedRequestYieldsNoHandleAndLeavesNoConnection) {
    RasctlOk("dial refuse 633 --with-handle");
    EXPECT_EQ(DialEntry(kEntry, "user@isp", "secret", RecordProgress), nullptr);
    EXPECT_TRUE(WaitForNoConnection());
    EXPECT_TRUE(StateLines("dial-refuse").empty());

    EXPECT_EQ(DialEntry("没有这个连接", "user@isp", "secret", RecordProgress), nullptr);
    EXPECT_FALSE(IsLinkUp(nullptr));
}

TEST_F(DialPathTest, AHangUpTakesTheLinkDown) {
    HRASCONN handle = DialEntry(kEntry, "user@isp", "secret", RecordProgress);
    ASSERT_TRUE(PollLinkUp(handle));
    EXPECT_EQ(sys::RasHangUpA(handle), 0u);
    EXPECT_FALSE(IsLinkUp(handle));
    EXPECT_TRUE(WaitForNoConnection());
    EXPECT_EQ(sys::RasHangUpA(handle), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(DialPathTest, WhereNoAdapterCarriesTheEntryGuidTheAddressComesFromTheProjection) {
    RasctlOk("adapter names other");
    RasctlOk(std::string("up ") + kEntry + " --address 10.9.0.7");
    EXPECT_FALSE(FindEntryAdapter(kEntry));
    EXPECT_EQ(GetEntryAddress(kEntry), "10.9.0.7");
}
