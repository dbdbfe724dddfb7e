// The Main window's own behaviour with the program's real handlers: folding the log area,
// minimising into the notification area and back, and the icon's end with the window.
#include "core/main_window.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "core/status_display.h"
#include "tests/core/main_window_fixture.h"
#include "tests/support/message_pump.h"
#include "tests/support/tray_tooltip_watch.h"
#include "ui/controls.h"
#include "ui/gui.h"
#include "ui/tray_icon.h"

namespace {

using tray_tooltip_watch::TrayTooltip;
using ui::WindowKind;

HWND Main() {
    return gui::Handle(WindowKind::Main);
}

RECT Frame() {
    RECT frame{};
    GetWindowRect(Main(), &frame);
    return frame;
}

// Only an icon the shell holds can be modified.
bool ShellHoldsIcon(HWND owner) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = owner;
    data.uID = kTrayIconId;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

class MainWindowBehaviour : public MainWindowFixture {};

struct ToggleCase {
    int widthBefore;
    int widthAfter;
    const char* linkText;
};

constexpr ToggleCase kToggles[] = {
    {kNarrowMainWidth, kWideMainWidth, "<<收起日志"},
    {kWideMainWidth, kNarrowMainWidth, "查看日志>>"},
    {500, kNarrowMainWidth, "查看日志>>"},  // any width but the narrow one folds
};

}  // namespace

TEST_F(MainWindowBehaviour, ToggleLogPanelChangesOnlyTheWidthAndTheLinkText) {
    for (const ToggleCase& toggle : kToggles) {
        SCOPED_TRACE(toggle.widthBefore);
        gui::SetWidth(WindowKind::Main, toggle.widthBefore);
        const RECT before = Frame();
        ToggleLogPanel();
        const RECT after = Frame();
        EXPECT_EQ(after.right - after.left, toggle.widthAfter);
        EXPECT_EQ(after.left, before.left);
        EXPECT_EQ(after.top, before.top);
        EXPECT_EQ(after.bottom, before.bottom);
        EXPECT_EQ(gui::GetText(ui::main_window::超级链接框1), toggle.linkText);
    }
}

TEST_F(MainWindowBehaviour, MinimisingHidesAfterRefreshingAndShowMainWindowBringsItBackInFront) {
    OnlineFlag = 1;
    gui::SetMinimized(WindowKind::Main, true);
    message_pump::PumpPending();
    EXPECT_FALSE(IsWindowVisible(Main()));
    EXPECT_EQ(TrayTooltip(), "在线");
    EXPECT_EQ(gui::GetStatusPane(1), "当前状态：在线");
    OnlineFlag = 0;

    ShowMainWindow();
    message_pump::PumpPending();
    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_FALSE(IsIconic(Main()));
    EXPECT_FALSE(GetWindowLongPtrA(Main(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetForegroundWindow(), Main());
}

// A window opened after another one was destroyed gets its own icon: the slot was emptied.
TEST_F(MainWindowBehaviour, EveryWayOfDestroyingTheWindowTakesTheIconAlong) {
    using Close = void (*)();
    constexpr Close kCloses[] = {
        [] { gui::Close(WindowKind::Main); },
        [] { SendMessageA(Main(), WM_SYSCOMMAND, SC_CLOSE, 0); },
        [] { SendMessageA(Main(), WM_COMMAND, static_cast<WPARAM>(ui::TrayMenuItem::退出), 0); },
    };
    for (Close close : kCloses) {
        const HWND closed = Main();
        ASSERT_TRUE(ShellHoldsIcon(closed));
        close();
        EXPECT_EQ(Main(), nullptr);
        EXPECT_FALSE(ShellHoldsIcon(closed));
        message_pump::PumpPending();
        gui::Open(WindowKind::Main);
        ASSERT_NE(Main(), nullptr);
    }
}
