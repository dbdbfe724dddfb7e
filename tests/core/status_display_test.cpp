#include "core/status_display.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <thread>
#include <vector>

#include "tests/core/main_window_fixture.h"
#include "tests/support/message_pump.h"
#include "tests/support/tray_tooltip_watch.h"
#include "ui/controls.h"
#include "ui/gui.h"
#include "ui/status_icons.h"
#include "ui/tray_icon.h"

namespace {

using tray_tooltip_watch::TrayTooltip;
using ui::TrayMenuItem;

struct Display {
    bool dial, hangUp, redial;
    std::string pane, tooltip;
};

Display Shown() {
    return {gui::IsMenuItemEnabled(TrayMenuItem::拨号), gui::IsMenuItemEnabled(TrayMenuItem::断线),
            gui::IsMenuItemEnabled(TrayMenuItem::重播), gui::GetStatusPane(1), TrayTooltip()};
}

void ExpectDisplay(const Display& expected) {
    Display shown = Shown();
    EXPECT_EQ(shown.dial, expected.dial);
    EXPECT_EQ(shown.hangUp, expected.hangUp);
    EXPECT_EQ(shown.redial, expected.redial);
    EXPECT_EQ(shown.pane, expected.pane);
    EXPECT_EQ(shown.tooltip, expected.tooltip);
}

HICON WindowIcon(WPARAM which = ICON_BIG) {
    return reinterpret_cast<HICON>(SendMessageA(gui::Handle(ui::WindowKind::Main), WM_GETICON, which, 0));
}

// How much redder than grey the opaque pixels of an icon are, on average: the online globe is
// red, the offline one grey.
double Redness(HICON icon) {
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return 0;
    BITMAP bitmap = {};
    GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    BITMAPINFO format = {};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), bitmap.bmWidth, -bitmap.bmHeight, 1, 32, BI_RGB};
    std::vector<RGBQUAD> pixels(bitmap.bmWidth * bitmap.bmHeight);
    const HDC screen = GetDC(nullptr);
    GetDIBits(screen, info.hbmColor, 0, bitmap.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    double redness = 0;
    int opaque = 0;
    for (const RGBQUAD& pixel : pixels) {
        if (pixel.rgbReserved == 0)
            continue;
        redness += pixel.rgbRed - (pixel.rgbGreen + pixel.rgbBlue) / 2.0;
        ++opaque;
    }
    return opaque ? redness / opaque : 0;
}

class StatusDisplayTest : public MainWindowFixture {
protected:
    void TearDown() override {
        OnlineFlag = 0;
        MainWindowFixture::TearDown();
    }
};

}  // namespace

TEST_F(StatusDisplayTest, OfflineOffersDialAndOnlineOffersHangUpAndRedial) {
    OnlineFlag = 0;
    RefreshOnlineState();
    ExpectDisplay({true, false, false, "当前状态：离线", "离线"});
    HICON offline = WindowIcon();
    EXPECT_NE(offline, nullptr);

    OnlineFlag = 1;
    RefreshOnlineState();
    ExpectDisplay({false, true, true, "当前状态：在线", "在线"});
    EXPECT_NE(WindowIcon(), offline);
}

TEST_F(StatusDisplayTest, TheOnlineIconIsTheRedGlobeAndTheOfflineIconTheGreyOne) {
    for (const LONG flag : {1, 0}) {
        SCOPED_TRACE(flag);
        OnlineFlag = flag;
        RefreshOnlineState();
        const double redness = Redness(WindowIcon());
        if (flag == 1)
            EXPECT_GT(redness, 60);
        else
            EXPECT_LT(redness, 5);
        // The caption's icon is the one drawn for its size, in the same colour.
        EXPECT_EQ(Redness(WindowIcon(ICON_SMALL)) > 60, flag == 1);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(WindowIcon(ICON_SMALL), &info));
        BITMAP bitmap{}; GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
        DeleteObject(info.hbmColor), DeleteObject(info.hbmMask);
        EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(SM_CXSMICON));
    }
}

TEST_F(StatusDisplayTest, AnyFlagButOneIsOffline) {
    OnlineFlag = 2;
    RefreshOnlineState();
    ExpectDisplay({true, false, false, "当前状态：离线", "离线"});
}

TEST_F(StatusDisplayTest, AWorkerThreadRefreshesWhileTheGuiThreadRuns) {
    bool done = false;
    std::thread worker([&done] {
        OnlineFlag = 1;
        RefreshOnlineState();
        SetConnectionPane("当前IP：10.64.0.2");
        done = true;
    });
    ASSERT_TRUE(message_pump::PumpUntil([&done] { return done; }, 10000));
    worker.join();
    ExpectDisplay({false, true, true, "当前状态：在线", "在线"});
    EXPECT_EQ(gui::GetStatusPane(0), "当前IP：10.64.0.2");
}

TEST_F(StatusDisplayTest, TheTooltipKeepsAtMostSixtyTwoBytesAndNoHalfCharacter) {
    SetTrayIcon(LoadStatusIcon(false, 16), std::string(70, 'x'));
    EXPECT_EQ(TrayTooltip(), std::string(62, 'x'));

    std::string chinese = "a";
    for (int i = 0; i < 35; ++i)
        chinese += "线";
    SetTrayIcon(LoadStatusIcon(false, 16), chinese);
    EXPECT_EQ(TrayTooltip(), chinese.substr(0, 61));
    RemoveTrayIcon();
    EXPECT_EQ(TrayTooltip(), "");
}

namespace {

// Whether the shell holds the Main window's icon: only an icon it holds can be modified.
bool ShellHoldsTrayIcon() {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = gui::Handle(ui::WindowKind::Main);
    data.uID = kTrayIconId;
    data.uFlags = NIF_TIP;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

void ShellForgetsTrayIcon() {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = gui::Handle(ui::WindowKind::Main);
    data.uID = kTrayIconId;
    Shell_NotifyIconA(NIM_DELETE, &data);
}

}  // namespace

TEST_F(StatusDisplayTest, TheIconComesBackWhenTheShellRecreatesTheNotificationArea) {
    RefreshOnlineState();
    ASSERT_TRUE(ShellHoldsTrayIcon());
    ShellForgetsTrayIcon();
    ASSERT_FALSE(ShellHoldsTrayIcon());

    SendMessageA(gui::Handle(ui::WindowKind::Main), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(ShellHoldsTrayIcon());
    EXPECT_EQ(TrayTooltip(), "离线");
}

TEST_F(StatusDisplayTest, RemovingTheIconTakesItFromTheShellAndEmptiesTheSlot) {
    RefreshOnlineState();
    ASSERT_TRUE(ShellHoldsTrayIcon());
    RemoveTrayIcon();
    EXPECT_FALSE(ShellHoldsTrayIcon());
    EXPECT_EQ(TrayTooltip(), "");
    RemoveTrayIcon();
    RefreshOnlineState();
    EXPECT_TRUE(ShellHoldsTrayIcon());
}
