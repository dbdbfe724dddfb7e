#include "probe/adapter_addresses.h"

#include <memory>

#include "dialup/record_text.h"
#include "dialup/system_functions.h"
#include "probe/active_connections.h"

void ListAdapters(std::vector<AdapterInfo>& list) {
    list.clear();
    ULONG size = 0;
    sys::GetAdaptersInfo(nullptr, &size);
    if (size == 0)
        return;
    // Records hold pointers: the buffer is allocated as records, so it is aligned for them.
    const std::size_t recordCount = (size + sizeof(IP_ADAPTER_INFO) - 1) / sizeof(IP_ADAPTER_INFO);
    auto buffer = std::make_unique<IP_ADAPTER_INFO[]>(recordCount);
    if (sys::GetAdaptersInfo(buffer.get(), &size) != ERROR_SUCCESS)
        return;
    for (const IP_ADAPTER_INFO* adapter = buffer.get(); adapter; adapter = adapter->Next)
        list.push_back({TextOf(adapter->AdapterName), TextOf(adapter->IpAddressList.IpAddress.String)});
}

namespace {

std::optional<AdapterInfo> AdapterOf(const ActiveConnection& connection) {
    std::vector<AdapterInfo> adapters;
    ListAdapters(adapters);
    for (AdapterInfo& adapter : adapters)
        if (adapter.adapterName == connection.entryGuid)
            return std::move(adapter);
    return std::nullopt;
}

// The client address the link's IP control protocol negotiated; empty when it is not known.
std::string ProjectedAddress(HRASCONN handle) {
    RASPPPIPA projection = {};
    projection.dwSize = sizeof projection;
    DWORD size = sizeof projection;
    if (sys::RasGetProjectionInfoA(handle, RASP_PppIp, &projection, &size) != 0 || projection.dwError != 0)
        return {};
    return TextOf(projection.szIpAddress);
}

}  // namespace

std::optional<AdapterInfo> FindEntryAdapter(std::string_view entryName) {
    const std::optional<ActiveConnection> connection = FindEntryConnection(entryName);
    return connection ? AdapterOf(*connection) : std::nullopt;
}

std::string GetEntryAddress(std::string_view entryName) {
    const std::optional<ActiveConnection> connection = FindEntryConnection(entryName);
    if (!connection)
        return {};
    // Nothing documents that the adapter is named by the entry GUID; where none is, the dial-up
    // service itself knows the address.
    const std::optional<AdapterInfo> adapter = AdapterOf(*connection);
    return adapter ? adapter->address : ProjectedAddress(connection->handle);
}
