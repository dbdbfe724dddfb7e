// RasConnectionNotificationA: an event object the service sets when a connection ends, for one
// connection or, with INVALID_HANDLE_VALUE, for every one.
#include <raserror.h>

#include "rasapi32/rasapi32.h"
#include "world/shared_world.h"

using namespace rassim;

extern "C" DWORD WINAPI RasConnectionNotificationA(HRASCONN connection, HANDLE event, DWORD events) {
    constexpr DWORD kPublished = RASCN_Connection | RASCN_Disconnection | RASCN_BandwidthAdded | RASCN_BandwidthRemoved;
    if (!event || events == 0 || (events & ~kPublished) != 0)
        return ERROR_INVALID_PARAMETER;
    WorldLock world;
    if (const auto fault = TakeRepeatedFault(world->notification))
        return *fault;
    DWORD watched = 0;
    if (connection != INVALID_HANDLE_VALUE) {
        const Connection* found = FindConnection(*world, connection);
        if (!found)
            return ERROR_INVALID_HANDLE;
        watched = found->handle;
    }
    return RegisterNotification(*world, event, watched, events);
}
