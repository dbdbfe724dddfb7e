#include "dialup/hang_up.h"

#include <atomic>

#include "core/activity_log.h"
#include "core/settings.h"
#include "core/status_display.h"
#include "core/worker.h"
#include "dialup/elapsed_time.h"
#include "dialup/system_functions.h"
#include "probe/active_connections.h"
#include "probe/adapter_addresses.h"
#include "probe/link_check.h"
#include "ui/controls.h"
#include "ui/gui.h"

namespace {

constexpr DWORD kErrorNoConnection = 668;
constexpr DWORD kRetryIntervalMs = 100;
constexpr std::uint64_t kHangUpLimitMs = 15000;
constexpr DWORD kClosePollMs = 50;
constexpr std::uint64_t kCloseLimitMs = 3000;
// A holder notices the end after its current sleep (at most 100 ms), hangs up, then waits.
constexpr std::uint64_t kHeldLinksLimitMs = kCloseLimitMs + 500;

std::atomic<int> gHeldLinks{0};

// "永不掉线" as it was before the last "断线" switched it off: 1 or 0, -1 once put back.
std::atomic<int> gNeverDropBeforeHangUp{-1};

}  // namespace

// RasHangUp's documentation: the connection's state machine needs time to end, and until the
// handle's status answers ERROR_INVALID_HANDLE its port may still be in use.
bool WaitUntilClosed(HRASCONN handle) {
    const LinkHold hold;
    const std::uint64_t start = TickMilliseconds();
    bool alive = true;
    while (!IsHandleClosed(handle) && TickMilliseconds() - start <= kCloseLimitMs)
        alive = SleepWhileAlive(kClosePollMs) && alive;
    return alive;
}

bool HangUpConnection(HRASCONN handle) {
    const DWORD error = sys::RasHangUpA(handle);
    return error == 0 || error == kErrorNoConnection;
}

bool HangUpWithRetry(HRASCONN handle) {
    const LinkHold hold;
    const std::uint64_t start = TickMilliseconds();
    while (!HangUpConnection(handle)) {
        if (!SleepWhileAlive(kRetryIntervalMs))
            return false;
        if (TickMilliseconds() - start > kHangUpLimitMs)
            return true;
    }
    return WaitUntilClosed(handle);
}

void EndLinkAtQuit(HRASCONN handle) {
    if (handle && HangUpConnection(handle))
        WaitUntilClosed(handle);
}

LinkHold::LinkHold() { ++gHeldLinks; }

LinkHold::~LinkHold() { --gHeldLinks; }

void WaitForHeldLinks() {
    const std::uint64_t start = TickMilliseconds();
    while (gHeldLinks.load() > 0 && TickMilliseconds() - start <= kHeldLinksLimitMs)
        sys::Sleep(kClosePollMs);
}

HangUpResult HangUpEntry(HRASCONN handle, std::string_view entryName) {
    if (!HangUpWithRetry(handle))
        return HangUpResult::Ended;
    if (IsEntryInterfacePresent(entryName))
        return HangUpResult::Present;
    SetOnline(false);
    RefreshOnlineState();
    return HangUpResult::Gone;
}

bool IsEntryInterfacePresent(std::string_view entryName) {
    // The interface is the adapter named by the entry GUID of the entry's active connection;
    // a connection that is no longer listed has no interface either.
    return FindEntryAdapter(entryName).has_value();
}

bool MainWindowAlive() { return gui::Handle(ui::WindowKind::Main) != nullptr; }

bool SleepWhileAlive(DWORD milliseconds) {
    sys::Sleep(milliseconds);
    return MainWindowAlive();
}

void StartManualHangUp() { StartWorker<ManualHangUp>(); }

void ManualHangUp() {
    const std::string entryName = CurrentAccount().entryName;
    if (const HRASCONN handle = EntryConnectionHandle(entryName)) {
        gNeverDropBeforeHangUp = gui::IsChecked(ui::main_window::选择框1) ? 1 : 0;
        HangUpByHand(handle, entryName, "断开连接");
    } else {
        gui::ShowMessage(ui::WindowKind::Main, "当前没有活动连接");
    }
}

void RestoreNeverDrop() {
    const int before = gNeverDropBeforeHangUp.exchange(-1);
    if (before >= 0)
        gui::SetChecked(ui::main_window::选择框1, before == 1);
}

bool HangUpByHand(HRASCONN handle, std::string_view entryName, std::string_view goneText) {
    AppendLog("手动操作：开始断线");
    gui::SetChecked(ui::main_window::选择框1, false);
    const HangUpResult result = HangUpEntry(handle, entryName);
    if (result == HangUpResult::Ended)
        return false;
    if (result == HangUpResult::Gone && !goneText.empty())
        SetConnectionPane(goneText);
    AppendLog("手动操作：断线完成");
    return true;
}
