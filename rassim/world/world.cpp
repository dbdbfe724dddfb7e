#include "world/world.h"

#include <raserror.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>

#include "world/text.h"

namespace rassim {
namespace {

template <typename T, DWORD N>
T* Find(T (&items)[N], DWORD count, auto matches) {
    T* end = items + count;
    T* found = std::find_if(items, end, matches);
    return found == end ? nullptr : found;
}

// Removes one element of a packed array, keeping the order of the others.
template <typename T, DWORD N>
void Erase(T (&items)[N], DWORD& count, T& item) {
    std::copy(&item + 1, items + count, &item);
    --count;
    std::memset(&items[count], 0, sizeof(T));
}

}  // namespace

bool IsDefaultPhonebook(const char* path) { return !path || lstrcmpiA(path, kDefaultPhonebook) == 0; }

void ResetWorld(World& world) {
    const DWORD magic = world.magic;
    const DWORD layoutSize = world.layoutSize;
    const DWORD nextHandle = world.nextHandle;
    const DWORD notificationCount = world.notificationCount;
    Notification notifications[kMaxNotifications];
    std::copy(world.notifications, world.notifications + kMaxNotifications, notifications);
    std::memset(&world, 0, sizeof(world));
    world.magic = magic;
    world.layoutSize = layoutSize;
    world.nextHandle = std::max(nextHandle, kFirstHandle);
    world.notificationCount = notificationCount;
    std::copy(notifications, notifications + kMaxNotifications, world.notifications);
    world.hangUpDelayMs = kDefaultHangUpDelayMs;
}

Entry* FindEntry(World& world, const char* name) {
    return Find(world.entries, world.entryCount, [name](const Entry& e) { return std::strcmp(e.name, name) == 0; });
}

Entry* AddEntry(World& world, const char* name) {
    if (world.entryCount == kMaxEntries)
        return nullptr;
    Entry& entry = world.entries[world.entryCount++];
    std::memset(&entry, 0, sizeof(entry));
    CopyText(entry.name, name);
    entry.guid = NewGuid();
    return &entry;
}

void RemoveEntry(World& world, Entry& entry) { Erase(world.entries, world.entryCount, entry); }

Connection* FindConnection(World& world, HRASCONN handle) {
    const auto value = reinterpret_cast<UINT_PTR>(handle);
    return Find(world.connections, world.connectionCount, [value](const Connection& c) { return c.handle == value; });
}

Connection* FindConnectionOf(World& world, const char* entryName) {
    return Find(world.connections, world.connectionCount, [entryName](const Connection& c) {
        return (IsLive(c) || c.link == Link::Closing) && std::strcmp(c.entryName, entryName) == 0 &&
               std::strcmp(c.phonebook, kDefaultPhonebook) == 0;
    });
}

Connection* AddConnection(World& world, const char* entryName, const GUID& guid, const char* phonebook) {
    if (world.connectionCount == kMaxConnections)
        return nullptr;
    Connection& connection = world.connections[world.connectionCount++];
    std::memset(&connection, 0, sizeof(connection));
    connection.handle = world.nextHandle++;
    CopyText(connection.entryName, entryName);
    CopyText(connection.phonebook, phonebook);
    connection.guid = guid;
    CopyText(connection.deviceType, "PPPoE");
    CopyText(connection.deviceName, "WAN Miniport (PPPOE)");
    connection.state = RASCS_OpenPort;
    connection.link = Link::Dialing;
    connection.references = 1;
    return &connection;
}

void RemoveConnection(World& world, Connection& connection) {
    Erase(world.connections, world.connectionCount, connection);
}

void DescribeDevice(Connection& connection, const Entry& entry) {
    const RASENTRYA& record = entry.record.base;
    if (record.szDeviceType[0] != '\0')
        CopyText(connection.deviceType, record.szDeviceType);
    if (record.szDeviceName[0] != '\0')
        CopyText(connection.deviceName, record.szDeviceName);
    CopyText(connection.phoneNumber, record.szLocalPhoneNumber);
}

bool IsLive(const Connection& connection) {
    return connection.link == Link::Dialing || connection.link == Link::Connected;
}

bool IsListed(const Connection& connection) {
    return IsLive(connection) || (connection.link == Link::Closing && connection.listedWhileClosing);
}

bool HasAdapter(const Connection& connection) {
    return connection.link == Link::Connected || (connection.link == Link::Closing && connection.adapterWhileClosing);
}

HRASCONN HandleOf(const Connection& connection) {
    return reinterpret_cast<HRASCONN>(static_cast<UINT_PTR>(connection.handle));
}

void BringUp(Connection& connection, const std::string& address) {
    connection.state = RASCS_Connected;
    connection.error = 0;
    connection.link = Link::Connected;
    CopyText(connection.address, address.c_str());
}

void DropLink(World& world, Connection& connection, DWORD error) {
    connection.state = RASCS_Disconnected;
    connection.error = error;
    connection.link = Link::Dropped;
    connection.address[0] = '\0';
    SignalDisconnection(world, connection);
}

void HangUp(World& world, Connection& connection, ULONGLONG now) {
    if (--connection.references > 0)
        return;
    if (world.hangUpDelayMs == 0) {
        if (IsListed(connection))
            SignalDisconnection(world, connection);
        RemoveConnection(world, connection);
        return;
    }
    connection.listedWhileClosing = IsListed(connection);
    connection.adapterWhileClosing = connection.link == Link::Connected;
    connection.link = Link::Closing;
    connection.state = RASCS_Disconnected;
    if (connection.error == 0)
        connection.error = ERROR_USER_DISCONNECTION;
    connection.closesAt = now + world.hangUpDelayMs;
}

void RemoveClosedConnections(World& world, ULONGLONG now) {
    for (DWORD i = world.connectionCount; i-- > 0;) {
        Connection& connection = world.connections[i];
        if (connection.link != Link::Closing || connection.closesAt > now)
            continue;
        if (connection.listedWhileClosing)
            SignalDisconnection(world, connection);
        RemoveConnection(world, connection);
    }
}

bool AcceptsAccount(const World& world, const char* userName, const char* password) {
    if (world.accountCount == 0)
        return true;
    const Account* end = world.accounts + world.accountCount;
    return std::any_of(world.accounts, end, [&](const Account& a) {
        return std::strcmp(a.userName, userName) == 0 && std::strcmp(a.password, password) == 0;
    });
}

bool AddAccount(World& world, const char* userName, const char* password) {
    Account* account = Find(world.accounts, world.accountCount,
                            [userName](const Account& a) { return std::strcmp(a.userName, userName) == 0; });
    if (!account) {
        if (world.accountCount == kMaxAccounts)
            return false;
        account = &world.accounts[world.accountCount++];
        CopyText(account->userName, userName);
    }
    CopyText(account->password, password);
    return true;
}

bool RemoveAccount(World& world, const char* userName) {
    Account* account = Find(world.accounts, world.accountCount,
                            [userName](const Account& a) { return std::strcmp(a.userName, userName) == 0; });
    if (account)
        Erase(world.accounts, world.accountCount, *account);
    return account != nullptr;
}

std::optional<DWORD> TakeRepeatedFault(RepeatedFault& fault) {
    if (fault.remaining == 0)
        return std::nullopt;
    --fault.remaining;
    return fault.code;
}

std::string TakeNextAddress(World& world) {
    if (world.dial.address[0] != '\0') {
        std::string scripted = world.dial.address;
        world.dial.address[0] = '\0';
        return scripted;
    }
    // The ISP's pool: 100.64.0.2 to 100.64.0.254, round and round.
    const DWORD host = 2 + world.addressCounter++ % 253;
    char text[kAddressCapacity];
    std::snprintf(text, sizeof(text), "100.64.0.%lu", host);
    return text;
}

GUID NewGuid() {
    std::random_device random;
    GUID guid;
    guid.Data1 = random();
    guid.Data2 = static_cast<WORD>(random());
    guid.Data3 = static_cast<WORD>((random() & 0x0FFF) | 0x4000);  // version 4
    for (BYTE& b : guid.Data4)
        b = static_cast<BYTE>(random());
    guid.Data4[0] = static_cast<BYTE>((guid.Data4[0] & 0x3F) | 0x80);
    return guid;
}

std::string GuidText(const GUID& guid) {
    char text[39];
    std::snprintf(text, sizeof(text), "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", guid.Data1, guid.Data2,
                  guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                  guid.Data4[6], guid.Data4[7]);
    return text;
}

void FillPppoeRecord(RasEntryNewest& newest) {
    constexpr DWORD kRasFramingPpp = 1;
    constexpr DWORD kRasNetProtocolIp = 4;
    constexpr DWORD kRasEntryTypeBroadband = 5;
    newest = RasEntryNewest{};
    RASENTRYA& record = newest.base;
    record.dwSize = sizeof(newest);
    record.dwfNetProtocols = kRasNetProtocolIp;
    record.dwFramingProtocol = kRasFramingPpp;
    record.dwType = kRasEntryTypeBroadband;
    CopyText(record.szDeviceType, "PPPoE");
    CopyText(record.szDeviceName, "WAN Miniport (PPPOE)");
}

}  // namespace rassim
