// Whether the link is believed up, and everything that shows it: tray icon and tooltip,
// window icon, the tray menu's dial/hang-up/redial items and the state pane.
#pragma once
#include <windows.h>

#include <atomic>
#include <string_view>

// 1 while the configured connection is believed up; written by several threads, last one wins.
extern std::atomic<LONG> OnlineFlag;

void RefreshOnlineState();
void SetConnectionPane(std::string_view text);
