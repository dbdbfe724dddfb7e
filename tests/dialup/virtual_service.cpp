#include "tests/dialup/virtual_service.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

#include "dialup/elapsed_time.h"
#include "dialup/system_functions.h"
#include "rassim/world/ras_published.h"
#include "tests/support/row_substitute.h"

namespace virtual_service {
namespace {

constexpr std::size_t kSleepRow = 0, kLocalTimeRow = 1, kDialRow = 2, kStatusRow = 5, kEnumRow = 6,
                      kAdaptersRow = 8, kHangUpRow = 12, kErrorTextRow = 13, kNotificationRow = 32, kWaitRow = 33;
constexpr DWORD kRefusedHangUp = 5;
constexpr DWORD kNoConnection = 668;
constexpr DWORD kAuthenticationFailure = 691;
constexpr DWORD kDisconnection = 628;
constexpr DWORD kPortNotAvailable = 633;
constexpr DWORD kBufferTooSmall = 603;
constexpr DWORD kInvalidSize = 632;
constexpr std::uint64_t kTickBase = 4'000'000'000;

struct Link {
    std::uintptr_t handle;
    std::u16string entryName;
    std::uint64_t connectedAt;
    DWORD error;  // how the link ended (a failed dial, a drop), 0 while it has not
    std::string address;
    std::optional<std::uint64_t> closesAt;  // hung up: it keeps its adapter until then
};

// Everything runs on the thread under test, one call at a time; the test reads it afterwards.
struct World {
    Behaviour behaviour;
    std::vector<Scheduled> script;
    std::uint64_t now = 0;
    std::int64_t wallShift = 0;
    std::vector<Link> links;
    std::uintptr_t nextHandle = 0x10;
    int nextAddress = 1;
    std::vector<std::pair<std::uint64_t, std::string>> journal;
    std::optional<std::uint64_t> quitAt;
    int callsAfterQuit = 0;
    int enumerations = 0;
    std::vector<HANDLE> notified;  // the registered events, set when a listed link ends
};

World gWorld;


void Note(const std::string& what) {
    gWorld.journal.emplace_back(gWorld.now, what);
}

std::string HandleText(std::uintptr_t handle) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(handle));
    return text;
}

GUID GuidOf(std::uintptr_t handle) {
    return GUID{static_cast<unsigned long>(handle), 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
}

std::string GuidTextOf(std::uintptr_t handle) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-0000-0000-0000-000000000000}", static_cast<unsigned>(handle));
    return text;
}

bool Listed(const Link& link) {
    return link.error == 0 && gWorld.now >= link.connectedAt;
}

Link* Find(HRASCONN handle) {
    for (Link& link : gWorld.links)
        if (link.handle == reinterpret_cast<std::uintptr_t>(handle))
            return &link;
    return nullptr;
}

Link& AddLink(const std::u16string& entryName, std::uint64_t connectedAt, DWORD error) {
    const std::string address = std::string("10.0.0.").append(std::to_string(gWorld.nextAddress++));
    gWorld.links.push_back({gWorld.nextHandle, entryName, connectedAt, error, address});
    gWorld.nextHandle += 0x10;
    return gWorld.links.back();
}

void SignalDisconnection() {
    for (HANDLE event : gWorld.notified)
        SetEvent(event);
}

bool Closed(const Link& link) {
    return link.closesAt && *link.closesAt <= gWorld.now;
}

// A hung-up link that has closed leaves the list, which the registered events hear of. After
// the quit, only ending a link may call the service.
void Called(bool endsLink = false) {
    const bool listedLinkEnded = std::ranges::any_of(gWorld.links, [](const Link& link) { return Closed(link) && Listed(link); });
    std::erase_if(gWorld.links, Closed);
    if (listedLinkEnded)
        SignalDisconnection();
    if (gWorld.quitAt && !endsLink)
        ++gWorld.callsAfterQuit;
}

// Runs the script up to `milliseconds` from now; true, at once, when `event` is set meanwhile.
bool Pass(DWORD milliseconds, HANDLE event) {
    const std::uint64_t until = gWorld.now + milliseconds;
    for (;;) {
        if (event && WaitForSingleObject(event, 0) == WAIT_OBJECT_0)
            return true;
        auto next = std::ranges::min_element(gWorld.script, {}, &Scheduled::at);
        if (next == gWorld.script.end() || next->at > until)
            break;
        gWorld.now = std::max(gWorld.now, next->at);
        const std::function<void()> action = std::move(next->action);
        gWorld.script.erase(next);
        action();
    }
    gWorld.now = until;
    return false;
}

void WINAPI VirtualSleep(DWORD milliseconds) {
    Called();
    Pass(milliseconds, nullptr);
}

DWORD WINAPI VirtualWait(HANDLE event, DWORD milliseconds) {
    Called();
    return Pass(milliseconds, event) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

DWORD WINAPI VirtualNotification(HRASCONN connection, HANDLE event, DWORD events) {
    Called();
    if (gWorld.behaviour.notificationRefusal != 0)
        return gWorld.behaviour.notificationRefusal;
    if (connection != INVALID_HANDLE_VALUE || events != RASCN_Disconnection)
        return ERROR_INVALID_PARAMETER;
    gWorld.notified.push_back(event);
    return 0;
}

void WINAPI VirtualLocalTime(SYSTEMTIME* time) {
    Called();
    // 2026-12-09 12:00:00 local time at the start.
    const SYSTEMTIME start = {2026, 12, 3, 9, 12, 0, 0, 0};
    FILETIME file;
    SystemTimeToFileTime(&start, &file);
    ULARGE_INTEGER value{{file.dwLowDateTime, file.dwHighDateTime}};
    value.QuadPart += (static_cast<std::int64_t>(gWorld.now) + gWorld.wallShift) * 10000;
    file = {value.LowPart, value.HighPart};
    FileTimeToSystemTime(&file, time);
}

ULONGLONG WINAPI VirtualTicks() {
    return kTickBase + gWorld.now;
}

DWORD WINAPI VirtualDial(void*, LPCSTR, RASDIALPARAMSA* params, DWORD, RasDialFunc, HRASCONN* handle) {
    Called();
    Note("dial");
    wchar_t wide[RTL_NUMBER_OF(params->szEntryName)] = {};
    MultiByteToWideChar(936, 0, params->szEntryName, -1, wide, RTL_NUMBER_OF(wide));
    const std::u16string entryName(reinterpret_cast<const char16_t*>(wide));
    if (gWorld.behaviour.dialRefusal != 0)
        return gWorld.behaviour.dialRefusal;
    for (const Link& link : gWorld.links)
        if (link.entryName == entryName && (link.closesAt || Listed(link))) {
            // The port is still in use until a hung-up link has closed.
            *handle = link.closesAt ? nullptr : reinterpret_cast<HRASCONN>(link.handle);
            return link.closesAt ? kPortNotAvailable : 0;
        }
    const Link& link = AddLink(entryName, gWorld.now + gWorld.behaviour.dialMs,
                               gWorld.behaviour.failingDials-- > 0 ? kAuthenticationFailure : 0);
    *handle = reinterpret_cast<HRASCONN>(link.handle);
    return 0;
}

DWORD WINAPI VirtualStatus(HRASCONN handle, RASCONNSTATUSA* status) {
    Called(true);
    const Link* link = Find(handle);
    if (!link)
        return ERROR_INVALID_HANDLE;
    const bool ended = gWorld.now >= link->connectedAt;
    const bool disconnected = link->error || link->closesAt;
    status->rasconnstate = !ended ? RASCS_Authenticate : disconnected ? RASCS_Disconnected : RASCS_Connected;
    status->dwError = ended ? link->error : 0;
    return 0;
}

DWORD WINAPI VirtualErrorText(UINT error, LPSTR text, DWORD size) {
    return std::snprintf(text, size, "文本%u", error) < 0;
}
DWORD WINAPI VirtualHangUp(HRASCONN handle) {
    Called(true);
    Note(std::string("hangup ").append(HandleText(reinterpret_cast<std::uintptr_t>(handle))));
    if (gWorld.now < gWorld.behaviour.hangUpRefusedUntil)
        return kRefusedHangUp;
    Link* link = Find(handle);
    if (!link)
        return ERROR_INVALID_HANDLE;
    if (!link->closesAt)
        link->closesAt = gWorld.now + (gWorld.behaviour.hangUpAnswers668 ? 0 : gWorld.behaviour.hangUpCloseMs);
    Called(true);
    return gWorld.behaviour.hangUpAnswers668 ? kNoConnection : 0;
}

DWORD WINAPI VirtualEnum(RASCONNW* records, DWORD* bytes, DWORD* count) {
    Called();
    ++gWorld.enumerations;
    if (records->dwSize != sizeof(RASCONNW))
        return kInvalidSize;
    DWORD listed = 0;
    for (const Link& link : gWorld.links) {
        if (!Listed(link))
            continue;
        if ((listed + 1) * sizeof(RASCONNW) > *bytes)
            return kBufferTooSmall;
        RASCONNW& record = records[listed++];
        record.hrasconn = reinterpret_cast<HRASCONN>(link.handle);
        std::memcpy(record.szEntryName, link.entryName.c_str(), link.entryName.size() * sizeof(char16_t));
        record.guidEntry = GuidOf(link.handle);
    }
    *count = listed;
    return 0;
}

ULONG WINAPI VirtualAdapters(IP_ADAPTER_INFO* buffer, ULONG* size) {
    Called();
    std::vector<const Link*> listed;
    for (const Link& link : gWorld.links)
        if (Listed(link))
            listed.push_back(&link);
    const ULONG needed = static_cast<ULONG>((listed.size() + 1) * sizeof(IP_ADAPTER_INFO));
    if (!buffer || *size < needed) {
        Note("adapters");
        *size = needed;
        return ERROR_BUFFER_OVERFLOW;
    }
    std::memset(buffer, 0, needed);
    std::strcpy(buffer[0].AdapterName, "{LAN}");
    std::strcpy(buffer[0].IpAddressList.IpAddress.String, "192.168.1.100");
    for (std::size_t i = 0; i < listed.size(); ++i) {
        buffer[i].Next = &buffer[i + 1];
        std::strcpy(buffer[i + 1].AdapterName, GuidTextOf(listed[i]->handle).c_str());
        std::strcpy(buffer[i + 1].IpAddressList.IpAddress.String, listed[i]->address.c_str());
    }
    return ERROR_SUCCESS;
}

struct Rows {
    RowSubstitute<decltype(VirtualSleep)> sleep{kSleepRow, VirtualSleep};
    RowSubstitute<decltype(VirtualLocalTime)> localTime{kLocalTimeRow, VirtualLocalTime};
    RowSubstitute<decltype(VirtualDial)> dial{kDialRow, VirtualDial};
    RowSubstitute<decltype(VirtualStatus)> status{kStatusRow, VirtualStatus};
    RowSubstitute<decltype(VirtualEnum)> enumerate{kEnumRow, VirtualEnum};
    RowSubstitute<decltype(VirtualAdapters)> adapters{kAdaptersRow, VirtualAdapters};
    RowSubstitute<decltype(VirtualHangUp)> hangUp{kHangUpRow, VirtualHangUp};
    RowSubstitute<decltype(VirtualErrorText)> errorText{kErrorTextRow, VirtualErrorText};
    RowSubstitute<decltype(VirtualNotification)> notification{kNotificationRow, VirtualNotification};
    RowSubstitute<decltype(VirtualWait)> wait{kWaitRow, VirtualWait};
};

std::unique_ptr<Rows> gRows;

}  // namespace

std::vector<std::string> Journal() {
    std::vector<std::string> folded;
    const auto& journal = gWorld.journal;
    for (std::size_t first = 0; first < journal.size();) {
        std::size_t last = first;
        while (last + 1 < journal.size() && journal[last + 1].second == journal[first].second)
            ++last;
        std::string line = std::to_string(journal[first].first);
        if (last > first)
            line.append("-").append(std::to_string(journal[last].first));
        line.append(" ").append(journal[first].second);
        if (last > first)
            line.append(" x").append(std::to_string(last - first + 1));
        folded.push_back(line);
        first = last + 1;
    }
    return folded;
}

std::uint64_t Now() {
    return gWorld.now;
}

void Connect(const std::u16string& entryName) {
    AddLink(entryName, gWorld.now, 0);
}

void Drop(const std::u16string& entryName) {
    // As with the real service, the handle stays valid, reporting the drop, until it is hung up.
    for (Link& link : gWorld.links)
        if (link.entryName == entryName && link.error == 0) {
            link.error = kDisconnection;
            SignalDisconnection();
        }
}

int Enumerations() {
    return gWorld.enumerations;
}

void ShiftWallClock(std::int64_t milliseconds) {
    gWorld.wallShift += milliseconds;
}

void MarkQuit() {
    gWorld.quitAt = gWorld.now;
}

int CallsAfterQuit() {
    return gWorld.callsAfterQuit;
}

Installation::Installation(const Behaviour& behaviour, std::vector<Scheduled> script) {
    gWorld = World{};
    gWorld.behaviour = behaviour;
    gWorld.script = std::move(script);
    gRows = std::make_unique<Rows>();
    SetTickSource(VirtualTicks);
}

Installation::~Installation() {
    SetTickSource(nullptr);
    gRows.reset();
}

}  // namespace virtual_service
