// The events the window tables bind: start-up, option clicks, tray icon, links, menu items,
// minimising, shell restart and every way of closing the Main window.
#include "ui/gui.h"
#include "ui/tray_icon.h"
#include "ui_test_support.h"

namespace {

using namespace ui_test;
namespace m = ui::main_window;
using Calls = std::vector<std::string>;
using ui::TrayMenuItem;

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

void Tray(HWND main, UINT mouseMessage) {
    SendMessageA(main, kTrayCallbackMessage, kTrayIconId, mouseMessage);
}

void Choose(HWND main, TrayMenuItem item) {
    SendMessageA(main, WM_COMMAND, static_cast<WPARAM>(item), 0);
}

struct EventCase {
    const char* event;
    void (*raise)(HWND main);
    Calls handlers;
};

const EventCase kEvents[] = {
    {"tray: left button released", [](HWND w) { Tray(w, WM_LBUTTONUP); }, {}},
    {"tray: left button pressed", [](HWND w) { Tray(w, WM_LBUTTONDOWN); }, {}},
    {"tray: mouse moved", [](HWND w) { Tray(w, WM_MOUSEMOVE); }, {}},
    {"tray: right button pressed", [](HWND w) { Tray(w, WM_RBUTTONDOWN); }, {}},
    {"tray: left double-click", [](HWND w) { Tray(w, WM_LBUTTONDBLCLK); }, {"ShowMainWindow"}},
    {"tray: right button released", [](HWND w) { Tray(w, WM_RBUTTONUP); }, {"PopUpNotificationMenu"}},
    {"tray: menu key", [](HWND w) { Tray(w, WM_CONTEXTMENU); }, {"PopUpNotificationMenu"}},
    {"log link released",
     [](HWND) { SendMessageA(Control(m::超级链接框1), WM_LBUTTONUP, 0, MAKELPARAM(2, 2)); }, {"ToggleLogPanel"}},
    {"minimise box", [](HWND w) { SendMessageA(w, WM_SYSCOMMAND, SC_MINIMIZE, 0); }, {"OnMainWindowMinimized"}},
    {"menu: 拨号", [](HWND w) { Choose(w, TrayMenuItem::拨号); }, {"StartManualDial"}},
    {"menu: 断线", [](HWND w) { Choose(w, TrayMenuItem::断线); }, {"StartManualHangUp"}},
    {"menu: 重播", [](HWND w) { Choose(w, TrayMenuItem::重播); }, {"StartManualRedial"}},
    {"menu: 显示界面", [](HWND w) { Choose(w, TrayMenuItem::显示界面); }, {"ShowMainWindow"}},
    {"shell restarted", [](HWND w) { SendMessageA(w, RegisterWindowMessageA("TaskbarCreated"), 0, 0); },
     {"OnTaskbarCreated"}},
};

TEST_F(MainWindowTest, EachEventCallsItsHandlerAndNothingElse) {
    for (const EventCase& event : kEvents) {
        SCOPED_TRACE(event.event);
        HandlerCalls().clear();
        event.raise(main_);
        EXPECT_EQ(HandlerCalls(), event.handlers);
    }
}

struct SecondaryCase {
    ui::WindowKind window;
    void (*open)(HWND main);
};

const SecondaryCase kSecondaries[] = {
    {ui::WindowKind::NewConnection, [](HWND) { SendMessageA(Control(m::按钮2), BM_CLICK, 0, 0); }},
    {ui::WindowKind::About, [](HWND w) { Choose(w, TrayMenuItem::关于); }},
};

TEST_F(MainWindowTest, AskingForAnOpenSecondaryWindowBringsThatOneToTheFront) {
    for (const SecondaryCase& secondary : kSecondaries) {
        secondary.open(main_);
        const HWND first = Window(secondary.window);
        ASSERT_NE(first, nullptr);
        SetForegroundWindow(main_);
        secondary.open(main_);
        EXPECT_EQ(Window(secondary.window), first);
        EXPECT_EQ(GetForegroundWindow(), first);
        EXPECT_EQ(GetWindow(first, GW_OWNER), main_);
    }
}

// The About window stays open across the first, so that the owned windows go along.
const std::pair<const char*, void (*)(HWND)> kCloses[] = {
    {"close box", [](HWND w) { SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    {"退出", [](HWND w) { Choose(w, TrayMenuItem::退出); }},
    {"gui::Close", [](HWND) { gui::Close(ui::WindowKind::Main); }},
};

TEST(WindowEvents, EveryWayOfClosingTheMainWindowRemovesTheTrayIconAndEndsTheLoop) {
    for (const auto& [way, close] : kCloses) {
        SCOPED_TRACE(way);
        gui::Open(ui::WindowKind::Main);
        const HWND main = Window(ui::WindowKind::Main);
        gui::Open(ui::WindowKind::About);
        HandlerCalls().clear();
        close(main);
        EXPECT_EQ(HandlerCalls(), Calls{"RemoveTrayIcon"});
        EXPECT_FALSE(IsWindow(main));
        EXPECT_EQ(Window(ui::WindowKind::Main), nullptr);
        EXPECT_EQ(Window(ui::WindowKind::About), nullptr);
        MSG message;
        EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    }
}

}  // namespace
