#include "core/main_window.h"

#include <windows.h>

#include "core/status_display.h"
#include "ui/controls.h"
#include "ui/gui.h"

namespace {

using ui::WindowKind;

// Where the menu's top-right corner goes, relative to the cursor.
constexpr POINT kMenuOffset{-5, -5};

}  // namespace

void ToggleLogPanel() {
    const bool narrow = gui::GetWidth(WindowKind::Main) == kNarrowMainWidth;
    gui::SetWidth(WindowKind::Main, narrow ? kWideMainWidth : kNarrowMainWidth);
    gui::SetText(ui::main_window::超级链接框1, narrow ? "<<收起日志" : "查看日志>>");
}

void ShowMainWindow() {
    gui::Show(WindowKind::Main, true);
    gui::SetMinimized(WindowKind::Main, false);
    gui::SetTopMost(WindowKind::Main, true);
    gui::SetTopMost(WindowKind::Main, false);
    gui::Activate(WindowKind::Main);
}

void OnMainWindowMinimized() {
    RefreshOnlineState();
    gui::Show(WindowKind::Main, false);
}

void PopUpNotificationMenu() {
    POINT cursor{};
    GetCursorPos(&cursor);
    gui::PopUpTrayMenuAt({cursor.x + kMenuOffset.x, cursor.y + kMenuOffset.y});
}
