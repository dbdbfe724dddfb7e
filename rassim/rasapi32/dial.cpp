// RasDialA: a PPPoE dial that walks through the usual connection states, asynchronously with a
// RasDialFunc notifier on a thread of its own, or synchronously without one.
#include <raserror.h>

#include <cstring>
#include <iterator>
#include <span>
#include <string>

#include "rasapi32/detached.h"
#include "rasapi32/rasapi32.h"
#include "world/shared_world.h"
#include "world/text.h"

namespace rassim {
namespace {

constexpr RASCONNSTATE kDialStates[] = {
    RASCS_OpenPort,     RASCS_PortOpened, RASCS_ConnectDevice, RASCS_DeviceConnected, RASCS_AllDevicesConnected,
    RASCS_Authenticate, RASCS_AuthNotify, RASCS_AuthAck,       RASCS_Authenticated,   RASCS_AuthProject,
    RASCS_Projected,
};
constexpr DWORD kUsualDialMs = 240;
// The result of a dial that was hung up before it finished; its handle reports the same while it closes.
constexpr DWORD kStopped = ERROR_USER_DISCONNECTION;

struct DialPlan {
    HRASCONN handle;
    std::span<const RASCONNSTATE> states;  // empty when the entry is connected already
    std::string userName;
    std::string password;
    DWORD failCode;  // scripted by rasctl, 0 for none
    RASCONNSTATE failState;
    DWORD stepMs;
    RasDialFunc notifier;
};

// How a step of the dial found its connection: still Dialing (or Connected once complete), or
// ended from outside, Dropped with the drop's error or Closing (hung up, or gone).
struct Found {
    Link link;
    DWORD error;
};

Found Gone() { return Found{Link::Closing, kStopped}; }

// Moves a dialing connection to `state` with `error`; a non-zero error ends the dial there.
Found Enter(HRASCONN handle, RASCONNSTATE state, DWORD error) {
    WorldLock world;
    Connection* connection = FindConnection(*world, handle);
    if (!connection)
        return Gone();
    if (connection->link != Link::Dialing)
        return Found{connection->link, connection->error};
    connection->state = state;
    connection->error = error;
    if (error != 0) {
        connection->link = Link::Failed;
        SignalDisconnection(*world, *connection);
    }
    return Found{Link::Dialing, error};
}

DWORD ErrorAt(const DialPlan& plan, RASCONNSTATE state) {
    if (plan.failCode != 0 && plan.failState == state)
        return plan.failCode;
    if (state != RASCS_Authenticate)
        return 0;
    WorldLock world;
    return AcceptsAccount(*world, plan.userName.c_str(), plan.password.c_str()) ? 0 : ERROR_AUTHENTICATION_FAILURE;
}

void Notify(const DialPlan& plan, RASCONNSTATE state, DWORD error) {
    if (plan.notifier)
        plan.notifier(WM_RASDIALEVENT, state, error);
}

// A dial ended from outside: a hang-up ends the notifications; a drop is the dial's failure, in
// the state the drop left, RASCS_Disconnected, entered first without error and then with it.
DWORD EndedFromOutside(const DialPlan& plan, const Found& found) {
    if (found.link != Link::Dropped)
        return kStopped;
    Notify(plan, RASCS_Disconnected, 0);
    Notify(plan, RASCS_Disconnected, found.error);
    return found.error;
}

// Reports one notification; returns 0 to go on, else the error that ends the dial.
DWORD Report(const DialPlan& plan, RASCONNSTATE state, DWORD error) {
    const Found found = Enter(plan.handle, state, error);
    if (found.link != Link::Dialing)
        return EndedFromOutside(plan, found);
    Notify(plan, state, error);
    return error;
}

// Each state is notified on entry with error 0; a failure in it is notified again, with the error.
DWORD Step(const DialPlan& plan, RASCONNSTATE state, DWORD error) {
    if (const DWORD end = Report(plan, state, 0))
        return end;
    return error != 0 ? Report(plan, state, error) : 0;
}

// The entry keeps the name of the last user who connected with it.
void RememberUserName(World& world, const Connection& connection, const std::string& userName) {
    Entry* entry = FindEntry(world, connection.entryName);
    if (!entry)
        return;
    CopyText(entry->credentials.userName, userName.c_str());
    entry->credentials.mask |= RASCM_UserName;
}

Found Complete(const DialPlan& plan) {
    WorldLock world;
    Connection* connection = FindConnection(*world, plan.handle);
    if (!connection)
        return Gone();
    if (connection->link == Link::Dialing) {
        BringUp(*connection, TakeNextAddress(*world));
        RememberUserName(*world, *connection, plan.userName);
    }
    return Found{connection->link, connection->error};
}

DWORD RunDial(const DialPlan& plan) {
    for (RASCONNSTATE state : plan.states) {
        if (const DWORD end = Step(plan, state, ErrorAt(plan, state)))
            return end;
        Sleep(plan.stepMs);
    }
    // A failure scripted for a state outside the usual walk comes after all of it.
    if (plan.failCode != 0)
        return Step(plan, plan.failState, plan.failCode);
    const Found found = Complete(plan);
    if (found.link != Link::Connected)
        return EndedFromOutside(plan, found);
    Notify(plan, RASCS_Connected, 0);
    return 0;
}

std::string PasswordFor(const RASDIALPARAMSA& params, const Entry& entry) {
    const bool useSaved =
        std::strcmp(params.szPassword, kSavedPasswordHandle) == 0 && (entry.credentials.mask & RASCM_Password) != 0;
    return useSaved ? entry.credentials.password : params.szPassword;
}

// A refusal scripted by rasctl; it may still hand out a handle, which must be hung up.
DWORD Refuse(World& world, const Entry& entry, DWORD code, bool writeHandle, HRASCONN& handle) {
    Connection* connection = writeHandle ? AddConnection(world, entry.name, entry.guid, kDefaultPhonebook) : nullptr;
    if (connection) {
        connection->error = code;
        connection->link = Link::Failed;
        handle = HandleOf(*connection);
    }
    return code;
}

// Checks the request against the world and books its connection; returns 0 or the error that
// refuses the dial at once.
DWORD PlanDial(const RASDIALPARAMSA& params, RasDialFunc notifier, HRASCONN& handle, DialPlan& plan) {
    WorldLock world;
    const Entry* entry = FindEntry(*world, params.szEntryName);
    if (!entry)
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    const DialFaults faults = world->dial;
    world->dial = DialFaults{};
    CopyText(world->dial.address, faults.address);  // the scripted address waits for the link to come up
    if (faults.refuseCode != 0)
        return Refuse(*world, *entry, faults.refuseCode, faults.refuseWritesHandle, handle);

    Connection* connection = FindConnectionOf(*world, entry->name);
    if (connection && connection->link == Link::Dialing)
        return ERROR_DIAL_ALREADY_IN_PROGRESS;
    // The device is still in use until the hung-up connection has closed.
    if (connection && connection->link == Link::Closing)
        return ERROR_PORT_NOT_AVAILABLE;
    const bool connected = connection != nullptr;
    if (connected) {
        ++connection->references;  // this dial, too, needs its own hang-up
    } else {
        connection = AddConnection(*world, entry->name, entry->guid, kDefaultPhonebook);
    }
    if (!connection)
        return ERROR_PORT_NOT_AVAILABLE;
    DescribeDevice(*connection, *entry);

    handle = HandleOf(*connection);
    const DWORD durationMs = faults.durationMs != 0 ? faults.durationMs : kUsualDialMs;
    plan = DialPlan{
        .handle = handle,
        .states = connected ? std::span<const RASCONNSTATE>() : std::span(kDialStates),
        .userName = params.szUserName,
        .password = PasswordFor(params, *entry),
        .failCode = faults.failCode,
        .failState = faults.failState,
        .stepMs = durationMs / static_cast<DWORD>(std::size(kDialStates) + 1),
        .notifier = notifier,
    };
    return 0;
}

}  // namespace
}  // namespace rassim

using namespace rassim;

extern "C" DWORD WINAPI RasDialA(void*, LPCSTR phonebook, RASDIALPARAMSA* dialParams, DWORD notifierType,
                                 void* notifier, HRASCONN* connection) {
    if (!dialParams || !connection)
        return ERROR_INVALID_PARAMETER;
    if (!IsPublishedSize(dialParams->dwSize, kRasDialParamsSizes))
        return ERROR_INVALID_SIZE;
    // Only the RasDialFunc kind of notifier (type 0) is simulated.
    if (notifier && notifierType != 0)
        return ERROR_INVALID_PARAMETER;
    if (!IsDefaultPhonebook(phonebook))
        return ERROR_CANNOT_OPEN_PHONEBOOK;

    DialPlan plan{};
    const auto dialFunc = reinterpret_cast<RasDialFunc>(notifier);
    if (const DWORD refused = PlanDial(*dialParams, dialFunc, *connection, plan))
        return refused;
    if (!dialFunc)
        return RunDial(plan);
    if (StartDetached([plan] { RunDial(plan); }))
        return 0;
    // The handle stays written and, as after any failed dial, must be hung up.
    Enter(plan.handle, RASCS_OpenPort, ERROR_NOT_ENOUGH_MEMORY);
    return ERROR_NOT_ENOUGH_MEMORY;
}
