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

std::optional<AdapterInfo> FindEntryAdapter(std::string_view entryName) {
    std::vector<ActiveConnection> connections;
    ListActiveConnections(connections);
    const ActiveConnection* connection = FindEntryConnection(connections, entryName);
    if (!connection)
        return std::nullopt;
    std::vector<AdapterInfo> adapters;
    ListAdapters(adapters);
    for (AdapterInfo& adapter : adapters)
        if (adapter.adapterName == connection->entryGuid)
            return std::move(adapter);
    return std::nullopt;
}

std::string GetEntryAddress(std::string_view entryName) {
    std::optional<AdapterInfo> adapter = FindEntryAdapter(entryName);
    return adapter ? adapter->address : std::string();
}
