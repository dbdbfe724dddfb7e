#include "phonebook/start_monitoring.h"

#include <string>

#include "core/integer_value.h"
#include "core/settings.h"
#include "dialup/monitor.h"
#include "phonebook/entry_listing.h"
#include "ui/gui.h"

namespace {

using namespace ui::main_window;

constexpr UINT kQuestion = MB_OKCANCEL | MB_ICONQUESTION;

void Tell(const char* text) { gui::ShowMessage(ui::WindowKind::Main, text); }

bool Ask(const std::string& question) { return gui::ShowMessage(ui::WindowKind::Main, question, kQuestion) == IDOK; }

// The typed account may differ from the one the system stores for the entry; the user decides.
bool AccountAccepted(const std::string& entryName, const std::string& typed) {
    const std::string stored = GetEntryUserName(entryName);
    if (stored.empty() && typed.empty()) {
        Tell("请设置宽带用户名");
        return false;
    }
    return stored.empty() || stored == typed ||
           Ask("检测到您的宽带" + entryName + "的用户名应该是：" + stored + "，跟您填写的不同，请问是否继续？");
}

bool IntervalAccepted() {
    if (!gui::IsChecked(选择框2) || IntegerValue(gui::GetText(编辑框3)) >= 1)
        return true;
    Tell("重播间隔设置错误");
    return false;
}

}  // namespace

void OnStartMonitoring() {
    const std::string entryName = gui::GetSelectedText(组合框1);
    if (entryName.empty())
        return Tell("请选择一个宽带");
    const std::string userName = gui::GetText(编辑框1);
    if (!AccountAccepted(entryName, userName))
        return;
    const std::string password = gui::GetText(编辑框2);
    if (password.empty())
        return Tell("请设置宽带密码");
    if (!IntervalAccepted() || !Ask("是否开启监控？"))
        return;
    // Memory first: the monitor reads it, and a failure to write the file goes unnoticed.
    const AccountSettings account{entryName, userName, password};
    ReplaceAccount(account);
    SaveAccountSettings(account);
    StartMonitor();
}
