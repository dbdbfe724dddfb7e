// The dial-up connections that are active right now, with GBK entry names.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialup/ras_records.h"

struct ActiveConnection {
    HRASCONN handle;
    std::string entryName;  // GBK; empty when the name has a character GBK lacks
    std::string entryGuid;  // as FormatGuid writes it
};

// The active connections in the service's order; empty when the enumeration failed.
std::vector<ActiveConnection> ListActiveConnections();

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case: how IP Helper names a link's adapter.
std::string FormatGuid(const GUID& guid);

// The connection of `entryName` (exact bytes) in a fresh enumeration; when several carry the
// name, the last one listed. None when none does.
std::optional<ActiveConnection> FindEntryConnection(std::string_view entryName);

// Its handle, null when the entry is not connected.
HRASCONN EntryConnectionHandle(std::string_view entryName);
