#include "probe/dial_request.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/row_substitute.h"

namespace {

constexpr std::size_t kRasDialRow = 2;
constexpr std::size_t kRasHangUpRow = 12;

struct DialCall {
    void* extensions;
    const char* phonebook;
    RASDIALPARAMSA params;
    DWORD notifierType;
    RasDialFunc notifier;
};

// What the fake service saw, and how it answers.
struct FakeService {
    static inline std::vector<DialCall> dials;
    static inline std::vector<HRASCONN> hangUps;
    static inline DWORD dialResult = 0;
    static inline HRASCONN writtenHandle = nullptr;

    static DWORD WINAPI RasDial(void* extensions, LPCSTR phonebook, RASDIALPARAMSA* params, DWORD notifierType,
                                RasDialFunc notifier, HRASCONN* handle) {
        dials.push_back({extensions, phonebook, *params, notifierType, notifier});
        *handle = writtenHandle;
        return dialResult;
    }
    static DWORD WINAPI RasHangUp(HRASCONN handle) {
        hangUps.push_back(handle);
        return 0;
    }
};

void WINAPI Notifier(UINT, RASCONNSTATE, DWORD) {}

class DialEntryTest : public testing::Test {
protected:
    DialEntryTest() {
        FakeService::dials.clear();
        FakeService::hangUps.clear();
        FakeService::dialResult = 0;
        FakeService::writtenHandle = reinterpret_cast<HRASCONN>(0x5150);
    }
    RowSubstitute<decltype(FakeService::RasDial)> dial_{kRasDialRow, FakeService::RasDial};
    RowSubstitute<decltype(FakeService::RasHangUp)> hangUp_{kRasHangUpRow, FakeService::RasHangUp};
};

bool AllNul(const char* member, std::size_t size) {
    return std::string(member, size) == std::string(size, '\0');
}

}  // namespace

TEST_F(DialEntryTest, FillsTheFirstRecordVersionAndReturnsTheHandle) {
    HRASCONN handle = DialEntry("宽带连接", "user@isp", "secret", Notifier);
    EXPECT_EQ(handle, reinterpret_cast<HRASCONN>(0x5150));
    ASSERT_EQ(FakeService::dials.size(), 1u);
    const DialCall& call = FakeService::dials[0];
    EXPECT_EQ(call.params.dwSize, 1052u);
    EXPECT_STREQ(call.params.szEntryName, "宽带连接");
    EXPECT_STREQ(call.params.szUserName, "user@isp");
    EXPECT_STREQ(call.params.szPassword, "secret");
    EXPECT_TRUE(AllNul(call.params.szPhoneNumber, sizeof call.params.szPhoneNumber));
    EXPECT_TRUE(AllNul(call.params.szCallbackNumber, sizeof call.params.szCallbackNumber));
    EXPECT_TRUE(AllNul(call.params.szDomain, sizeof call.params.szDomain));
    EXPECT_EQ(call.extensions, nullptr);
    EXPECT_EQ(call.phonebook, nullptr);
    EXPECT_EQ(call.notifierType, 0u);
    EXPECT_EQ(call.notifier, &Notifier);
    EXPECT_TRUE(FakeService::hangUps.empty());
}

TEST_F(DialEntryTest, TextsLongerThanTheirMemberAreCutBeforeTheLastByte) {
    const std::string longText(300, 'x');
    DialEntry(longText, longText, longText, Notifier);
    ASSERT_EQ(FakeService::dials.size(), 1u);
    const RASDIALPARAMSA& params = FakeService::dials[0].params;
    EXPECT_EQ(std::string(params.szEntryName), std::string(256, 'x'));
    EXPECT_EQ(std::string(params.szUserName), std::string(256, 'x'));
    EXPECT_EQ(std::string(params.szPassword), std::string(256, 'x'));
    EXPECT_EQ(params.szUserName[256], '\0');
    EXPECT_TRUE(AllNul(params.szPhoneNumber, sizeof params.szPhoneNumber));
}

TEST_F(DialEntryTest, AnEmptyPasswordIsStillDialled) {
    EXPECT_NE(DialEntry("宽带连接", "user", "", Notifier), nullptr);
    ASSERT_EQ(FakeService::dials.size(), 1u);
    const RASDIALPARAMSA& params = FakeService::dials[0].params;
    EXPECT_TRUE(AllNul(params.szPassword, sizeof params.szPassword));
}

TEST_F(DialEntryTest, ARefusalYieldsNoHandleAndReleasesAHandleTheServiceWrote) {
    FakeService::dialResult = 623;
    EXPECT_EQ(DialEntry("gone", "user", "pw", Notifier), nullptr);
    EXPECT_EQ(FakeService::hangUps, std::vector<HRASCONN>{reinterpret_cast<HRASCONN>(0x5150)});
}

TEST_F(DialEntryTest, ARefusalWithoutAHandleHangsNothingUp) {
    FakeService::dialResult = 633;
    FakeService::writtenHandle = nullptr;
    EXPECT_EQ(DialEntry("busy", "user", "pw", Notifier), nullptr);
    EXPECT_TRUE(FakeService::hangUps.empty());
}
