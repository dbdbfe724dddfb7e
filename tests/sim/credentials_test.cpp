// Stored credentials: masks, the saved-password handle, and what a dial leaves behind.
#include <raserror.h>

#include <cstring>

#include "sim_support.h"

namespace simtest {
namespace {

constexpr char kEntry[] = "宽带连接";
constexpr char kSavedPasswordHandle[] = "****************";

class SimCredentials : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        CreateEntry(kEntry);
    }
};

RASCREDENTIALSA Credentials(DWORD mask, const char* userName = "", const char* password = "", const char* domain = "") {
    RASCREDENTIALSA credentials{};
    credentials.dwSize = sizeof(credentials);
    credentials.dwMask = mask;
    std::strcpy(credentials.szUserName, userName);
    std::strcpy(credentials.szPassword, password);
    std::strcpy(credentials.szDomain, domain);
    return credentials;
}

DWORD Get(DWORD mask, RASCREDENTIALSA& credentials) {
    credentials = Credentials(mask);
    return Ras().RasGetCredentialsA(nullptr, kEntry, &credentials);
}

TEST_F(SimCredentials, MaskSelectsWhatIsStoredAndRetrievedAndThePasswordStaysHidden) {
    RASCREDENTIALSA credentials;
    ASSERT_EQ(Get(RASCM_UserName | RASCM_Password, credentials), 0u);
    EXPECT_EQ(credentials.dwMask, 0u) << "a new entry stores nothing";

    RASCREDENTIALSA stored = Credentials(RASCM_UserName | RASCM_Password | RASCM_Domain, "宽带账号", "secret", "ISP");
    ASSERT_EQ(Ras().RasSetCredentialsA(nullptr, kEntry, &stored, FALSE), 0u);
    ASSERT_EQ(Get(RASCM_UserName | RASCM_Password | RASCM_Domain, credentials), 0u);
    EXPECT_EQ(credentials.dwMask, static_cast<DWORD>(RASCM_UserName | RASCM_Password | RASCM_Domain));
    EXPECT_STREQ(credentials.szUserName, "宽带账号");
    EXPECT_STREQ(credentials.szDomain, "ISP");
    EXPECT_STREQ(credentials.szPassword, kSavedPasswordHandle) << "never the password itself";

    ASSERT_EQ(Get(RASCM_UserName, credentials), 0u);
    EXPECT_EQ(credentials.dwMask, static_cast<DWORD>(RASCM_UserName));
    EXPECT_STREQ(credentials.szPassword, "");

    RASCREDENTIALSA clear = Credentials(RASCM_Password);
    ASSERT_EQ(Ras().RasSetCredentialsA(nullptr, kEntry, &clear, TRUE), 0u);
    ASSERT_EQ(Get(RASCM_UserName | RASCM_Password, credentials), 0u);
    EXPECT_EQ(credentials.dwMask, static_cast<DWORD>(RASCM_UserName)) << "only the password was cleared";
}

TEST_F(SimCredentials, RecordSizeEntryAndPhonebookAreChecked) {
    RASCREDENTIALSA credentials = Credentials(RASCM_UserName);
    for (const DWORD size : {0u, 536u, 544u, 1000u}) {
        credentials.dwSize = size;
        EXPECT_EQ(Ras().RasGetCredentialsA(nullptr, kEntry, &credentials), static_cast<DWORD>(ERROR_INVALID_SIZE))
            << size;
        EXPECT_EQ(Ras().RasSetCredentialsA(nullptr, kEntry, &credentials, FALSE),
                  static_cast<DWORD>(ERROR_INVALID_SIZE))
            << size;
    }
    credentials.dwSize = sizeof(credentials);
    EXPECT_EQ(Ras().RasGetCredentialsA(nullptr, "不存在", &credentials),
              static_cast<DWORD>(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY));
    EXPECT_EQ(Ras().RasGetCredentialsA("C:\\other.pbk", kEntry, &credentials),
              static_cast<DWORD>(ERROR_CANNOT_OPEN_PHONEBOOK));
    EXPECT_EQ(Ras().RasGetCredentialsA(nullptr, kEntry, nullptr), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(SimCredentials, SavedPasswordHandleStandsForTheSavedPassword) {
    RasctlOk("account add user secret");
    RASCREDENTIALSA stored = Credentials(RASCM_UserName | RASCM_Password, "user", "secret");
    ASSERT_EQ(Ras().RasSetCredentialsA(nullptr, kEntry, &stored, FALSE), 0u);
    RASCREDENTIALSA again = Credentials(RASCM_Password, "", kSavedPasswordHandle);
    ASSERT_EQ(Ras().RasSetCredentialsA(nullptr, kEntry, &again, FALSE), 0u)
        << "giving the handle back keeps the password";

    HRASCONN handle;
    ASSERT_EQ(Dial(kEntry, "user", kSavedPasswordHandle, handle), 0u);
    ASSERT_TRUE(WaitForDialEnds(1, 5000));
    EXPECT_EQ(RecordedNotifications().back().state, RASCS_Connected);
    EXPECT_NE(StateLines("entry")[0].find("password=\"secret\""), std::string::npos);
}

TEST_F(SimCredentials, EntryKeepsTheUserNameOfTheLastSuccessfulDial) {
    RasctlOk("account add good secret");
    HRASCONN handle;
    ASSERT_EQ(Dial(kEntry, "bad", "secret", handle), 0u);
    ASSERT_TRUE(WaitForDialEnds(1, 5000));
    ASSERT_EQ(Ras().RasHangUpA(handle), 0u);
    ASSERT_TRUE(WaitUntilClosed(handle));
    RASCREDENTIALSA credentials;
    ASSERT_EQ(Get(RASCM_UserName, credentials), 0u);
    EXPECT_EQ(credentials.dwMask, 0u) << "a failed dial leaves nothing";

    ASSERT_EQ(Dial(kEntry, "good", "secret", handle), 0u);
    ASSERT_TRUE(WaitForDialEnds(2, 5000));
    ASSERT_EQ(Get(RASCM_UserName | RASCM_Password, credentials), 0u);
    EXPECT_EQ(credentials.dwMask, static_cast<DWORD>(RASCM_UserName));
    EXPECT_STREQ(credentials.szUserName, "good");
}

TEST_F(SimCredentials, ControlToolStoresCredentialsWithNewEntries) {
    RasctlOk("entry add ADSL 账号 pw");
    RASCREDENTIALSA credentials = Credentials(RASCM_UserName | RASCM_Password);
    ASSERT_EQ(Ras().RasGetCredentialsA(nullptr, "ADSL", &credentials), 0u);
    EXPECT_EQ(credentials.dwMask, static_cast<DWORD>(RASCM_UserName | RASCM_Password));
    EXPECT_STREQ(credentials.szUserName, "账号");
}

}  // namespace
}  // namespace simtest
