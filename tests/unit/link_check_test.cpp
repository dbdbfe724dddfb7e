#include "probe/link_check.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/row_substitute.h"

namespace {

constexpr std::size_t kRasGetConnectStatusRow = 5;
constexpr DWORD kErrorInvalidSize = 632;

struct FakeStatus {
    static inline DWORD result = 0;
    static inline RASCONNSTATE state = RASCS_Connected;
    static inline DWORD error = 0;
    static inline bool recordWasClean = false;

    static DWORD WINAPI RasGetConnectStatus(HRASCONN handle, RASCONNSTATUSA* status) {
        RASCONNSTATUSA clean = {};
        clean.dwSize = 332;
        recordWasClean = std::memcmp(status, &clean, sizeof clean) == 0;
        if (!handle)
            return ERROR_INVALID_HANDLE;
        status->rasconnstate = state;
        status->dwError = error;
        return result;
    }
};

class LinkCheckTest : public testing::Test {
protected:
    LinkCheckTest() { FakeStatus::result = 0; }
    bool Check(RASCONNSTATE state, DWORD error = 0) {
        FakeStatus::state = state;
        FakeStatus::error = error;
        return IsLinkUp(kSomeHandle);
    }
    static inline const HRASCONN kSomeHandle = reinterpret_cast<HRASCONN>(0x77);
    RowSubstitute<decltype(FakeStatus::RasGetConnectStatus)> status_{kRasGetConnectStatusRow,
                                                                      FakeStatus::RasGetConnectStatus};
};

}  // namespace

TEST_F(LinkCheckTest, OnlyACleanConnectedStateCountsAsUp) {
    EXPECT_TRUE(Check(RASCS_Connected));
    EXPECT_TRUE(FakeStatus::recordWasClean);
    EXPECT_FALSE(Check(RASCS_Connected, 691));
    EXPECT_FALSE(Check(RASCS_Disconnected));
    EXPECT_FALSE(Check(RASCS_Disconnected, 691));
}

TEST_F(LinkCheckTest, StatesOnTheWayAndPausedStatesAreNotUp) {
    for (RASCONNSTATE state : {0u, 1u, 5u, 14u, 21u, 24u, 0x1000u, 0x1001u, 0x1002u, 0x1003u}) {
        SCOPED_TRACE(state);
        EXPECT_FALSE(Check(state));
    }
}

TEST_F(LinkCheckTest, EveryFailedStatusQueryIsNotUp) {
    EXPECT_FALSE(IsLinkUp(nullptr));
    FakeStatus::result = kErrorInvalidSize;
    EXPECT_FALSE(Check(RASCS_Connected));
    FakeStatus::result = ERROR_INVALID_HANDLE;
    EXPECT_FALSE(Check(RASCS_Connected));
}
