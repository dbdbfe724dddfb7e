// For in-process tests of the notification-area icon: the tooltip the program last handed to
// the shell. The test program's import of Shell_NotifyIconA is replaced before main by one that
// notes each call and passes it on.
#pragma once
#include <string>

namespace tray_tooltip_watch {

// The tooltip of the last call that handed the shell an icon with it, as every call of the
// program does (a probe of the shell without an icon leaves it alone); empty before the first
// one and after the icon was deleted.
std::string TrayTooltip();

}  // namespace tray_tooltip_watch
