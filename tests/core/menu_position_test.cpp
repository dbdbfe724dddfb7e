// The tray menu opens where the user's pointer is: at the cursor under "手动操作>>", and
// right-aligned above-left of it at the notification-area icon, with the Main window in front.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/main_window.h"
#include "tests/core/main_window_fixture.h"
#include "tests/support/popup_menu_watch.h"
#include "ui/controls.h"
#include "ui/gui.h"

namespace {

using popup_menu_watch::PlaceCursor;
using popup_menu_watch::WatchPopUpMenu;

class MenuPosition : public MainWindowFixture {};

HWND Main() {
    return gui::Handle(ui::WindowKind::Main);
}

}  // namespace

TEST_F(MenuPosition, ManualOperationLinkOpensTheMenuWithItsTopLeftAtTheCursor) {
    constexpr POINT kCursor{300, 280};
    ASSERT_TRUE(PlaceCursor(kCursor));
    const HWND link = GetDlgItem(Main(), ui::main_window::超级链接框2.id);
    const auto shown = WatchPopUpMenu([link] { SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2)); });
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->rect.left, kCursor.x);
    EXPECT_EQ(shown->rect.top, kCursor.y);
}

TEST_F(MenuPosition, IconMenuIsRightAlignedAboveLeftOfTheCursorWithTheWindowInFront) {
    constexpr POINT kCursor{400, 300};
    ASSERT_TRUE(PlaceCursor(kCursor));
    const auto shown = WatchPopUpMenu(PopUpNotificationMenu);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->rect.right, kCursor.x - 5);
    EXPECT_EQ(shown->rect.top, kCursor.y - 5);
    EXPECT_EQ(shown->foreground, Main());
}
