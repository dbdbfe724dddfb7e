#include "probe/active_connections.h"

#include <cwchar>
#include <memory>

#include "core/text_encoding.h"
#include "dialup/system_functions.h"

namespace {

// A fixed buffer and one call: more connections than this make the enumeration fail.
constexpr std::size_t kRecordCount = 256;

void AppendMostSignificantFirst(std::string& text, const void* bytes, std::size_t count) {
    for (std::size_t i = count; i-- > 0;)
        text += HexTable[static_cast<const unsigned char*>(bytes)[i]].data();
}

std::string EntryNameOf(const RASCONNW& record) {
    const std::size_t length = wcsnlen(record.szEntryName, std::size(record.szEntryName));
    return WideToGbk({reinterpret_cast<const char*>(record.szEntryName), length * sizeof(WCHAR)});
}

}  // namespace

std::vector<ActiveConnection> ListActiveConnections() {
    auto records = std::make_unique<RASCONNW[]>(kRecordCount);
    records[0].dwSize = sizeof(RASCONNW);
    DWORD bytes = kRecordCount * sizeof(RASCONNW);
    DWORD count = 0;
    if (sys::RasEnumConnectionsW(records.get(), &bytes, &count) != 0)
        return {};
    std::vector<ActiveConnection> list;
    for (DWORD i = 0; i < count && i < kRecordCount; ++i)
        list.push_back({records[i].hrasconn, EntryNameOf(records[i]), FormatGuid(records[i].guidEntry)});
    return list;
}

std::string FormatGuid(const GUID& guid) {
    // Data1 to Data3 are numbers, written most significant byte first; Data4 is bytes in order.
    std::string text;
    text.reserve(38);
    text += '{';
    AppendMostSignificantFirst(text, &guid.Data1, sizeof guid.Data1);
    text += '-';
    AppendMostSignificantFirst(text, &guid.Data2, sizeof guid.Data2);
    text += '-';
    AppendMostSignificantFirst(text, &guid.Data3, sizeof guid.Data3);
    text += '-';
    for (int i = 0; i < 8; ++i) {
        if (i == 2)
            text += '-';
        text += HexTable[guid.Data4[i]].data();
    }
    text += '}';
    return text;
}

std::optional<ActiveConnection> FindEntryConnection(std::string_view entryName) {
    std::optional<ActiveConnection> found;
    for (ActiveConnection& connection : ListActiveConnections())
        if (connection.entryName == entryName)
            found = std::move(connection);
    return found;
}

HRASCONN EntryConnectionHandle(std::string_view entryName) {
    const std::optional<ActiveConnection> connection = FindEntryConnection(entryName);
    return connection ? connection->handle : nullptr;
}
