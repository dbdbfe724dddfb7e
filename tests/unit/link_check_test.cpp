#include "probe/link_check.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/row_substitute.h"

namespace {

constexpr std::size_t kGetLocalTimeRow = 1;
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

struct FakeClock {
    static inline SYSTEMTIME now = {};
    static void WINAPI GetLocalTime(SYSTEMTIME* time) { *time = now; }
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

class ClockTest : public testing::Test {
protected:
    static void SetNow(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD milliseconds = 0) {
        FakeClock::now = {year, month, 0, day, hour, minute, second, milliseconds};
    }
    RowSubstitute<decltype(FakeClock::GetLocalTime)> clock_{kGetLocalTimeRow, FakeClock::GetLocalTime};
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

TEST_F(ClockTest, CountsFromEightOClockOnTheFirstOfJanuary1970) {
    SetNow(1970, 1, 1, 8, 0, 0, 999);
    EXPECT_EQ(ClockSeconds(), 0);
    SetNow(1970, 1, 2, 8, 0, 0);
    EXPECT_EQ(ClockSeconds(), 86400);
    // The Unix time of the same instant in a zone eight hours east of UTC.
    SetNow(2026, 12, 8, 20, 7, 36);
    EXPECT_EQ(ClockSeconds(), 1796731656);
    SetNow(1969, 12, 31, 8, 0, 0);
    EXPECT_EQ(ClockSeconds(), -86400);
}

TEST_F(ClockTest, ValuesNinetySecondsApartDifferByNinetyAcrossDayMonthAndYearEnds) {
    struct Pair {
        SYSTEMTIME before, after;
    };
    const Pair pairs[] = {
        {{2024, 2, 0, 28, 23, 59, 30, 0}, {2024, 2, 0, 29, 0, 1, 0, 0}},
        {{2023, 2, 0, 28, 23, 59, 30, 0}, {2023, 3, 0, 1, 0, 1, 0, 0}},
        {{2026, 12, 0, 31, 23, 59, 0, 0}, {2027, 1, 0, 1, 0, 0, 30, 0}},
        {{2026, 6, 0, 15, 12, 0, 0, 0}, {2026, 6, 0, 15, 12, 1, 30, 0}},
    };
    for (const Pair& pair : pairs) {
        FakeClock::now = pair.before;
        std::int64_t before = ClockSeconds();
        FakeClock::now = pair.after;
        EXPECT_EQ(ClockSeconds() - before, 90) << pair.after.wYear << "-" << pair.after.wMonth;
    }
}
