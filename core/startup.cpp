#include "core/startup.h"

#include <vector>

#include "core/activity_log.h"
#include "core/instance_guard.h"
#include "core/main_window.h"
#include "core/settings.h"
#include "core/status_display.h"
#include "dialup/monitor.h"
#include "dialup/system_functions.h"
#include "phonebook/entry_listing.h"
#include "probe/active_connections.h"
#include "ui/auto_start.h"
#include "ui/gui.h"

namespace {

using namespace ui::main_window;

// Put back on every start after the user deleted it; any file of that name is left alone.
void RestoreDesktopShortcut() {
    const std::string desktop = DesktopFolder();
    if (!desktop.empty() && !PathExists(desktop + kShortcutName))
        PlaceShortcut(desktop);
}

// Any active dial-up connection counts, not only the saved entry's.
void ShowWhetherOnline() {
    std::vector<ActiveConnection> connections;
    ListActiveConnections(connections);
    OnlineFlag = connections.empty() ? 0 : 1;
    RefreshOnlineState();
}

}  // namespace

void RunStartup() {
    gui::SetWidth(ui::WindowKind::Main, kNarrowMainWidth);  // the log stays folded until asked for
    EnableDebugPrivilege();
    if (FindRunningInstance(sys::GetCurrentProcessId())) {
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
