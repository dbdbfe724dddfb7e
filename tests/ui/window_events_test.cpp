// The events the window tables bind: start-up, option clicks, close box, shell restart.
#include "ui/gui.h"
#include "ui_test_support.h"

namespace {

using namespace ui_test;
namespace m = ui::main_window;
using Calls = std::vector<std::string>;

TEST(WindowEvents, CreatedEventRunsStartupOnceAfterTheControlsExistBeforeTheWindowShows) {
    HandlerCalls().clear();
    gui::Open(ui::WindowKind::Main);
    EXPECT_EQ(HandlerCalls(), Calls{"RunStartup"});
    EXPECT_TRUE(SeenByStartup().controlsExisted);
    EXPECT_FALSE(SeenByStartup().windowVisible);
    EXPECT_TRUE(IsWindowVisible(Window(ui::WindowKind::Main)));
    gui::Close(ui::WindowKind::Main);
}

TEST_F(MainWindowTest, OptionClicksCallTheirHandlers) {
    HandlerCalls().clear();
    for (ui::ControlId box : {m::选择框1, m::选择框2, m::选择框3, m::选择框4, m::选择框5}) {
        const bool wasChecked = SendMessageA(Control(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
        SendMessageA(Control(box), BM_CLICK, 0, 0);
        EXPECT_NE(SendMessageA(Control(box), BM_GETCHECK, 0, 0) == BST_CHECKED, wasChecked);
    }
    EXPECT_EQ(HandlerCalls(), (Calls{"OnNeverDropClicked", "OnPeriodicRedialClicked", "OnAutoStartClicked",
                                     "OnAutoMonitorClicked", "OnMinimizeAfterMonitorClicked"}));
}

TEST_F(MainWindowTest, ShellRestartCallsItsHandler) {
    HandlerCalls().clear();
    SendMessageA(main_, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_EQ(HandlerCalls(), Calls{"OnTaskbarCreated"});
}

TEST_F(MainWindowTest, TrayMenuConnectionItemsStartTheirOperations) {
    HandlerCalls().clear();
    for (ui::TrayMenuItem item : {ui::TrayMenuItem::拨号, ui::TrayMenuItem::断线, ui::TrayMenuItem::重播})
        SendMessageA(main_, WM_COMMAND, static_cast<WPARAM>(item), 0);
    EXPECT_EQ(HandlerCalls(), (Calls{"StartManualDial", "StartManualHangUp", "StartManualRedial"}));
}

TEST_F(MainWindowTest, CloseBoxRemovesTheTrayIconThenEndsTheLoopWithItsWindows) {
    gui::Open(ui::WindowKind::About);
    HandlerCalls().clear();
    SendMessageA(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(HandlerCalls(), Calls{"RemoveTrayIcon"});
    EXPECT_FALSE(IsWindow(main_));
    EXPECT_EQ(Window(ui::WindowKind::Main), nullptr);
    EXPECT_EQ(Window(ui::WindowKind::About), nullptr);
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
