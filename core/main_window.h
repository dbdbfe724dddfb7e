// The Main window's own behaviour: the folding log area, minimising into the notification
// area, coming back from it, and the tray menu at the icon.
#pragma once

// The window is this wide while the log area is folded away, and this wide while it shows.
inline constexpr int kNarrowMainWidth = 356;
inline constexpr int kWideMainWidth = 783;

// 超级链接框1: unfolds the log area when the window is narrow, folds it otherwise.
void ToggleLogPanel();
// Visible, restored, in front of other windows without staying on top, and active.
void ShowMainWindow();
// A minimised Main window leaves the task bar: the notification-area icon is the way back.
void OnMainWindowMinimized();
// Right click on the notification-area icon: the tray menu right-aligned just above-left of
// the cursor.
void PopUpNotificationMenu();
