#include "rasctl/commands.h"

#include <raserror.h>

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <optional>
#include <string>

#include "rasctl/state_report.h"
#include "world/entry_name.h"
#include "world/shared_world.h"
#include "world/text.h"

namespace rasctl {
namespace {

using namespace rassim;

int Refuse(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    std::fputs("rasctl: ", stderr);
    std::vfprintf(stderr, format, arguments);
    std::fputs("\n", stderr);
    va_end(arguments);
    return kRefused;
}

int BadValue(const char* what, const std::string& text) {
    std::fprintf(stderr, "rasctl: bad %s \"%s\"\n", what, text.c_str());
    return kBadUsage;
}

int BadUsage(const char* message) {
    std::fprintf(stderr, "rasctl: %s\n", message);
    return kBadUsage;
}

const std::string* Option(const Arguments& arguments, const char* name) {
    const auto found = arguments.options.find(name);
    return found == arguments.options.end() ? nullptr : &found->second;
}

int Reset(const Arguments&) {
    ResetWorld(*WorldLock());
    return kDone;
}

int State(const Arguments&) {
    // Printed from a copy: a slow reader of the output must not hold up the world's users.
    const auto world = std::make_unique<World>(*WorldLock());
    PrintState(*world, stdout);
    return kDone;
}

int AddEntryCommand(const Arguments& arguments) {
    const std::string& name = arguments.words[0];
    if (!IsValidEntryName(name.c_str()))
        return Refuse("\"%s\" is not a valid entry name", name.c_str());
    WorldLock world;
    if (FindEntry(*world, name.c_str()))
        return Refuse("entry \"%s\" exists already", name.c_str());
    Entry* entry = AddEntry(*world, name.c_str());
    if (!entry)
        return Refuse("the phonebook is full");
    FillPppoeRecord(entry->record);
    entry->recordSize = entry->record.base.dwSize;
    if (arguments.words.size() > 1) {
        CopyText(entry->credentials.userName, arguments.words[1].c_str());
        entry->credentials.mask |= RASCM_UserName;
    }
    if (arguments.words.size() > 2) {
        CopyText(entry->credentials.password, arguments.words[2].c_str());
        entry->credentials.mask |= RASCM_Password;
    }
    return kDone;
}

int RemoveEntryCommand(const Arguments& arguments) {
    WorldLock world;
    Entry* entry = FindEntry(*world, arguments.words[0].c_str());
    if (!entry)
        return Refuse("no entry \"%s\"", arguments.words[0].c_str());
    RemoveEntry(*world, *entry);
    return kDone;
}

int AddAccountCommand(const Arguments& arguments) {
    WorldLock world;
    if (!AddAccount(*world, arguments.words[0].c_str(), arguments.words[1].c_str())) {
        return Refuse("the ISP holds %lu accounts at most", kMaxAccounts);
    }
    return kDone;
}

int RemoveAccountCommand(const Arguments& arguments) {
    WorldLock world;
    if (!RemoveAccount(*world, arguments.words[0].c_str()))
        return Refuse("no account \"%s\"", arguments.words[0].c_str());
    return kDone;
}

// A connection of the default phonebook needs its entry; one of another phonebook does not.
Connection* StartConnection(World& world, const std::string& name, const std::string* phonebook) {
    if (phonebook && !IsDefaultPhonebook(phonebook->c_str())) {
        return AddConnection(world, name.c_str(), NewGuid(), phonebook->c_str());
    }
    const Entry* entry = FindEntry(world, name.c_str());
    if (!entry || FindConnectionOf(world, name.c_str()))
        return nullptr;
    Connection* connection = AddConnection(world, entry->name, entry->guid, kDefaultPhonebook);
    if (connection)
        DescribeDevice(*connection, *entry);
    return connection;
}

int Up(const Arguments& arguments) {
    const std::string& name = arguments.words[0];
    const std::string* address = Option(arguments, "--address");
    if (address && !IsIpv4Address(*address))
        return BadValue("address", *address);
    const std::string* listedAs = Option(arguments, "--listed-as");
    std::optional<std::wstring> listedName;
    if (listedAs && !(listedName = DecodeWideText(*listedAs)))
        return BadValue("listed name", *listedAs);
    const std::string* countText = Option(arguments, "--count");
    std::optional<DWORD> count = countText ? ParseNumber(*countText) : DWORD{1};
    const std::string* phonebook = Option(arguments, "--phonebook");
    // Only another phonebook holds several connections of one name.
    if (!count || *count == 0 || (*count > 1 && (!phonebook || IsDefaultPhonebook(phonebook->c_str()))))
        return BadValue("count", countText ? *countText : "");
    WorldLock world;
    if (*count > kMaxConnections - world->connectionCount)
        return Refuse("cannot bring %lu connections up: at most %lu can be active", *count, kMaxConnections);
    for (DWORD made = 0; made < *count; ++made) {
        Connection* connection = StartConnection(*world, name, phonebook);
        if (!connection)
            return Refuse("cannot bring \"%s\" up: no such entry, in use already or too many connections",
                          name.c_str());
        if (listedName)
            std::wcsncpy(connection->listedName, listedName->c_str(), std::size(connection->listedName) - 1);
        BringUp(*connection, address ? *address : TakeNextAddress(*world));
        std::printf("handle=0x%lX\n", connection->handle);
    }
    return kDone;
}

// Drops the listed connections that `matches` selects; false when there is none.
template <typename Matches>
bool DropWhere(World& world, DWORD error, Matches matches) {
    bool dropped = false;
    for (DWORD i = 0; i < world.connectionCount; ++i) {
        Connection& connection = world.connections[i];
        if (IsLive(connection) && matches(connection)) {
            DropLink(world, connection, error);
            dropped = true;
        }
    }
    return dropped;
}

int Drop(const Arguments& arguments) {
    const std::string* handleText = Option(arguments, "--handle");
    if (arguments.words.empty() == !handleText)
        return BadUsage("drop takes an entry name or --handle, not both");
    const std::string* errorText = Option(arguments, "--error");
    const auto error = errorText ? ParseNumber(*errorText) : std::optional<DWORD>(ERROR_DISCONNECTION);
    if (!error || *error == 0)
        return BadValue("error code", errorText ? *errorText : "");
    WorldLock world;
    if (handleText) {
        const auto handle = ParseNumber(*handleText);
        if (!handle)
            return BadValue("handle", *handleText);
        if (!DropWhere(*world, *error, [&](const Connection& c) { return c.handle == *handle; })) {
            return Refuse("no active connection with handle %s", handleText->c_str());
        }
        return kDone;
    }
    const std::string& name = arguments.words[0];
    if (!DropWhere(*world, *error, [&](const Connection& c) { return name == c.entryName; })) {
        return Refuse("no active connection of \"%s\"", name.c_str());
    }
    return kDone;
}

int HangUpDelay(const Arguments& arguments) {
    const auto ms = ParseNumber(arguments.words[0]);
    if (!ms)
        return BadValue("delay", arguments.words[0]);
    WorldLock world;
    world->hangUpDelayMs = *ms;
    return kDone;
}

int DialFail(const Arguments& arguments) {
    const auto code = ParseNumber(arguments.words[0]);
    const auto state = ParseNumber(arguments.words[1]);
    if (!code || *code == 0)
        return BadValue("error code", arguments.words[0]);
    if (!state)
        return BadValue("state", arguments.words[1]);
    WorldLock world;
    world->dial.failCode = *code;
    world->dial.failState = *state;
    return kDone;
}

int DialRefuse(const Arguments& arguments) {
    const auto code = ParseNumber(arguments.words[0]);
    if (!code || *code == 0)
        return BadValue("error code", arguments.words[0]);
    WorldLock world;
    world->dial.refuseCode = *code;
    world->dial.refuseWritesHandle = Option(arguments, "--with-handle") != nullptr;
    return kDone;
}

int DialTime(const Arguments& arguments) {
    const auto ms = ParseNumber(arguments.words[0]);
    if (!ms || *ms == 0)
        return BadValue("duration", arguments.words[0]);
    WorldLock world;
    world->dial.durationMs = *ms;
    return kDone;
}

int DialAddress(const Arguments& arguments) {
    if (!IsIpv4Address(arguments.words[0]))
        return BadValue("address", arguments.words[0]);
    WorldLock world;
    CopyText(world->dial.address, arguments.words[0].c_str());
    return kDone;
}

int ArmRepeatedFault(const Arguments& arguments, RepeatedFault World::*fault) {
    const auto count = ParseNumber(arguments.words[0]);
    const auto code = ParseNumber(arguments.words[1]);
    if (!count)
        return BadValue("count", arguments.words[0]);
    if (!code || *code == 0)
        return BadValue("error code", arguments.words[1]);
    WorldLock world;
    (*world).*fault = RepeatedFault{*count, *code};
    return kDone;
}

int HangUpFail(const Arguments& arguments) { return ArmRepeatedFault(arguments, &World::hangUp); }

int EnumFail(const Arguments& arguments) { return ArmRepeatedFault(arguments, &World::enumeration); }

int NotifyFail(const Arguments& arguments) { return ArmRepeatedFault(arguments, &World::notification); }

int AdapterNames(const Arguments& arguments) {
    const std::string& naming = arguments.words[0];
    if (naming != "guid" && naming != "other")
        return BadValue("adapter naming", naming);
    WorldLock world;
    world->adaptersNamedOtherwise = naming == "other";
    return kDone;
}

constexpr Command kCommands[] = {
    {"reset", "", "", 0, 0, Reset},
    {"state", "", "", 0, 0, State},
    {"entry add", "NAME [USER [PASSWORD]]", "", 1, 3, AddEntryCommand},
    {"entry remove", "NAME", "", 1, 1, RemoveEntryCommand},
    {"account add", "USER PASSWORD", "", 2, 2, AddAccountCommand},
    {"account remove", "USER", "", 1, 1, RemoveAccountCommand},
    {"up", "NAME [--address A.B.C.D] [--phonebook PATH [--count N]] [--listed-as TEXT]",
     "--address --phonebook --count --listed-as", 1, 1, Up},
    {"drop", "NAME | --handle H  [--error CODE]", "--handle --error", 0, 1, Drop},
    {"dial fail", "CODE STATE", "", 2, 2, DialFail},
    {"dial refuse", "CODE [--with-handle]", "--with-handle", 1, 1, DialRefuse},
    {"dial time", "MS", "", 1, 1, DialTime},
    {"dial address", "A.B.C.D", "", 1, 1, DialAddress},
    {"hangup fail", "COUNT CODE", "", 2, 2, HangUpFail},
    {"hangup delay", "MS", "", 1, 1, HangUpDelay},
    {"enum fail", "COUNT CODE", "", 2, 2, EnumFail},
    {"notify fail", "COUNT CODE", "", 2, 2, NotifyFail},
    {"adapter names", "guid|other", "", 1, 1, AdapterNames},
};

}  // namespace

std::span<const Command> Commands() { return kCommands; }

}  // namespace rasctl
