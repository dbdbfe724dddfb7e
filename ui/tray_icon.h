// The Main window's one notification-area icon (id 100).
#pragma once
#include <windows.h>

#include <string_view>

inline constexpr UINT kTrayCallbackMessage = WM_APP + 100;
inline constexpr UINT kTrayIconId = 100;
inline constexpr std::size_t kTrayTipBytes = 62;

// Shows `icon` (the slot takes ownership) with `tooltip`, cut to 62 bytes.
void SetTrayIcon(HICON icon, std::string_view tooltip);
void RemoveTrayIcon();
// The shell re-created the notification area: show the icon again.
void OnTaskbarCreated();
