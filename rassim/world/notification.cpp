// RasConnectionNotification's registrations. The service signals an event of another process, so
// a registration keeps a copy of the caller's handle in the caller's process; whoever ends a
// connection, in whichever process, duplicates that copy into its own and sets it.
#include <algorithm>

#include "world/handle.h"
#include "world/world.h"

namespace rassim {
namespace {

ULONGLONG CreationTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    return ULARGE_INTEGER{{created.dwLowDateTime, created.dwHighDateTime}}.QuadPart;
}

// The registering process, if it still runs; a process of the same id started later is not it.
HANDLE OpenRegistrant(const Notification& notification) {
    HANDLE process = OpenProcess(PROCESS_DUP_HANDLE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, notification.processId);
    if (process && CreationTime(process) != notification.processCreated) {
        CloseHandle(process);
        return nullptr;
    }
    return process;
}

// False when the registering process has ended, so its registration can go.
bool Signal(const Notification& notification) {
    const Handle process(OpenRegistrant(notification));
    if (!process.get())
        return false;
    HANDLE event = nullptr;
    if (DuplicateHandle(process.get(), reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(notification.event)),
                        GetCurrentProcess(), &event, EVENT_MODIFY_STATE, FALSE, 0)) {
        SetEvent(event);
        CloseHandle(event);
    }
    return true;
}

void ForgetEndedProcesses(World& world) {
    Notification* end = world.notifications + world.notificationCount;
    Notification* kept = std::remove_if(world.notifications, end, [](const Notification& notification) {
        return !Handle(OpenRegistrant(notification)).get();
    });
    world.notificationCount = static_cast<DWORD>(kept - world.notifications);
}

}  // namespace

DWORD RegisterNotification(World& world, HANDLE event, DWORD connection, DWORD events) {
    if (world.notificationCount == kMaxNotifications)
        ForgetEndedProcesses(world);
    if (world.notificationCount == kMaxNotifications)
        return ERROR_NOT_ENOUGH_MEMORY;
    // The copy stays open for the life of the process: the caller may close its own handle.
    HANDLE copy = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), event, GetCurrentProcess(), &copy, EVENT_MODIFY_STATE, FALSE, 0)) {
        return ERROR_INVALID_HANDLE;
    }
    world.notifications[world.notificationCount++] = Notification{
        GetCurrentProcessId(), CreationTime(GetCurrentProcess()), reinterpret_cast<UINT_PTR>(copy), connection, events};
    return ERROR_SUCCESS;
}

void SignalDisconnection(World& world, const Connection& connection) {
    bool ended = false;
    for (DWORD i = 0; i < world.notificationCount; ++i) {
        const Notification& notification = world.notifications[i];
        const bool watched = notification.connection == 0 || notification.connection == connection.handle;
        if ((notification.events & RASCN_Disconnection) && watched)
            ended |= !Signal(notification);
    }
    if (ended)
        ForgetEndedProcesses(world);
}

}  // namespace rassim
