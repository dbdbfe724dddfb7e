// The connection functions: status, hang-up and the list of active connections.
#include <raserror.h>

#include <cstring>
#include <cwchar>
#include <vector>

#include "rasapi32/detached.h"
#include "rasapi32/rasapi32.h"
#include "rasapi32/record_array.h"
#include "world/shared_world.h"
#include "world/text.h"

namespace rassim {
namespace {

// The newest RASCONNW version, which ends with guidCorrelationId.
struct RasConnNewest {
    RASCONNW base;
    GUID guidCorrelationId;
};
static_assert(sizeof(RasConnNewest) == NewestSize(kRasConnSizes));

constexpr DWORD kRasConnAllUsers = 0x1;  // RASCF_AllUsers: the entry lives in the all-users phonebook

void Widen(const char* text, WCHAR* wide, int capacity) {
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, capacity) == 0)
        wide[0] = L'\0';
}

RasConnNewest Describe(const Connection& connection, DWORD size) {
    RasConnNewest record{};
    record.base.dwSize = size;
    record.base.hrasconn = HandleOf(connection);
    if (connection.listedName[0] != L'\0')
        std::wcsncpy(record.base.szEntryName, connection.listedName, std::size(record.base.szEntryName) - 1);
    else
        Widen(connection.entryName, record.base.szEntryName, std::size(record.base.szEntryName));
    Widen(connection.deviceType, record.base.szDeviceType, std::size(record.base.szDeviceType));
    Widen(connection.deviceName, record.base.szDeviceName, std::size(record.base.szDeviceName));
    Widen(connection.phonebook, record.base.szPhonebook, std::size(record.base.szPhonebook));
    record.base.dwSubEntry = 1;
    record.base.guidEntry = connection.guid;
    record.base.dwFlags = kRasConnAllUsers;
    return record;
}

std::vector<RasConnNewest> ListedConnections(World& world, DWORD size) {
    std::vector<RasConnNewest> listed;
    for (DWORD i = 0; i < world.connectionCount; ++i) {
        if (IsListed(world.connections[i]))
            listed.push_back(Describe(world.connections[i], size));
    }
    return listed;
}

RASCONNSTATUSA StatusOf(const Connection& connection, DWORD size) {
    RASCONNSTATUSA status{};
    status.dwSize = size;
    status.rasconnstate = connection.state;
    status.dwError = connection.error;
    CopyText(status.szDeviceType, connection.deviceType);
    CopyText(status.szDeviceName, connection.deviceName);
    CopyText(status.szPhoneNumber, connection.phoneNumber);
    return status;
}

// Closing connections go when the world is next looked at; this look comes when the delay ends,
// so that their end is signalled on time even while nobody else looks.
void CloseOnTime(ULONGLONG closesAt) {
    StartDetached([closesAt] {
        const ULONGLONG now = GetTickCount64();
        if (closesAt > now)
            Sleep(static_cast<DWORD>(closesAt - now));
        WorldLock closed;
    });
}

}  // namespace
}  // namespace rassim

using namespace rassim;

extern "C" DWORD WINAPI RasGetConnectStatusA(HRASCONN connection, RASCONNSTATUSA* status) {
    if (!status)
        return ERROR_INVALID_PARAMETER;
    if (!IsPublishedSize(status->dwSize, kRasConnStatusSizes))
        return ERROR_INVALID_SIZE;
    WorldLock world;
    const Connection* found = FindConnection(*world, connection);
    if (!found)
        return ERROR_INVALID_HANDLE;
    // Older versions are prefixes of the newest one: the caller gets just the bytes it asked for.
    const RASCONNSTATUSA full = StatusOf(*found, status->dwSize);
    std::memcpy(status, &full, status->dwSize);
    return ERROR_SUCCESS;
}

extern "C" DWORD WINAPI RasHangUpA(HRASCONN connection) {
    WorldLock world;
    Connection* found = FindConnection(*world, connection);
    if (!found)
        return ERROR_INVALID_HANDLE;
    if (found->link == Link::Closing)
        return ERROR_SUCCESS;  // hung up already, still closing
    if (const auto fault = TakeRepeatedFault(world->hangUp))
        return *fault;
    HangUp(*world, *found, GetTickCount64());
    if (const Connection* closing = FindConnection(*world, connection); closing && closing->link == Link::Closing) {
        CloseOnTime(closing->closesAt);
    }
    return ERROR_SUCCESS;
}

extern "C" DWORD WINAPI RasEnumConnectionsW(RASCONNW* connections, DWORD* byteCount, DWORD* connectionCount) {
    if (!byteCount || !connectionCount)
        return ERROR_INVALID_PARAMETER;
    const DWORD recordSize = connections ? connections->dwSize : NewestSize(kRasConnSizes);
    if (!IsPublishedSize(recordSize, kRasConnSizes))
        return ERROR_INVALID_SIZE;
    std::vector<RasConnNewest> listed;
    {
        WorldLock world;
        if (const auto fault = TakeRepeatedFault(world->enumeration))
            return *fault;
        listed = ListedConnections(*world, recordSize);
    }
    return WriteRecordArray(listed, recordSize, connections, *byteCount, *connectionCount);
}
