// Whether the link is believed up, and everything that shows it: tray icon and tooltip,
// window icon, the tray menu's dial/hang-up/redial items and the state pane.
#pragma once
#include <windows.h>

#include <atomic>
#include <string_view>

// 1 while the configured connection is believed up, else 0; several threads write it, last wins.
extern std::atomic<LONG> OnlineFlag;
inline void SetOnline(bool online) { OnlineFlag = online ? 1 : 0; }
inline bool IsOnline() { return OnlineFlag.load() == 1; }

void RefreshOnlineState();
void SetConnectionPane(std::string_view text);
