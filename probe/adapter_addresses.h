// The network adapters with their first IPv4 address, and the address of an entry's link.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct AdapterInfo {
    std::string adapterName;  // a dial-up link's adapter is named by its entry GUID text
    std::string address;      // first IPv4 address, dotted, as the system reports it
};

// Replaces `list` with every adapter in the system's order; empty on any failure.
void ListAdapters(std::vector<AdapterInfo>& list);

// The adapter of the entry's active connection (the last one listed under that name), found
// by the connection's entry GUID text. None when the entry is not connected, and then the
// adapters are not asked for.
std::optional<AdapterInfo> FindEntryAdapter(std::string_view entryName);

// The IPv4 address of the entry's active connection (the last one listed under that name): its
// adapter's, else the one its IP projection reports; empty when it is not connected or neither
// knows one. Asks for the adapters only when the entry is connected.
std::string GetEntryAddress(std::string_view entryName);
