// kdset.ini: the account triple and the Main window's options. The options live in their
// controls and are written when their check box is clicked; the account is written when
// monitoring starts.
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "core/program_path.h"

struct AccountSettings {
    std::string entryName;
    std::string userName;
    std::string password;
};

// The account that dialing and monitoring use. Workers read it while the GUI thread may
// replace it; a reader always sees one whole triple.
AccountSettings CurrentAccount();
void ReplaceAccount(AccountSettings account);

std::string SettingsPath();

std::string LoadSetting(const char* section, const char* key);
void SaveSetting(const char* section, const char* key, std::string_view value);
void LoadSettings();
// Writes the account's three keys: "宽带账号", "宽带密码", "连接名称", in that order.
void SaveAccountSettings(const AccountSettings& account);

void OnNeverDropClicked();
void OnPeriodicRedialClicked();
void OnAutoMonitorClicked();
void OnMinimizeAfterMonitorClicked();
