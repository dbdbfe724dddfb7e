#include "dialup/monitor.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "core/activity_log.h"
#include "core/integer_value.h"
#include "core/owners.h"
#include "core/settings.h"
#include "core/status_display.h"
#include "core/worker.h"
#include "dialup/dial.h"
#include "dialup/elapsed_time.h"
#include "dialup/hang_up.h"
#include "dialup/system_functions.h"
#include "probe/active_connections.h"
#include "probe/adapter_addresses.h"
#include "probe/link_check.h"
#include "ui/controls.h"
#include "ui/gui.h"

namespace {

using namespace ui::main_window;

constexpr DWORD kCyclePauseMs = 1000;
constexpr DWORD kFailedForcedRedialPauseMs = 5000;
constexpr std::int64_t kMillisecondsPerMinute = 60000;

// The account set-up and the monitor's own options cannot change while it runs.
constexpr ui::ControlId kLockedWhileMonitoring[] = {组合框1, 按钮1,   按钮2,   按钮3,  编辑框1,
                                                    编辑框2, 编辑框3, 选择框1, 选择框2};

enum class Next { Pause, CheckAtOnce, End };

// What the monitor carries from one cycle to the next.
struct MonitorState {
    std::uint64_t lastDialTick;
    // The entry's link as last listed or dialled. A link that drops keeps its handle, and the
    // service the resources behind it, until the handle is hung up; RasDial's documentation asks
    // that of every handle, or a line that drops often would use them up.
    HRASCONN link = nullptr;
    // A link the monitor has hung up and not yet seen closed: until then the service refuses the
    // entry (633, the port still in use).
    HRASCONN closing = nullptr;
};

// The service's word that a connection has ended, registered once: the cycle pause then ends as
// soon as the entry's link may have gone, instead of up to a second later. Without it (no such
// function, or the service refuses) the pause is the plain sleep.
class DisconnectionSignal {
public:
    DisconnectionSignal() : event_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
        const auto notify = sys::RasConnectionNotificationA.Bound();
        if (event_ && (!notify || notify(static_cast<HRASCONN>(INVALID_HANDLE_VALUE), event_.get(),
                                         RASCN_Disconnection) != ERROR_SUCCESS))
            event_.reset();
    }

    // Any connection's end wakes it, not only the entry's: the next cycle finds out which. An end
    // signalled during the cycle's own work (its hang-up, its failed dial) is behind it already and
    // must not shorten the pause.
    void Pause(DWORD milliseconds) const {
        if (!event_) {
            sys::Sleep(milliseconds);
            return;
        }
        ResetEvent(event_.get());
        sys::WaitForSingleObject(event_.get(), milliseconds);
    }

private:
    UniqueHandle<HANDLE, CloseHandle> event_;
};

// The pause between a forced hang-up and the new dial. The number box keeps it small; a text
// typed past it must neither turn into a sleep of weeks (negative) nor overflow.
DWORD PauseMilliseconds() {
    const std::int64_t milliseconds = std::int64_t{IntegerValue(gui::GetText(编辑框4))} * 1000;
    return static_cast<DWORD>(std::clamp<std::int64_t>(milliseconds, 0, INT_MAX));
}

bool ForcedRedialDue(std::uint64_t lastDialTick) {
    if (!gui::IsChecked(选择框2))
        return false;
    const std::int64_t interval = std::int64_t{IntegerValue(gui::GetText(编辑框3))} * kMillisecondsPerMinute;
    const std::uint64_t elapsed = TickMilliseconds() - lastDialTick;
    return interval < 0 || elapsed > static_cast<std::uint64_t>(interval);
}

// Corrects the flag when the enumeration contradicts it.
void KeepFlagInStep(bool entryMissing) {
    if (IsOnline() == entryMissing) {
        SetOnline(!entryMissing);
        RefreshOnlineState();
    }
}

// Hangs up a remembered link that has ended. Only after the new dial, so that it never holds
// up a redial; the dial after that waits for it to close.
void ReleaseEndedLink(MonitorState& state) {
    if (state.link && HasLinkEnded(state.link) && HangUpConnection(state.link))
        state.closing = std::exchange(state.link, nullptr);
}

// Every dial of the monitor, once the link it hung up last has closed.
DialOutcome MonitorDial(MonitorState& state) {
    if (state.closing && !WaitUntilClosed(std::exchange(state.closing, nullptr)))
        return {DialResult::Ended};
    return DialAndConfirm(kMonitorDialTexts);
}

// A successful dial of the monitor restarts the forced-redial interval and replaces the link.
bool RecordDial(const DialOutcome& outcome, MonitorState& state) {
    ReleaseEndedLink(state);
    const bool connected = outcome.result == DialResult::Connected;
    if (connected) {
        state.lastDialTick = outcome.connectedTick;
        state.link = outcome.handle;
    }
    SetOnline(connected);
    RefreshOnlineState();
    return connected;
}

void SetUpMonitor() {
    for (const ui::ControlId control : kLockedWhileMonitoring)
        gui::SetEnabled(control, false);
    if (gui::IsChecked(选择框5)) {
        RefreshOnlineState();
        gui::SetMinimized(ui::WindowKind::Main, true);
    }
    const std::string address = AddressText(GetEntryAddress(CurrentAccount().entryName));
    SetConnectionPane(address);
    AppendLog(address);
}

Next ForcedRedial(const std::string& entryName, MonitorState& state) {
    // Not connected: nothing to hang up, the dial comes at once.
    if (const HRASCONN handle = EntryConnectionHandle(entryName)) {
        AppendLog("开始重播");
        if (HangUpEntry(handle, entryName) == HangUpResult::Ended)
            return Next::End;
        // Hung up here already: the dial that follows has nothing left to release.
        if (handle == state.link)
            state.link = nullptr;
        if (!SleepWhileAlive(PauseMilliseconds()))
            return Next::End;
    }
    const DialOutcome outcome = MonitorDial(state);
    if (outcome.result == DialResult::Ended)
        return Next::End;
    if (!RecordDial(outcome, state) && !SleepWhileAlive(kFailedForcedRedialPauseMs))
        return Next::End;
    return Next::Pause;
}

Next RunCycle(MonitorState& state) {
    if (!MainWindowAlive())
        return Next::End;
    const std::string entryName = CurrentAccount().entryName;
    const std::optional<ActiveConnection> listed = FindEntryConnection(entryName);
    const bool entryMissing = !listed;
    if (listed)
        state.link = listed->handle;
    if (!MainWindowAlive())
        return Next::End;
    KeepFlagInStep(entryMissing);

    if (entryMissing && gui::IsChecked(选择框1)) {
        const DialOutcome outcome = MonitorDial(state);
        if (outcome.result == DialResult::Ended)
            return Next::End;
        // A failed redial after a drop is tried again at once.
        if (!RecordDial(outcome, state))
            return Next::CheckAtOnce;
    }
    if (!MainWindowAlive())
        return Next::End;
    return ForcedRedialDue(state.lastDialTick) ? ForcedRedial(entryName, state) : Next::Pause;
}

}  // namespace

void StartMonitor() { StartWorker<MonitorLoop>(); }

void MonitorLoop() {
    SetUpMonitor();
    // Real elapsed time: setting the wall clock neither delays nor brings forward a redial.
    MonitorState state{TickMilliseconds()};
    const DisconnectionSignal disconnection;
    for (;;) {
        const Next next = RunCycle(state);
        if (next == Next::End)
            return;
        if (next == Next::Pause)
            disconnection.Pause(kCyclePauseMs);
    }
}

void StartManualRedial() { StartWorker<ManualRedial>(); }

void ManualRedial() {
    const bool neverDrop = gui::IsChecked(选择框1);
    const std::string entryName = CurrentAccount().entryName;
    if (const HRASCONN handle = EntryConnectionHandle(entryName)) {
        // "永不掉线" stays off until the new dial has ended: a running monitor does not dial meanwhile.
        if (!HangUpByHand(handle, entryName, {}) || !SleepWhileAlive(PauseMilliseconds()))
            return;
    }
    if (DialAndConfirm(kManualDialTexts).result == DialResult::Ended)
        return;
    RefreshOnlineState();
    gui::SetChecked(选择框1, neverDrop);
}
