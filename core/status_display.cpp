#include "core/status_display.h"

#include <string>

#include "ui/controls.h"
#include "ui/gui.h"
#include "ui/status_icons.h"
#include "ui/tray_icon.h"

std::atomic<LONG> OnlineFlag{0};

void RefreshOnlineState() {
    using ui::TrayMenuItem;
    const bool online = IsOnline();
    const char* state = online ? "在线" : "离线";
    gui::SetMenuItemEnabled(TrayMenuItem::断线, online);
    gui::SetMenuItemEnabled(TrayMenuItem::拨号, !online);
    gui::SetMenuItemEnabled(TrayMenuItem::重播, online);
    SetTrayIcon(LoadStatusIcon(online, GetSystemMetrics(SM_CXSMICON)), state);
    // The caption's icon drawn for its size, not the large one shrunk by the system.
    gui::SetIcons(ui::WindowKind::Main, LoadStatusIcon(online, GetSystemMetrics(SM_CXICON)),
                  LoadStatusIcon(online, GetSystemMetrics(SM_CXSMICON)));
    gui::SetStatusPane(1, std::string("当前状态：") + state);
}

void SetConnectionPane(std::string_view text) { gui::SetStatusPane(0, text); }
