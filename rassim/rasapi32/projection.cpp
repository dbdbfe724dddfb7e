// RasGetProjectionInfoA: what the IP control protocol of a connected link negotiated.
#include <raserror.h>

#include <cstring>

#include "rasapi32/rasapi32.h"
#include "world/shared_world.h"
#include "world/text.h"

using namespace rassim;

namespace {

constexpr char kServerAddress[] = "100.64.0.1";
// ERROR_PROJECTION_NOT_COMPLETE, which MinGW's header keeps for systems before Vista only.
constexpr DWORD kProjectionNotComplete = 730;

}  // namespace

extern "C" DWORD WINAPI RasGetProjectionInfoA(HRASCONN connection, DWORD projection, void* record, DWORD* recordSize) {
    if (!recordSize)
        return ERROR_INVALID_PARAMETER;
    WorldLock world;
    const Connection* found = FindConnection(*world, connection);
    if (!found)
        return ERROR_INVALID_HANDLE;
    if (projection != RASP_PppIp)
        return ERROR_PROTOCOL_NOT_CONFIGURED;
    // Only a link that reached RASCS_Connected has an address here.
    if (found->link != Link::Connected)
        return kProjectionNotComplete;
    const bool holdsSize = record && *recordSize >= sizeof(DWORD);
    const DWORD size = holdsSize ? static_cast<const RASPPPIPA*>(record)->dwSize : NewestSize(kRasPppIpSizes);
    if (!IsPublishedSize(size, kRasPppIpSizes))
        return ERROR_INVALID_SIZE;
    if (!record || *recordSize < size) {
        *recordSize = size;
        return ERROR_BUFFER_TOO_SMALL;
    }
    // Older versions are prefixes of the newest one.
    RASPPPIPA answer{};
    answer.dwSize = size;
    CopyText(answer.szIpAddress, found->address);
    CopyText(answer.szServerIpAddress, kServerAddress);
    std::memcpy(record, &answer, size);
    return ERROR_SUCCESS;
}
