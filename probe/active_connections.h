// The dial-up connections that are active right now, with GBK entry names.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "dialup/ras_records.h"

struct ActiveConnection {
    HRASCONN handle;
    std::string entryName;  // GBK; empty when the name has a character GBK lacks
    std::string entryGuid;  // as FormatGuid writes it
};

// Replaces `list` with the active connections in the service's order; false (and an empty
// list) when the enumeration failed.
bool ListActiveConnections(std::vector<ActiveConnection>& list);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case: how IP Helper names a link's adapter.
std::string FormatGuid(const GUID& guid);

// The connection of `entryName` (exact bytes); when several carry the name, the last one
// listed. Null when none does.
const ActiveConnection* FindEntryConnection(const std::vector<ActiveConnection>& list, std::string_view entryName);

// The handle of the entry's connection in a fresh enumeration, null when it is not connected.
HRASCONN EntryConnectionHandle(std::string_view entryName);
