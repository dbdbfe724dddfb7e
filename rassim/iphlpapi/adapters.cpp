// The adapters IP Helper reports: the LAN adapter of the machine, always, and one PPP adapter per
// connected dial-up connection, named after the connection's entry GUID; a hung-up one keeps it
// until it has closed.
#include "iphlpapi/iphlpapi.h"

#include <ipifcons.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "world/shared_world.h"
#include "world/text.h"

namespace rassim {
namespace {

struct Adapter {
    std::string name;
    const char* description;
    BYTE mac[6];
    DWORD index;
    UINT type;
    std::string address;
    const char* mask;
    const char* gateway;
    std::vector<const char*> dnsServers;
};

Adapter LanAdapter() {
    return Adapter{
        .name = "{5C4E6B2A-8D1F-4E3A-9B7C-2F6D1A0E3B54}",
        .description = "Ethernet Controller",
        .mac = {0x52, 0x54, 0x00, 0x12, 0x34, 0x56},
        .index = 11,
        .type = MIB_IF_TYPE_ETHERNET,
        .address = "192.168.1.100",
        .mask = "255.255.255.0",
        .gateway = "192.168.1.1",
        .dnsServers = {"192.168.1.1"},
    };
}

// The interface GUID of a link whose adapter is not named after its entry: as unique as the handle.
GUID InterfaceGuid(const Connection& connection) {
    return GUID{connection.handle, 0x1F0E, 0x4D2C, {0x9A, 0x5B, 0x6C, 0x7D, 0x8E, 0x9F, 0xA0, 0xB1}};
}

// A PPP link's interface index is its connection handle, so it is as unique as the handle.
Adapter PppAdapter(const Connection& connection, bool namedOtherwise) {
    return Adapter{
        .name = GuidText(namedOtherwise ? InterfaceGuid(connection) : connection.guid),
        .description = "WAN (PPP/SLIP) Interface",
        .mac = {0x00, 0x53, 0x45, 0x00, 0x00, 0x00},
        .index = connection.handle,
        .type = MIB_IF_TYPE_PPP,
        .address = connection.address,
        .mask = "255.255.255.255",
        .gateway = "0.0.0.0",
        .dnsServers = {"100.100.0.53", "100.100.0.54"},
    };
}

std::vector<Adapter> CurrentAdapters() {
    std::vector<Adapter> adapters{LanAdapter()};
    WorldLock world;
    for (DWORD i = 0; i < world->connectionCount; ++i) {
        const Connection& connection = world->connections[i];
        if (HasAdapter(connection))
            adapters.push_back(PppAdapter(connection, world->adaptersNamedOtherwise));
    }
    return adapters;
}

std::optional<Adapter> FindAdapter(ULONG index) {
    for (Adapter& adapter : CurrentAdapters()) {
        if (adapter.index == index)
            return adapter;
    }
    return std::nullopt;
}

void FillAddress(IP_ADDR_STRING& entry, const char* address, const char* mask) {
    std::memset(&entry, 0, sizeof(entry));
    CopyText(entry.IpAddress.String, address);
    CopyText(entry.IpMask.String, mask);
}

void FillAdapterInfo(const Adapter& adapter, IP_ADAPTER_INFO& info) {
    std::memset(&info, 0, sizeof(info));
    CopyText(info.AdapterName, adapter.name.c_str());
    CopyText(info.Description, adapter.description);
    info.AddressLength = sizeof(adapter.mac);
    std::memcpy(info.Address, adapter.mac, sizeof(adapter.mac));
    info.Index = adapter.index;
    info.Type = adapter.type;
    FillAddress(info.IpAddressList, adapter.address.c_str(), adapter.mask);
    FillAddress(info.GatewayList, adapter.gateway, "");
}

}  // namespace
}  // namespace rassim

using namespace rassim;

extern "C" ULONG WINAPI GetAdaptersInfo(IP_ADAPTER_INFO* adapterInfo, ULONG* size) {
    if (!size)
        return ERROR_INVALID_PARAMETER;
    const std::vector<Adapter> adapters = CurrentAdapters();
    const ULONG needed = static_cast<ULONG>(adapters.size() * sizeof(IP_ADAPTER_INFO));
    if (!adapterInfo || *size < needed) {
        *size = needed;
        return ERROR_BUFFER_OVERFLOW;
    }
    for (std::size_t i = 0; i < adapters.size(); ++i) {
        FillAdapterInfo(adapters[i], adapterInfo[i]);
        adapterInfo[i].Next = i + 1 < adapters.size() ? &adapterInfo[i + 1] : nullptr;
    }
    return NO_ERROR;
}

extern "C" DWORD WINAPI GetPerAdapterInfo(ULONG interfaceIndex, IP_PER_ADAPTER_INFO* perAdapterInfo, ULONG* size) {
    if (!size)
        return ERROR_INVALID_PARAMETER;
    const std::optional<Adapter> adapter = FindAdapter(interfaceIndex);
    if (!adapter)
        return ERROR_NO_DATA;
    // The first DNS server sits in the record, the others follow it in the caller's buffer.
    const std::size_t servers = adapter->dnsServers.size();
    const ULONG needed = static_cast<ULONG>(sizeof(IP_PER_ADAPTER_INFO) + (servers - 1) * sizeof(IP_ADDR_STRING));
    if (!perAdapterInfo || *size < needed) {
        *size = needed;
        return ERROR_BUFFER_OVERFLOW;
    }
    std::memset(perAdapterInfo, 0, needed);
    auto* more = reinterpret_cast<IP_ADDR_STRING*>(perAdapterInfo + 1);
    IP_ADDR_STRING* server = &perAdapterInfo->DnsServerList;
    for (std::size_t i = 0; i < servers; ++i) {
        if (i > 0)
            server = server->Next = &more[i - 1];
        CopyText(server->IpAddress.String, adapter->dnsServers[i]);
    }
    return NO_ERROR;
}
