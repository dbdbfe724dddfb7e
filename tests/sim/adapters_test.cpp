// GetAdaptersInfo and GetPerAdapterInfo: the LAN adapter, one PPP adapter per connected entry.
#include "sim_support.h"

#include <ipifcons.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace simtest {
namespace {

constexpr char kEntry[] = "宽带连接";

using SimAdapters = SimTest;

// The address the world gave the connection of `entry`, from `rasctl state`.
std::string AddressFromState(const std::string& entry) {
    for (const std::string& line : StateLines("connection")) {
        if (line.find("entry=\"" + entry + "\"") == std::string::npos) continue;
        const std::size_t start = line.find("address=") + 8;
        return line.substr(start, line.find(' ', start) - start);
    }
    return "";
}

bool Inside(const void* pointer, const std::vector<BYTE>& buffer) {
    const auto* p = static_cast<const BYTE*>(pointer);
    return p >= buffer.data() && p < buffer.data() + buffer.size();
}

TEST_F(SimAdapters, OnlyTheLanAdapterWhileNothingIsConnected) {
    const std::vector<AdapterSummary> adapters = Adapters();
    ASSERT_EQ(adapters.size(), 1u);
    EXPECT_EQ(adapters[0].type, static_cast<UINT>(MIB_IF_TYPE_ETHERNET));
    EXPECT_EQ(adapters[0].name.size(), 38u);
    EXPECT_FALSE(adapters[0].address.empty());
}

TEST_F(SimAdapters, ConnectedEntryAddsAPppAdapterNamedAfterItsGuid) {
    CreateEntry(kEntry);
    HRASCONN handle;
    ASSERT_EQ(Dial(kEntry, "user", "secret", handle), 0u);
    ASSERT_TRUE(WaitForDialEnds(1, 5000));
    const std::string name = GuidText(EntryGuid(kEntry));
    EXPECT_TRUE(
        std::none_of(name.begin(), name.end(), [](char c) { return std::islower(static_cast<unsigned char>(c)); }));

    const std::vector<AdapterSummary> adapters = Adapters();
    ASSERT_EQ(adapters.size(), 2u);
    const AdapterSummary* ppp = FindAdapter(adapters, name);
    ASSERT_NE(ppp, nullptr);
    EXPECT_EQ(ppp->type, static_cast<UINT>(MIB_IF_TYPE_PPP));
    EXPECT_EQ(ppp->address, AddressFromState(kEntry));
    EXPECT_NE(ppp->index, adapters[0].index);

    RasctlOk("hangup delay 2000");
    ASSERT_EQ(Ras().RasHangUpA(handle), 0u);
    const std::vector<AdapterSummary> closing = Adapters();
    ASSERT_NE(FindAdapter(closing, name), nullptr) << "the adapter stays while the link closes";
    EXPECT_EQ(FindAdapter(closing, name)->address, ppp->address);
    ASSERT_TRUE(WaitUntilClosed(handle));
    EXPECT_EQ(Adapters().size(), 1u) << "and goes with its handle";
}

TEST_F(SimAdapters, TooSmallBufferLearnsTheSizeAndRecordsLinkInsideTheCallersBuffer) {
    RasctlOk("entry add A");
    RasctlOk("entry add B");
    UpFromControl("A");
    UpFromControl("B --address 10.9.8.7");
    ULONG size = 1;
    std::vector<BYTE> small(1);
    EXPECT_EQ(IpHelper().GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(small.data()), &size),
              static_cast<ULONG>(ERROR_BUFFER_OVERFLOW));
    EXPECT_EQ(size, 3 * sizeof(IP_ADAPTER_INFO));
    EXPECT_EQ(IpHelper().GetAdaptersInfo(nullptr, nullptr), static_cast<ULONG>(ERROR_INVALID_PARAMETER));

    std::vector<BYTE> buffer(size);
    ASSERT_EQ(IpHelper().GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size), NO_ERROR);
    std::vector<std::string> addresses;
    for (auto* info = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()); info; info = info->Next) {
        EXPECT_TRUE(Inside(info, buffer));
        addresses.push_back(info->IpAddressList.IpAddress.String);
    }
    ASSERT_EQ(addresses.size(), 3u);
    EXPECT_EQ(addresses[2], "10.9.8.7");
}

TEST_F(SimAdapters, PerAdapterInfoListsDnsServersInsideTheCallersBuffer) {
    RasctlOk(std::string("entry add ") + kEntry);
    UpFromControl(kEntry);
    for (const AdapterSummary& adapter : Adapters()) {
        ULONG size = 0;
        ASSERT_EQ(IpHelper().GetPerAdapterInfo(adapter.index, nullptr, &size),
                  static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
        ASSERT_GE(size, sizeof(IP_PER_ADAPTER_INFO));
        std::vector<BYTE> buffer(size);
        auto* info = reinterpret_cast<IP_PER_ADAPTER_INFO*>(buffer.data());
        ASSERT_EQ(IpHelper().GetPerAdapterInfo(adapter.index, info, &size), NO_ERROR);
        int servers = 0;
        for (const IP_ADDR_STRING* server = &info->DnsServerList; server; server = server->Next) {
            EXPECT_TRUE(Inside(server, buffer));
            EXPECT_NE(std::string(server->IpAddress.String).find('.'), std::string::npos);
            ++servers;
        }
        EXPECT_GE(servers, 1) << adapter.name;
    }
    ULONG size = 0;
    EXPECT_EQ(IpHelper().GetPerAdapterInfo(0xDEAD, nullptr, &size), static_cast<DWORD>(ERROR_NO_DATA));
    EXPECT_EQ(IpHelper().GetPerAdapterInfo(Adapters()[0].index, nullptr, nullptr),
              static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(SimGuidText, IsTheRegistryFormInUpperCaseWithEveryLeadingZero) {
    const GUID guid = {0x0002A0BC, 0x00DE, 0x0F01, {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x0A, 0xFF}};
    EXPECT_EQ(GuidText(guid), "{0002A0BC-00DE-0F01-0102-030405060AFF}");
}

}  // namespace
}  // namespace simtest
