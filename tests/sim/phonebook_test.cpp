// The phonebook: entry properties, name checks, the entry list and deletion.
#include <raserror.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "sim_support.h"

namespace simtest {
namespace {

constexpr char kEntry[] = "宽带连接";
constexpr char kDefaultPhonebook[] = "C:\\ProgramData\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk";

using SimPhonebook = SimTest;
using rassim::RasEntryNewest;

// A record of the newest version with every field set to something recognisable, as far as the
// service lets us; dwSize says the program's version.
RasEntryNewest FilledRecord() {
    RasEntryNewest record{};
    record.base = PppoeEntryRecord();
    std::strcpy(record.base.szLocalPhoneNumber, "ISP-SERVICE");
    std::strcpy(record.base.szScript, "C:\\script.txt");
    std::strcpy(record.base.szDnsSuffix, "example.net");
    record.base.ipaddrDns = {202, 96, 128, 86};
    record.base.dwIdleDisconnectSeconds = 600;
    record.base.dwNetworkOutageTime = 77;
    record.base.ipv6addr[15] = 1;
    std::strcpy(record.szIDi, "peer@example.net");
    record.fDisableIKEv2Fragmentation = TRUE;
    return record;
}

std::vector<BYTE> Bytes(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const BYTE*>(data);
    return std::vector<BYTE>(bytes, bytes + size);
}

// Reads an entry in `version` into a buffer with room for the newest one.
DWORD ReadEntry(const char* name, DWORD version, RasEntryNewest& record) {
    record = RasEntryNewest{};
    record.base.dwSize = version;
    DWORD size = sizeof(record);
    return Ras().RasGetEntryPropertiesA(nullptr, name, &record.base, &size, nullptr, nullptr);
}

TEST_F(SimPhonebook, EntryPropertiesReadBackEveryByteAndKeepTheEntryGuid) {
    RASENTRYA written = FilledRecord().base;
    ASSERT_EQ(Ras().RasSetEntryPropertiesA(nullptr, kEntry, &written, sizeof(written), nullptr, 0), 0u);
    RasEntryNewest read;
    ASSERT_EQ(ReadEntry(kEntry, sizeof(RASENTRYA), read), 0u);
    const GUID guid = read.base.guidId;
    EXPECT_NE(GuidText(guid), GuidText(GUID{})) << "the phonebook gives every entry a GUID";
    read.base.guidId = written.guidId;
    EXPECT_EQ(Bytes(&read.base, sizeof(written)), Bytes(&written, sizeof(written)));

    written.dwRedialCount = 9;
    ASSERT_EQ(Ras().RasSetEntryPropertiesA(nullptr, kEntry, &written, sizeof(written), nullptr, 0), 0u);
    ASSERT_EQ(ReadEntry(kEntry, sizeof(RASENTRYA), read), 0u);
    EXPECT_EQ(read.base.dwRedialCount, 9u) << "setting an existing entry changes it";
    EXPECT_EQ(GuidText(read.base.guidId), GuidText(guid)) << "and keeps its GUID";
}

TEST_F(SimPhonebook, EntryPropertiesAcceptEveryPublishedVersionAndNothingElse) {
    for (const DWORD version : kRasEntrySizes) {
        RasEntryNewest written = FilledRecord();
        written.base.dwSize = version;
        char name[16];
        std::snprintf(name, sizeof(name), "v%lu", version);
        ASSERT_EQ(Ras().RasSetEntryPropertiesA(nullptr, name, &written.base, version, nullptr, 0), 0u) << version;
        RasEntryNewest read;
        ASSERT_EQ(ReadEntry(name, sizeof(read), read), 0u);
        // Written with any version, the entry has the phonebook's GUID; the newest version shows it.
        EXPECT_NE(GuidText(read.base.guidId), GuidText(GUID{})) << version;
        read.base.guidId = written.base.guidId;
        read.base.dwSize = version;
        EXPECT_EQ(Bytes(&read, version), Bytes(&written, version)) << version;
        EXPECT_EQ(Bytes(reinterpret_cast<BYTE*>(&read) + version, sizeof(read) - version),
                  std::vector<BYTE>(sizeof(read) - version, 0))
            << "what an older version does not have reads as zero, " << version;
    }
    for (const DWORD version : {0u, 1767u, 2000u, 2952u, 3484u}) {
        RasEntryNewest record = FilledRecord();
        record.base.dwSize = version;
        EXPECT_EQ(Ras().RasSetEntryPropertiesA(nullptr, kEntry, &record.base, sizeof(record), nullptr, 0),
                  static_cast<DWORD>(ERROR_INVALID_SIZE))
            << version;
        RasEntryNewest read;
        EXPECT_EQ(ReadEntry("v2948", version, read), static_cast<DWORD>(ERROR_INVALID_SIZE)) << version;
    }
}

TEST_F(SimPhonebook, EntryPropertiesAnswerSizingCallsAndSmallBuffers) {
    CreateEntry(kEntry);
    DWORD size = 0;
    EXPECT_EQ(Ras().RasGetEntryPropertiesA(nullptr, kEntry, nullptr, &size, nullptr, nullptr),
              static_cast<DWORD>(ERROR_BUFFER_TOO_SMALL));
    EXPECT_EQ(size, sizeof(RasEntryNewest)) << "a sizing call answers the newest version";
    RASENTRYA record{};
    record.dwSize = sizeof(record);
    size = 100;
    EXPECT_EQ(Ras().RasGetEntryPropertiesA(nullptr, kEntry, &record, &size, nullptr, nullptr),
              static_cast<DWORD>(ERROR_BUFFER_TOO_SMALL));
    EXPECT_EQ(size, sizeof(RASENTRYA));
    RasEntryNewest read;
    EXPECT_EQ(ReadEntry("不存在", sizeof(RASENTRYA), read), static_cast<DWORD>(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY));
    ASSERT_EQ(ReadEntry("", sizeof(RASENTRYA), read), 0u) << "an empty name reads the defaults";
    EXPECT_EQ(read.base.dwSize, sizeof(RASENTRYA));
}

TEST_F(SimPhonebook, SetRefusesIncompleteRecordsBadNamesAndOtherPhonebooks) {
    RASENTRYA record = PppoeEntryRecord();
    RASENTRYA noDevice = record;
    noDevice.szDeviceType[0] = '\0';
    RASENTRYA noFraming = record;
    noFraming.dwFramingProtocol = 0;
    RASENTRYA noType = record;
    noType.dwType = 0;
    for (RASENTRYA* incomplete : {&noDevice, &noFraming, &noType}) {
        EXPECT_EQ(Ras().RasSetEntryPropertiesA(nullptr, kEntry, incomplete, sizeof(record), nullptr, 0),
                  static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
    EXPECT_EQ(Ras().RasSetEntryPropertiesA(nullptr, kEntry, nullptr, sizeof(record), nullptr, 0),
              static_cast<DWORD>(ERROR_BUFFER_INVALID));
    EXPECT_EQ(Ras().RasSetEntryPropertiesA(nullptr, kEntry, &record, sizeof(record) - 1, nullptr, 0),
              static_cast<DWORD>(ERROR_BUFFER_INVALID));
    EXPECT_EQ(Ras().RasSetEntryPropertiesA(nullptr, "a:b", &record, sizeof(record), nullptr, 0),
              static_cast<DWORD>(ERROR_INVALID_NAME));
    EXPECT_EQ(Ras().RasSetEntryPropertiesA("C:\\other.pbk", kEntry, &record, sizeof(record), nullptr, 0),
              static_cast<DWORD>(ERROR_CANNOT_OPEN_PHONEBOOK));
    EXPECT_TRUE(StateLines("entry").empty()) << "nothing refused may reach the phonebook";
    EXPECT_EQ(Ras().RasSetEntryPropertiesA(kDefaultPhonebook, kEntry, &record, sizeof(record), nullptr, 0), 0u)
        << "the default phonebook by its path";
}

struct NameCase {
    std::string name;
    DWORD expected;
};

TEST_F(SimPhonebook, ValidateEntryNameAppliesTheFormatRulesAndFindsExistingNames) {
    CreateEntry(kEntry);
    const std::vector<NameCase> cases = {
        {"我的宽带", ERROR_SUCCESS},
        {"乗连接", ERROR_SUCCESS},  // its GBK trail byte is 0x5C, a backslash on its own
        {"a.b c", ERROR_SUCCESS},
        {std::string(256, 'a'), ERROR_SUCCESS},
        {kEntry, ERROR_ALREADY_EXISTS},
        {"", ERROR_INVALID_NAME},
        {"   ", ERROR_INVALID_NAME},
        {".hidden", ERROR_INVALID_NAME},
        {std::string(257, 'a'), ERROR_INVALID_NAME},
        {"a|b", ERROR_INVALID_NAME},
        {"a>b", ERROR_INVALID_NAME},
        {"a<b", ERROR_INVALID_NAME},
        {"a?b", ERROR_INVALID_NAME},
        {"a*b", ERROR_INVALID_NAME},
        {"a\\b", ERROR_INVALID_NAME},
        {"a/b", ERROR_INVALID_NAME},
        {"a:b", ERROR_INVALID_NAME},
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(Ras().RasValidateEntryNameA(nullptr, c.name.c_str()), c.expected) << c.name;
    }
    EXPECT_EQ(Ras().RasValidateEntryNameA("C:\\other.pbk", "新连接"),
              static_cast<DWORD>(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY));
}

TEST_F(SimPhonebook, EntryListIsSizedThenFilledInEitherVersion) {
    DWORD bytes = 0;
    DWORD count = 99;
    EXPECT_EQ(Ras().RasEnumEntriesA(nullptr, nullptr, nullptr, &bytes, &count), 0u);
    EXPECT_EQ(bytes, 0u);
    EXPECT_EQ(count, 0u);

    const char* names[] = {kEntry, "ADSL", "乗连接"};
    for (const char* name : names) CreateEntry(name);
    EXPECT_EQ(Ras().RasEnumEntriesA(nullptr, nullptr, nullptr, &bytes, &count),
              static_cast<DWORD>(ERROR_BUFFER_TOO_SMALL));
    EXPECT_EQ(bytes, 3 * sizeof(RASENTRYNAMEA));
    EXPECT_EQ(count, 3u) << "the program divides the byte count by it";

    for (const DWORD size : kRasEntryNameSizes) {
        std::vector<BYTE> buffer(3 * sizeof(RASENTRYNAMEA) + 16, 0xCD);
        reinterpret_cast<RASENTRYNAMEA*>(buffer.data())->dwSize = size;
        bytes = size;
        EXPECT_EQ(
            Ras().RasEnumEntriesA(nullptr, nullptr, reinterpret_cast<RASENTRYNAMEA*>(buffer.data()), &bytes, &count),
            static_cast<DWORD>(ERROR_BUFFER_TOO_SMALL));
        EXPECT_EQ(bytes, 3 * size);
        ASSERT_EQ(
            Ras().RasEnumEntriesA(nullptr, nullptr, reinterpret_cast<RASENTRYNAMEA*>(buffer.data()), &bytes, &count),
            0u);
        ASSERT_EQ(count, 3u);
        for (DWORD i = 0; i < count; ++i) {
            const BYTE* record = buffer.data() + i * size;
            EXPECT_STREQ(reinterpret_cast<const char*>(record + 4), names[i]) << size;
            if (size == sizeof(RASENTRYNAMEA)) {
                EXPECT_STREQ(reinterpret_cast<const char*>(record + offsetof(RASENTRYNAMEA, szPhonebookPath)),
                             kDefaultPhonebook);
            }
        }
        EXPECT_EQ(buffer[3 * size], 0xCD) << "nothing written past the records, " << size;
    }
    RASENTRYNAMEA record{};
    record.dwSize = 300;
    bytes = sizeof(record);
    EXPECT_EQ(Ras().RasEnumEntriesA(nullptr, nullptr, &record, &bytes, &count), static_cast<DWORD>(ERROR_INVALID_SIZE));
    EXPECT_EQ(Ras().RasEnumEntriesA("reserved", nullptr, nullptr, &bytes, &count),
              static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(Ras().RasEnumEntriesA(nullptr, "C:\\other.pbk", nullptr, &bytes, &count),
              static_cast<DWORD>(ERROR_CANNOT_OPEN_PHONEBOOK));
}

TEST_F(SimPhonebook, DeletedEntryIsGoneFromEveryView) {
    CreateEntry(kEntry);
    CreateEntry("ADSL");
    EXPECT_EQ(Ras().RasDeleteEntryA(nullptr, kEntry), 0u);
    EXPECT_EQ(Ras().RasDeleteEntryA(nullptr, kEntry), static_cast<DWORD>(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY));
    EXPECT_EQ(Ras().RasValidateEntryNameA(nullptr, kEntry), 0u);
    RasEntryNewest record;
    EXPECT_EQ(ReadEntry(kEntry, sizeof(RASENTRYA), record), static_cast<DWORD>(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY));
    HRASCONN handle;
    EXPECT_EQ(Dial(kEntry, "user", "secret", handle), static_cast<DWORD>(ERROR_CANNOT_FIND_PHONEBOOK_ENTRY));
    const std::vector<std::string> entries = StateLines("entry");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_NE(entries[0].find("name=\"ADSL\""), std::string::npos);
    EXPECT_EQ(Ras().RasDeleteEntryA("C:\\other.pbk", "ADSL"), static_cast<DWORD>(ERROR_CANNOT_OPEN_PHONEBOOK));
}

}  // namespace
}  // namespace simtest
