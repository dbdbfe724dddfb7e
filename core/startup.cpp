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

// Questions of start-up that a worker answers while the GUI thread builds the Main window.
enum class Answer { Pending, Yes, No };
std::atomic<bool> gAsked{false};
std::atomic<Answer> gInstanceRunning{Answer::Pending};
std::atomic<Answer> gAutoStartInstalled{Answer::Pending};
// Written before gAutoStartInstalled is given, read after it is.
AutoStartState gAutoStart;

bool ScanProcesses() {
    EnableDebugPrivilege();
    return FindRunningInstance(sys::GetCurrentProcessId());
}

bool SettleAndKeepAutoStart() {
    gAutoStart = SettleAutoStart();
    return gAutoStart.installed;
}

void Give(std::atomic<Answer>& answer, bool yes) {
    answer = yes ? Answer::Yes : Answer::No;
    answer.notify_all();
}

// The guard answers first: nothing of the later steps runs before it has.
void AnswerOnWorker() {
    const bool running = ScanProcesses();
    Give(gInstanceRunning, running);
    if (!running)
        Give(gAutoStartInstalled, SettleAndKeepAutoStart());
}

// The worker's answer once it has one; asked here when no worker was started.
bool Await(std::atomic<Answer>& answer, bool (*ask)()) {
    if (!gAsked)
        return ask();
    answer.wait(Answer::Pending);
    return answer == Answer::Yes;
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

void StartInstanceScan() { gAsked = StartWorker<AnswerOnWorker>(); }

void RunStartup() {
    gui::SetWidth(ui::WindowKind::Main, kNarrowMainWidth);  // the log stays folded until asked for
    if (Await(gInstanceRunning, ScanProcesses)) {
        gui::ShowMessage(ui::WindowKind::Main, "已有一个程序在运行，请勿重复运行");
        gui::Close(ui::WindowKind::Main);
        return;
    }
    gui::SetChecked(选择框3, Await(gAutoStartInstalled, SettleAndKeepAutoStart));
    LoadSettings();
    const bool temporary = RunsFromTemporaryFolder();
    if (!temporary)
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
    if (temporary)
        gui::ShowMessage(ui::WindowKind::Main, kTemporaryFolderNotice);
    if (!gAutoStart.notice.empty())
        gui::ShowMessage(ui::WindowKind::Main, gAutoStart.notice);
}
