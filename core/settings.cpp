#include "core/settings.h"

#include <windows.h>

#include <atomic>
#include <utility>

#include "ui/controls.h"
#include "ui/gui.h"

namespace {

using namespace ui::main_window;

constexpr const char* kAccountSection = "账号";
constexpr const char* kOptionsSection = "设置";
constexpr const char* kYes = "是";
constexpr const char* kNo = "否";

std::atomic<std::shared_ptr<const AccountSettings>> gAccount{std::make_shared<const AccountSettings>()};

const char* YesNo(bool yes) { return yes ? kYes : kNo; }

// The file keeps its old value, so the next start would lose the change: the user is told, once
// a run, not at every click.
void ReportFailedWrite() {
    static bool reported = false;
    if (!std::exchange(reported, true))
        gui::ShowMessage(ui::WindowKind::Main, "设置保存失败：" + SettingsPath());
}

void SaveCheckBox(ui::ControlId checkBox, const char* key) {
    SaveSetting(kOptionsSection, key, YesNo(gui::IsChecked(checkBox)));
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The profile functions trim blanks around a value and drop a pair of enclosing quotes; such a
// value (a password, say) is written inside double quotes so that it reads back as it was.
std::string ProfileText(std::string_view value) {
    const bool enclosed =
        value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    if (value.empty() || !(IsBlank(value.front()) || IsBlank(value.back()) || enclosed))
        return std::string(value);
    std::string quoted(1, '"');
    return quoted.append(value).append(1, '"');
}

void EnableIntervalWhileRedialIsOff() { gui::SetEnabled(编辑框3, !gui::IsChecked(选择框2)); }

}  // namespace

AccountSettings CurrentAccount() { return *gAccount.load(); }

void ReplaceAccount(AccountSettings account) {
    gAccount.store(std::make_shared<const AccountSettings>(std::move(account)));
}

std::string SettingsPath() { return ProgramDirectory() + "\\kdset.ini"; }

std::string LoadSetting(const char* section, const char* key) {
    char value[10240] = {};
    DWORD length = GetPrivateProfileStringA(section, key, "", value, sizeof value, SettingsPath().c_str());
    return std::string(value, length);
}

void SaveSetting(const char* section, const char* key, std::string_view value) {
    if (!WritePrivateProfileStringA(section, key, ProfileText(value).c_str(), SettingsPath().c_str()))
        ReportFailedWrite();
}

void LoadSettings() {
    AccountSettings account;
    account.userName = LoadSetting(kAccountSection, "宽带账号");
    account.password = LoadSetting(kAccountSection, "宽带密码");
    account.entryName = LoadSetting(kAccountSection, "连接名称");
    ReplaceAccount(std::move(account));

    gui::SetChecked(选择框1, LoadSetting(kOptionsSection, "永不掉线") != kNo);
    gui::SetChecked(选择框4, LoadSetting(kOptionsSection, "自动监控") == kYes);
    gui::SetChecked(选择框5, LoadSetting(kOptionsSection, "最小化") == kYes);
    if (std::string interval = LoadSetting(kOptionsSection, "重播间隔"); !interval.empty())
        gui::SetText(编辑框3, interval);
    gui::SetChecked(选择框2, LoadSetting(kOptionsSection, "自动重播") == kYes);
    EnableIntervalWhileRedialIsOff();
}

void SaveAccountSettings(const AccountSettings& account) {
    SaveSetting(kAccountSection, "宽带账号", account.userName);
    SaveSetting(kAccountSection, "宽带密码", account.password);
    SaveSetting(kAccountSection, "连接名称", account.entryName);
}

void OnNeverDropClicked() { SaveCheckBox(选择框1, "永不掉线"); }

void OnPeriodicRedialClicked() {
    SaveCheckBox(选择框2, "自动重播");
    SaveSetting(kOptionsSection, "重播间隔", gui::GetText(编辑框3));
    EnableIntervalWhileRedialIsOff();
}

void OnAutoMonitorClicked() { SaveCheckBox(选择框4, "自动监控"); }

void OnMinimizeAfterMonitorClicked() { SaveCheckBox(选择框5, "最小化"); }
