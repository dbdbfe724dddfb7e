// The phonebook listing against a service that answers with records of the size it chooses.
#include "phonebook/entry_listing.h"

#include <gtest/gtest.h>

#include <raserror.h>

#include <cstring>

#include "dialup/ras_records.h"
#include "tests/support/row_substitute.h"

namespace {

constexpr std::size_t kEnumEntriesRow = 26;
constexpr std::size_t kGetCredentialsRow = 14;

struct FakePhonebook {
    static inline DWORD recordSize = 532;
    static inline std::vector<std::pair<std::string, std::string>> entries;
    static inline DWORD sizingEntryCount = 0;  // what the sizing call reports
    static inline DWORD listingResult = 0;
    static inline int calls = 0;

    static DWORD WINAPI EnumEntries(LPCSTR, LPCSTR, RASENTRYNAMEA* buffer, DWORD* bytes, DWORD* count) {
        ++calls;
        const DWORD needed = recordSize * static_cast<DWORD>(entries.size());
        if (!buffer) {
            *bytes = needed;
            *count = sizingEntryCount;
            return ERROR_BUFFER_TOO_SMALL;
        }
        if (listingResult != 0 || buffer->dwSize != recordSize || *bytes < needed)
            return listingResult ? listingResult : ERROR_INVALID_SIZE;
        auto* bytesOut = reinterpret_cast<char*>(buffer);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            char* record = bytesOut + i * recordSize;
            std::memcpy(record, &recordSize, sizeof recordSize);
            std::strcpy(record + 4, entries[i].first.c_str());
            if (recordSize >= 532)
                std::strcpy(record + 268, entries[i].second.c_str());
        }
        *count = static_cast<DWORD>(entries.size());
        return 0;
    }
};

struct FakeCredentials {
    static inline DWORD size = 0;
    static inline DWORD mask = 0;
    static DWORD WINAPI Get(LPCSTR, LPCSTR entry, RASCREDENTIALSA* credentials) {
        size = credentials->dwSize;
        mask = credentials->dwMask;
        if (std::strcmp(entry, "无账号") == 0)
            return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
        std::strcpy(credentials->szUserName, "user@isp");
        return 0;
    }
};

struct ListingCase {
    const char* what;
    DWORD recordSize;
    std::size_t entryCount;
    DWORD sizingEntryCount;
    DWORD listingResult;
    std::vector<PhonebookEntry> expected;
};

}  // namespace

TEST(EntryListing, RecordSizeComesFromTheSizingAnswer) {
    const std::vector<std::pair<std::string, std::string>> two = {{"宽带连接", "C:\\a.pbk"}, {"宽带连接2", "C:\\b.pbk"}};
    const ListingCase cases[] = {
        {"records with the path", 532, 2, 2, 0, {{"宽带连接", "C:\\a.pbk"}, {"宽带连接2", "C:\\b.pbk"}}},
        {"older records without it", 264, 2, 2, 0, {{"宽带连接", ""}, {"宽带连接2", ""}}},
        {"no entries", 532, 0, 0, 0, {}},
        {"bytes but no entry count", 532, 2, 0, 0, {{"宽带连接", "C:\\a.pbk"}, {"宽带连接2", "C:\\b.pbk"}}},
        {"a failing listing call", 532, 2, 2, 603, {}},
    };
    RowSubstitute<decltype(FakePhonebook::EnumEntries)> row(kEnumEntriesRow, FakePhonebook::EnumEntries);
    for (const ListingCase& c : cases) {
        SCOPED_TRACE(c.what);
        FakePhonebook::recordSize = c.recordSize;
        FakePhonebook::entries.assign(two.begin(), two.begin() + c.entryCount);
        FakePhonebook::sizingEntryCount = c.sizingEntryCount;
        FakePhonebook::listingResult = c.listingResult;
        FakePhonebook::calls = 0;
        const std::vector<PhonebookEntry> listed = ListPhonebookEntries();
        ASSERT_EQ(listed.size(), c.expected.size());
        for (std::size_t i = 0; i < listed.size(); ++i) {
            EXPECT_EQ(listed[i].name, c.expected[i].name);
            EXPECT_EQ(listed[i].phonebookPath, c.expected[i].phonebookPath);
        }
        EXPECT_LE(FakePhonebook::calls, 2);
    }
}

TEST(EntryListing, TheStoredUserNameIsAskedForWithThePublishedRecord) {
    RowSubstitute<decltype(FakeCredentials::Get)> row(kGetCredentialsRow, FakeCredentials::Get);
    EXPECT_EQ(GetEntryUserName("宽带连接"), "user@isp");
    EXPECT_EQ(FakeCredentials::size, 540u);
    EXPECT_EQ(FakeCredentials::mask, RASCM_UserName | RASCM_Password);
    EXPECT_EQ(GetEntryUserName("无账号"), "");
}
