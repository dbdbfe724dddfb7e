#include "core/startup.h"

#include <atomic>

#include "core/activity_log.h"
#include "core/instance_guard.h"
#include "core/main_window.h"
#include "core/settings.h"
#include "core/status_display.h"
#include "core/worker.h"
#include "dialup/monitor.h"
#include "dialup/system_functions.h"
#include "phonebook/entry_listing.h"
#include "probe/active_connections.h"
#include "ui/auto_start.h"
#include "ui/gui.h"

namespace {

using namespace ui::main_window;

enum class Scan { NotStarted, Running, Found, NotFound };
std::atomic<Scan> gScan{Scan::NotStarted};

bool ScanProcesses() {
    EnableDebugPrivilege();
    return FindRunningInstance(sys::GetCurrentProcessId());
}

void ScanOnWorker() {
    gScan = ScanProcesses() ? Scan::Found : Scan::NotFound;
    gScan.notify_all();
}

// The started scan's answer once it has one; a scan here when none was started.
bool RunningInstanceFound() {
    gScan.wait(Scan::Running);
    const Scan answer = gScan;
    return answer == Scan::NotStarted ? ScanProcesses() : answer == Scan::Found;
}

// Put back on every start after the user deleted it; any file of that name is left alone.
void RestoreDesktopShortcut() {
    const std::string desktop = DesktopFolder();
    if (!desktop.empty() && !PathExists(desktop + kShortcutName))
        PlaceShortcut(desktop);
}

// Any active dial-up connection counts, not only the saved entry's.
void ShowWhetherOnline() {
    SetOnline(!ListActiveConnections().empty());
    RefreshOnlineState();
}

}  // namespace

void StartInstanceScan() {
    gScan = Scan::Running;
    if (!StartWorker<ScanOnWorker>())
        gScan = Scan::NotStarted;
}

void RunStartup() {
    gui::SetWidth(ui::WindowKind::Main, kNarrowMainWidth);  // the log stays folded until asked for
    if (RunningInstanceFound()) {
        gui::ShowMessage(ui::WindowKind::Main, "已有一个程序在运行，请勿重复运行");
        gui::Close(ui::WindowKind::Main);
        return;
    }
    gui::SetChecked(选择框3, AutoStartInstalled());
    LoadSettings();
    RestoreDesktopShortcut();
    FillConnectionList();
    ShowWhetherOnline();

    const AccountSettings saved = CurrentAccount();
    const bool accountSaved = !saved.userName.empty() && !saved.password.empty();
    if (accountSaved && gui::IsChecked(选择框4))
        StartMonitor();
    if (accountSaved)
        AppendLog("软件启动成功");
    else
        RefreshOnlineState();
}
