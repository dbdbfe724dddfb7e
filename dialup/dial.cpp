#include "dialup/dial.h"

#include "core/activity_log.h"
#include "core/settings.h"
#include "core/status_display.h"
#include "core/worker.h"
#include "dialup/connection_states.h"
#include "dialup/elapsed_time.h"
#include "dialup/hang_up.h"
#include "probe/adapter_addresses.h"
#include "probe/dial_request.h"
#include "probe/link_check.h"

namespace {

constexpr DWORD kPollIntervalMs = 100;
constexpr int kPollLimit = 100;

// The code that ended a dial whose link never came up: the one its handle's status reports, else
// the notifier's; 0 when the dial was still under way.
DWORD EndingError(HRASCONN handle) {
    const DWORD reported = LinkError(handle);
    const DWORD notified = TakeNotifiedError();
    return reported != 0 ? reported : notified;
}

// The failure line alone cannot tell a wrong password from a dead line.
std::string ErrorLine(DWORD error) {
    return "错误代码 " + std::to_string(error) + "：" + (error != 0 ? GetDialErrorText(error) : "拨号超时");
}

DialOutcome ReportFailure(const DialTexts& texts, HRASCONN handle, DWORD refusal) {
    const DWORD error = handle ? EndingError(handle) : refusal;
    SetConnectionPane("拨号失败");
    AppendLog(texts.failure);
    AppendLog(ErrorLine(error));
    // A dial refused at once has no link to hang up.
    if (handle && !HangUpWithRetry(handle))
        return {DialResult::Ended};
    SetOnline(false);
    return {DialResult::Failed};
}

}  // namespace

DialOutcome DialAndConfirm(const DialTexts& texts) {
    // Held before the window is asked, so that the program either waits for this dial's link
    // or has begun to end before the dial starts, and then it does not start.
    const LinkHold hold;
    if (!MainWindowAlive())
        return {DialResult::Ended};
    AppendLog(texts.start);
    const AccountSettings account = CurrentAccount();
    TakeNotifiedError();  // an earlier dial's
    DWORD refusal = 0;
    const HRASCONN handle = DialEntry(account.entryName, account.userName, account.password, OnDialProgress, &refusal);
    for (int check = 0; check < kPollLimit; ++check) {
        if (!SleepWhileAlive(kPollIntervalMs)) {
            EndLinkAtQuit(handle);
            return {DialResult::Ended};
        }
        if (IsLinkUp(handle))
            break;
    }
    // A link that comes up just after the last check still counts.
    if (IsLinkUp(handle)) {
        const std::uint64_t connectedTick = TickMilliseconds();
        const std::string address = AddressText(GetEntryAddress(account.entryName));
        SetConnectionPane(address);
        AppendLog(std::string(texts.success) + address);
        SetOnline(true);
        return {DialResult::Connected, connectedTick, handle};
    }
    return ReportFailure(texts, handle, refusal);
}

std::string AddressText(std::string_view address) { return std::string("当前IP：").append(address); }

void StartManualDial() { StartWorker<ManualDial>(); }

void ManualDial() {
    const DialResult result = DialAndConfirm(kManualDialTexts).result;
    if (result == DialResult::Ended)
        return;
    RefreshOnlineState();
    if (result == DialResult::Connected)
        RestoreNeverDrop();
}
