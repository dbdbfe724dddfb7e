// The simulated dial-up world that every process of the Wine prefix shares: the phonebook, the
// accounts the ISP accepts, the connections and the faults scripted by rasctl. It lives in a
// file mapping, so it holds plain arrays only, no pointers.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "world/ras_published.h"
#include "world/text.h"

namespace rassim {

inline constexpr DWORD kMaxEntries = 32;
// More than the 256 records that a caller's fixed enumeration buffer holds, so that such a caller
// can be shown its buffer overflowing.
inline constexpr DWORD kMaxConnections = 320;
inline constexpr DWORD kMaxAccounts = 8;
inline constexpr DWORD kNameCapacity = 257;    // RAS_MaxEntryName + 1, also UNLEN + 1 and PWLEN + 1
inline constexpr DWORD kAddressCapacity = 16;  // dotted IPv4 text with its NUL
// How long a hung-up connection takes to close, unless rasctl sets another time.
inline constexpr DWORD kDefaultHangUpDelayMs = 300;

// Where RasEnumEntriesA says the entries live; the only phonebook the simulator knows.
inline constexpr char kDefaultPhonebook[] = "C:\\ProgramData\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk";

// What RasGetCredentialsA returns in szPassword instead of a saved password. Given back to
// RasSetCredentialsA or RasDialA, it stands for the saved password.
inline constexpr char kSavedPasswordHandle[] = "****************";

struct Credentials {
    DWORD mask;  // RASCM_ bits of the members that are stored
    char userName[kNameCapacity];
    char password[kNameCapacity];
    char domain[16];
};

// The newest RASENTRYA version, which ends with the IKEv2 identities; every older version is a
// prefix of it.
struct RasEntryNewest {
    RASENTRYA base;
    CHAR szIDi[257];
    CHAR szIDr[257];
    BOOL fIsImsConfig;
    DWORD IdiType;
    DWORD IdrType;
    BOOL fDisableIKEv2Fragmentation;
};
static_assert(sizeof(RasEntryNewest) == NewestSize(kRasEntrySizes));

struct Entry {
    char name[kNameCapacity];
    GUID guid;
    DWORD recordSize;  // dwSize of the RASENTRYA version it was written with; the rest is zero
    RasEntryNewest record;
    Credentials credentials;
};

// Dialing and Connected connections are listed by RasEnumConnectionsW; only Connected ones
// have an adapter. Failed and Dropped ones keep their handle until it is hung up. A hung-up
// connection is Closing for the world's hang-up delay: its handle still answers, it stays listed
// and keeps its adapter and address if it had them, and its entry cannot be dialed; then it is gone.
enum class Link : DWORD { Dialing, Connected, Failed, Dropped, Closing };

struct Connection {
    DWORD handle;
    char entryName[kNameCapacity];
    // The name the wide functions report when it is more than entryName can hold (a character
    // the ANSI code page lacks); empty: entryName.
    WCHAR listedName[kNameCapacity];
    char phonebook[MAX_PATH];
    GUID guid;
    char deviceType[17];
    char deviceName[129];
    char phoneNumber[129];
    RASCONNSTATE state;
    DWORD error;
    Link link;
    char address[kAddressCapacity];
    DWORD references;          // one per dial that returned its handle: each needs its own hang-up
    ULONGLONG closesAt;        // tick count at which a Closing connection is gone
    BOOL listedWhileClosing;   // it was listed when hung up
    BOOL adapterWhileClosing;  // it was connected when hung up
};

struct Account {
    char userName[kNameCapacity];
    char password[kNameCapacity];
};

// One-shot faults of the next RasDialA; a zero code means none is armed.
struct DialFaults {
    DWORD failCode;
    RASCONNSTATE failState;
    DWORD refuseCode;
    BOOL refuseWritesHandle;
    DWORD durationMs;  // 0: the usual duration
    char address[kAddressCapacity];
};

// The next `remaining` calls fail with `code`.
struct RepeatedFault {
    DWORD remaining;
    DWORD code;
};

// An event object that RasConnectionNotificationA registered: a copy of the caller's handle,
// made in the caller's process, which signals it from whichever process ends a connection.
struct Notification {
    DWORD processId;
    ULONGLONG processCreated;  // FILETIME of the process's start, so that a reused id is not taken for it
    ULONGLONG event;           // the copy's handle value in that process
    DWORD connection;          // the handle it watches; 0 for every connection
    DWORD events;              // RASCN_ bits
};
inline constexpr DWORD kMaxNotifications = 64;

struct World {
    DWORD magic;
    DWORD layoutSize;
    DWORD nextHandle;  // survives reset, so a handle is never given out twice
    DWORD addressCounter;
    DWORD accountCount;
    Account accounts[kMaxAccounts];
    DWORD entryCount;
    Entry entries[kMaxEntries];
    DWORD connectionCount;
    Connection connections[kMaxConnections];
    DialFaults dial;
    RepeatedFault hangUp;
    RepeatedFault enumeration;
    BOOL adaptersNamedOtherwise;  // PPP adapters are not named after their entry GUID
    DWORD hangUpDelayMs;
    RepeatedFault notification;
    DWORD notificationCount;  // survives reset with its registrations, as the processes do
    Notification notifications[kMaxNotifications];
};

inline constexpr DWORD kFirstHandle = 0x1000;

// A null path or the path of the default phonebook.
bool IsDefaultPhonebook(const char* path);

// Empties the world except for the handle counter and the registered notifications; the hang-up
// delay is the default again.
void ResetWorld(World& world);

// Entries, in the order they were created.
Entry* FindEntry(World& world, const char* name);
Entry* AddEntry(World& world, const char* name);  // null when the phonebook is full
void RemoveEntry(World& world, Entry& entry);

// Connections, in the order they were started.
Connection* FindConnection(World& world, HRASCONN handle);
// The connection that holds an entry of the default phonebook: Dialing, Connected or Closing.
Connection* FindConnectionOf(World& world, const char* entryName);
Connection* AddConnection(World& world, const char* entryName, const GUID& guid, const char* phonebook);
void RemoveConnection(World& world, Connection& connection);
// Takes device type, device name and phone number from the entry, where the entry has them.
void DescribeDevice(Connection& connection, const Entry& entry);
bool IsLive(const Connection& connection);  // Dialing or Connected
bool IsListed(const Connection& connection);
bool HasAdapter(const Connection& connection);
HRASCONN HandleOf(const Connection& connection);

// Marks the connection Connected with `address`.
void BringUp(Connection& connection, const std::string& address);
// Ends a Dialing or Connected connection with `error`; its handle stays valid until hung up.
void DropLink(World& world, Connection& connection, DWORD error);
// Releases one dial's hold on the connection at tick count `now`. The last one ends it: at once
// with no hang-up delay, else it is Closing.
void HangUp(World& world, Connection& connection, ULONGLONG now);
// Removes the Closing connections whose time is up at tick count `now`.
void RemoveClosedConnections(World& world, ULONGLONG now);

// Registers `event` of the calling process for `events` of one connection (0: of every one).
// ERROR_SUCCESS, ERROR_INVALID_HANDLE for a handle that is no event of the caller's, or
// ERROR_NOT_ENOUGH_MEMORY when the table is full even without the ended processes' registrations.
DWORD RegisterNotification(World& world, HANDLE event, DWORD connection, DWORD events);
// A connection has left the list of active ones (dropped, failed, or closed after a hang-up):
// sets every event registered for its disconnection, as the service does.
void SignalDisconnection(World& world, const Connection& connection);

// With no account configured, the ISP accepts everybody.
bool AcceptsAccount(const World& world, const char* userName, const char* password);
bool AddAccount(World& world, const char* userName, const char* password);  // false when full
bool RemoveAccount(World& world, const char* userName);

// Uses up one of the scripted failures, if any is left, and answers its code.
std::optional<DWORD> TakeRepeatedFault(RepeatedFault& fault);

// The address the next connection gets: the scripted one, else the next of the ISP's pool.
std::string TakeNextAddress(World& world);

GUID NewGuid();
// Braces around 8-4-4-4-12 upper-case hexadecimal digits, the form IP Helper names adapters with.
std::string GuidText(const GUID& guid);

// The record rasctl stores for a new entry: a broadband PPPoE entry in its newest version.
void FillPppoeRecord(RasEntryNewest& record);

}  // namespace rassim
