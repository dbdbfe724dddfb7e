// The active connection list and the adapter addresses over substituted service rows.
#include "probe/active_connections.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dialup/system_functions.h"
#include "probe/adapter_addresses.h"
#include "tests/support/row_substitute.h"

namespace {

constexpr std::size_t kEnumConnectionsRow = 6;
constexpr std::size_t kAdaptersRow = 8;
constexpr std::size_t kProjectionRow = 31;
constexpr DWORD kBufferTooSmall = 603;

struct Listed {
    std::uintptr_t handle;
    std::u16string name;
    GUID guid;
};

struct Adapter {
    const char* name;
    const char* address;
};

struct FakeService {
    static inline std::vector<Listed> connections;
    static inline DWORD enumResult = 0;
    static inline DWORD offeredBytes = 0;
    static inline DWORD firstRecordSize = 0;
    static inline std::vector<Adapter> adapters;
    static inline int adapterCalls = 0;
    static inline ULONG secondAdapterResult = ERROR_SUCCESS;

    static DWORD WINAPI EnumConnections(RASCONNW* records, DWORD* bytes, DWORD* count) {
        offeredBytes = *bytes;
        firstRecordSize = records->dwSize;
        if (enumResult != 0)
            return enumResult;
        for (std::size_t i = 0; i < connections.size(); ++i) {
            records[i].hrasconn = reinterpret_cast<HRASCONN>(connections[i].handle);
            std::memcpy(records[i].szEntryName, connections[i].name.c_str(), 2 * connections[i].name.size());
            records[i].guidEntry = connections[i].guid;
        }
        *count = static_cast<DWORD>(connections.size());
        return 0;
    }

    static DWORD WINAPI GetProjectionInfo(HRASCONN, DWORD, void*, DWORD*) { return 730; }  // not complete

    static ULONG WINAPI GetAdaptersInfo(IP_ADAPTER_INFO* buffer, ULONG* size) {
        ++adapterCalls;
        const ULONG needed = static_cast<ULONG>(adapters.size() * sizeof(IP_ADAPTER_INFO));
        if (!buffer || *size < needed) {
            *size = needed;
            return ERROR_BUFFER_OVERFLOW;
        }
        if (secondAdapterResult != ERROR_SUCCESS)
            return secondAdapterResult;
        for (std::size_t i = 0; i < adapters.size(); ++i) {
            std::strcpy(buffer[i].AdapterName, adapters[i].name);
            std::strcpy(buffer[i].IpAddressList.IpAddress.String, adapters[i].address);
            buffer[i].Next = i + 1 < adapters.size() ? &buffer[i + 1] : nullptr;
        }
        return ERROR_SUCCESS;
    }
};

constexpr GUID kGuidA = {0x0000ABCD, 0x00EF, 0x0A01, {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08}};
constexpr GUID kGuidB = {0x12345678, 0x9ABC, 0xDEF0, {0xFF, 0xEE, 0xDD, 0xCC, 0xBB, 0xAA, 0x99, 0x88}};
constexpr const char* kTextA = "{0000ABCD-00EF-0A01-0102-030405060708}";
constexpr const char* kTextB = "{12345678-9ABC-DEF0-FFEE-DDCCBBAA9988}";

class ProbeTest : public testing::Test {
protected:
    ProbeTest() {
        FakeService::connections.clear();
        FakeService::enumResult = 0;
        FakeService::adapters = {{"{LAN}", "192.168.1.100"}};
        FakeService::adapterCalls = 0;
        FakeService::secondAdapterResult = ERROR_SUCCESS;
    }
    RowSubstitute<decltype(FakeService::EnumConnections)> enum_{kEnumConnectionsRow, FakeService::EnumConnections};
    RowSubstitute<decltype(FakeService::GetAdaptersInfo)> adapters_{kAdaptersRow, FakeService::GetAdaptersInfo};
    RowSubstitute<decltype(FakeService::GetProjectionInfo)> projection_{kProjectionRow, FakeService::GetProjectionInfo};
};

}  // namespace

TEST(FormatGuid, KeepsLeadingZerosAndWritesNumbersMostSignificantFirst) {
    EXPECT_EQ(FormatGuid(kGuidA), kTextA);
    EXPECT_EQ(FormatGuid(kGuidB), kTextB);
}

TEST_F(ProbeTest, ListsConnectionsInOrderWithGbkNamesFromOneFullSizedCall) {
    FakeService::connections = {{0x10, u"宽带连接", kGuidA}, {0x20, u"PPPoE", kGuidB}, {0x30, u"宽带😀", kGuidB}};
    const std::vector<ActiveConnection> list = ListActiveConnections();
    EXPECT_EQ(FakeService::offeredBytes, 256 * sizeof(RASCONNW));
    EXPECT_EQ(FakeService::firstRecordSize, sizeof(RASCONNW));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].handle, reinterpret_cast<HRASCONN>(0x10));
    EXPECT_EQ(list[0].entryName, "宽带连接");
    EXPECT_EQ(list[0].entryGuid, kTextA);
    EXPECT_EQ(list[1].entryName, "PPPoE");
    EXPECT_EQ(list[2].entryName, "");
    EXPECT_EQ(list[2].entryGuid, kTextB);
}

TEST_F(ProbeTest, AFailedEnumerationListsNoneOfTheConnections) {
    FakeService::connections = {{0x10, u"宽带连接", kGuidA}};
    ASSERT_EQ(ListActiveConnections().size(), 1u);
    FakeService::enumResult = kBufferTooSmall;
    EXPECT_TRUE(ListActiveConnections().empty());
}

namespace {

struct AddressCase {
    const char* name;
    std::vector<Listed> connections;
    std::vector<Adapter> adapters;
    const char* entry;
    std::string address;
    int adapterCalls;
};

void PrintTo(const AddressCase& c, std::ostream* out) {
    *out << c.name;
}

class EntryAddressTest : public ProbeTest, public testing::WithParamInterface<AddressCase> {};

}  // namespace

TEST_P(EntryAddressTest, JoinsTheLastConnectionOfTheEntryToItsAdapter) {
    const AddressCase& c = GetParam();
    FakeService::connections = c.connections;
    FakeService::adapters = c.adapters;
    EXPECT_EQ(GetEntryAddress(c.entry), c.address);
    EXPECT_EQ(FakeService::adapterCalls, c.adapterCalls);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EntryAddressTest,
    testing::Values(
        AddressCase{"Connected", {{0x10, u"宽带连接", kGuidA}}, {{"{LAN}", "192.168.1.100"}, {kTextA, "10.0.0.1"}},
                    "宽带连接", "10.0.0.1", 2},
        AddressCase{"NotConnectedAsksNoAdapters", {{0x10, u"PPPoE", kGuidA}}, {{kTextA, "10.0.0.1"}}, "宽带连接", "", 0},
        AddressCase{"LastOfTwoWins",
                    {{0x10, u"宽带连接", kGuidA}, {0x20, u"宽带连接", kGuidB}},
                    {{kTextA, "10.0.0.1"}, {kTextB, "10.0.0.2"}},
                    "宽带连接", "10.0.0.2", 2},
        AddressCase{"CaseMatters", {{0x10, u"PPPoE", kGuidA}}, {{kTextA, "10.0.0.1"}}, "pppoe", "", 0},
        AddressCase{"AdapterNotListed", {{0x10, u"PPPoE", kGuidA}}, {{kTextB, "10.0.0.1"}}, "PPPoE", "", 2},
        AddressCase{"ZeroAddressKept", {{0x10, u"PPPoE", kGuidA}}, {{kTextA, "0.0.0.0"}}, "PPPoE", "0.0.0.0", 2},
        AddressCase{"NoAdaptersAtAllIsOneCall", {{0x10, u"PPPoE", kGuidA}}, {}, "PPPoE", "", 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProbeTest, ASecondAdapterQueryThatFailsGivesAnEmptyListAndNoThirdCall) {
    FakeService::adapters = {{kTextA, "10.0.0.1"}};
    FakeService::secondAdapterResult = ERROR_BUFFER_OVERFLOW;
    std::vector<AdapterInfo> list = {{"old", "1.1.1.1"}};
    ListAdapters(list);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(FakeService::adapterCalls, 2);
}
