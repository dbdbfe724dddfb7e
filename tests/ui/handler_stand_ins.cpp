// Stand-ins for the program's handlers that the window tables bind; each records its call.
#include "core/main_window.h"
#include "core/settings.h"
#include "core/startup.h"
#include "dialup/dial.h"
#include "dialup/hang_up.h"
#include "dialup/monitor.h"
#include "phonebook/entry_deletion.h"
#include "phonebook/entry_listing.h"
#include "phonebook/new_entry.h"
#include "phonebook/start_monitoring.h"
#include "ui/auto_start.h"
#include "ui/tray_icon.h"
#include "ui_test_support.h"

namespace {

void Record(const char* handler) {
    ui_test::HandlerCalls().push_back(handler);
}

}  // namespace

void RunStartup() {
    Record("RunStartup");
    using namespace ui::main_window;
    const HWND logList = GetDlgItem(ui_test::Control(分组框1), 列表框1.id);
    ui_test::SeenByStartup() = {logList != nullptr && ui_test::Control(状态条1) != nullptr,
                                IsWindowVisible(ui_test::Window(ui::WindowKind::Main)) != FALSE};
}

void OnNeverDropClicked() { Record("OnNeverDropClicked"); }
void OnPeriodicRedialClicked() { Record("OnPeriodicRedialClicked"); }
void OnAutoMonitorClicked() { Record("OnAutoMonitorClicked"); }
void OnMinimizeAfterMonitorClicked() { Record("OnMinimizeAfterMonitorClicked"); }
void RemoveTrayIcon() { Record("RemoveTrayIcon"); }
void OnTaskbarCreated() { Record("OnTaskbarCreated"); }
void StartManualDial() { Record("StartManualDial"); }
void StartManualHangUp() { Record("StartManualHangUp"); }
void StartManualRedial() { Record("StartManualRedial"); }
void OnConnectionSelected() { Record("OnConnectionSelected"); }
void OnDeleteEntry() { Record("OnDeleteEntry"); }
void OnAutoStartClicked() { Record("OnAutoStartClicked"); }
void OnStartMonitoring() { Record("OnStartMonitoring"); }
void OnCreateEntry() { Record("OnCreateEntry"); }
void ToggleLogPanel() { Record("ToggleLogPanel"); }
void ShowMainWindow() { Record("ShowMainWindow"); }
void OnMainWindowMinimized() { Record("OnMainWindowMinimized"); }
void PopUpNotificationMenu() { Record("PopUpNotificationMenu"); }
