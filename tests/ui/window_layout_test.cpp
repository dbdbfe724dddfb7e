// The three windows as they really open: frames, controls, texts, states, fonts and menu.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <span>
#include <string_view>
#include <thread>

#include "ui/gui.h"
#include "ui/png_image.h"
#include "ui/spin_edit.h"
#include "ui_test_support.h"

namespace {

using namespace ui_test;
using ui::WindowKind;

struct ExpectedControl {
    ui::ControlId id;
    const char* className;
    const char* text;
    int left, top, width, height;
    bool checked = false;
};

void ExpectFrame(HWND window, const char* caption, int width, int height, bool captionBar) {
    EXPECT_EQ(Text(window), caption);
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.right - frame.left, width);
    EXPECT_EQ(frame.bottom - frame.top, height);
    EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ((style & WS_CAPTION) == WS_CAPTION, captionBar);
    EXPECT_EQ((style & WS_SYSMENU) != 0, captionBar);
    EXPECT_EQ((style & WS_MINIMIZEBOX) != 0, captionBar);
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_EQ((style & WS_BORDER) != 0, captionBar);
}

void ExpectControl(HWND control, const ExpectedControl& expected) {
    SCOPED_TRACE(expected.id.id);
    ASSERT_NE(control, nullptr);
    char className[64] = "";
    GetClassNameA(control, className, sizeof className);
    EXPECT_STRCASEEQ(className, expected.className);
    EXPECT_EQ(Text(control), expected.text);
    const RECT area = RectInParent(control);
    EXPECT_EQ(area.left, expected.left);
    EXPECT_EQ(area.top, expected.top);
    EXPECT_EQ(area.right - area.left, expected.width);
    EXPECT_EQ(area.bottom - area.top, expected.height);
    EXPECT_TRUE(IsWindowVisible(control));
    EXPECT_TRUE(IsWindowEnabled(control));
    EXPECT_EQ(SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED, expected.checked);
}

void ExpectControls(std::span<const ExpectedControl> controls) {
    for (const ExpectedControl& expected : controls) ExpectControl(Control(expected.id), expected);
}

LOGFONTA FontOf(HWND control) {
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

// The system's message font at that DPI, as the controls' text must look.
void ExpectMessageFont(HWND control, int dpi) {
    NONCLIENTMETRICSA metrics{sizeof metrics}; SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const LOGFONTA font = FontOf(control);
    EXPECT_STREQ(font.lfFaceName, metrics.lfMessageFont.lfFaceName);
    EXPECT_EQ(font.lfHeight, MulDiv(metrics.lfMessageFont.lfHeight, dpi, 96));
}

void ExpectPlainText(HWND passwordBox) {
    EXPECT_EQ(GetWindowLongA(passwordBox, GWL_STYLE) & ES_PASSWORD, 0);
    EXPECT_EQ(SendMessageA(passwordBox, EM_GETPASSWORDCHAR, 0, 0), 0);
}

// As Windows tells a window it moved to a monitor of 144 DPI, suggesting 1.5 times its size.
constexpr int kHighDpi = 144;

void MoveToHighDpi(HWND window) {
    RECT frame; GetWindowRect(window, &frame);
    RECT suggested{0, 0, (frame.right - frame.left) * 3 / 2, (frame.bottom - frame.top) * 3 / 2};
    SendMessageA(window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(kHighDpi, kHighDpi), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(window, &frame);  // within what the desktop can show (1024 px wide here)
    EXPECT_EQ(frame.right - frame.left, std::min<LONG>(suggested.right, GetSystemMetrics(SM_CXMAXTRACK)));
}

// Beside its text at 96 DPI: a check or group box its box or indent, a button or edit box its edges.
int TextMargin(const ExpectedControl& control) {
    if (std::string_view(control.className) == "Button") return (GetWindowLongA(Control(control.id), GWL_STYLE) & BS_TYPEMASK) ? 16 : 6;
    return std::string_view(control.className) == "Edit" ? 8 : 0;
}

// The text in the control's own font: advances less the blank after the last glyph (as of "：").
SIZE InkExtent(HWND control, const char* text) {
    wchar_t wide[64] = L"";
    const int length = MultiByteToWideChar(936, 0, text, -1, wide, 64) - 1;
    const HDC dc = GetDC(control);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{}; GetTextExtentPoint32W(dc, wide, length, &size);
    ABC last{}; if (GetCharABCWidthsW(dc, wide[length - 1], wide[length - 1], &last) && last.abcC > 0) size.cx -= last.abcC;
    SelectObject(dc, previous), ReleaseDC(control, dc);
    return size;
}

void ExpectScaledAndTextFits(HWND control, const ExpectedControl& expected) {
    SCOPED_TRACE(expected.id.id);
    const RECT area = RectInParent(control);
    const LONG got[] = {area.left, area.top, area.right - area.left, area.bottom - area.top};
    const int want[] = {expected.left, expected.top, expected.width, expected.height};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(got[i], want[i] * 1.5, 1) << i;
    if (!*expected.text) return;
    const SIZE ink = InkExtent(control, expected.text);
    EXPECT_LE(ink.cx + MulDiv(TextMargin(expected), kHighDpi, 96), area.right - area.left) << expected.text;
    EXPECT_LE(ink.cy, area.bottom - area.top) << expected.text;
}

void ExpectAtHighDpi(HWND window, std::span<const ExpectedControl> controls) {
    MoveToHighDpi(window);
    for (const ExpectedControl& expected : controls) ExpectScaledAndTextFits(Control(expected.id), expected);
}

namespace m = ui::main_window;


TEST_F(MainWindowTest, FrameAndControlsAsDesigned) {
    ExpectFrame(main_, "QelvoPordex v2.0.1", 783, 264, true);
    static const ExpectedControl controls[] = {
        {m::标签4, "Static", "选择连接：", 35, 9, 56, 24},
        {m::组合框1, "ComboBox", "", 97, 12, 107, 20},
        {m::按钮3, "Button", "删除连接", 205, 9, 68, 24},
        {m::按钮2, "Button", "创建新连接", 275, 9, 68, 24},
        {m::标签1, "Static", "宽带账号：", 35, 41, 56, 24},
        {m::编辑框1, "Edit", "", 97, 42, 192, 24},
        {m::标签2, "Static", "宽带密码：", 35, 70, 56, 24},
        {m::编辑框2, "Edit", "", 97, 71, 192, 24},
        {m::选择框1, "Button", "永不掉线", 35, 101, 72, 24, true},
        {m::选择框2, "Button", "每", 140, 100, 28, 24},
        {m::编辑框3, "Edit", "5", 173, 99, 32, 24},
        {m::标签3, "Static", "分钟自动断线重连", 224, 104, 96, 16},
        {m::选择框3, "Button", "开机自动启动", 35, 126, 93, 16},
        {m::选择框4, "Button", "打开软件后自动监控", 140, 127, 132, 16},
        {m::选择框5, "Button", "监控开启后最小化", 35, 150, 117, 16},
        {m::标签5, "Static", "断线后", 177, 149, 40, 16},
        {m::编辑框4, "Edit", "2", 216, 145, 25, 24},
        {m::标签6, "Static", "秒再重连", 264, 149, 49, 16},
        {m::按钮1, "Button", "开始监控", 120, 172, 104, 40},
        {m::超级链接框2, "Static", "手动操作>>", 286, 166, 64, 24},
        {m::超级链接框1, "Static", "查看日志>>", 286, 190, 64, 24},
        {m::分组框1, "Button", "运行日志", 360, 0, 416, 214},
    };
    ExpectControls(controls);
    const HWND logList = GetDlgItem(Control(m::分组框1), m::列表框1.id);
    ExpectControl(logList, {m::列表框1, "ListBox", "", 3, 14, 410, 196});
    EXPECT_EQ(SendMessageA(logList, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(GetWindowLongA(logList, GWL_STYLE) & LBS_SORT, 0);

    for (const ExpectedControl& control : controls) ExpectMessageFont(Control(control.id), 96);
    for (ui::ControlId checkBox : {m::选择框1, m::选择框2, m::选择框3, m::选择框4, m::选择框5}) {
        EXPECT_EQ(GetWindowLongA(Control(checkBox), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    }
    ExpectPlainText(Control(m::编辑框2));
    const HWND combo = Control(m::组合框1);
    EXPECT_EQ(GetWindowLongA(combo, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    // Folded, as the program starts, so that the window fits the test's desktop at 144 DPI.
    gui::SetWidth(WindowKind::Main, 356);
    RECT client; GetClientRect(main_, &client);
    const LONG foldedWidth = client.right;
    ExpectAtHighDpi(main_, controls);
    ExpectScaledAndTextFits(GetDlgItem(Control(m::分组框1), m::列表框1.id), {m::列表框1, "ListBox", "", 3, 14, 410, 196});
    for (const ExpectedControl& control : controls) ExpectMessageFont(Control(control.id), kHighDpi);
    const RECT box = RectInParent(Control(m::编辑框4)), spin = RectInParent(ui::SpinOf(Control(m::编辑框4)));
    EXPECT_NEAR(spin.right - box.right, GetSystemMetrics(SM_CXVSCROLL) * 1.5, 1);
    int edges[2] = {}; SendMessageA(Control(m::状态条1), SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges));
    EXPECT_TRUE(edges[0] == 345 && edges[1] == 525) << edges[0] << " " << edges[1];
    EXPECT_EQ(gui::GetWidth(WindowKind::Main), 356);
    gui::SetWidth(WindowKind::Main, 356);  // the log folded again at this DPI
    GetClientRect(main_, &client);
    EXPECT_NEAR(client.right, foldedWidth * 1.5, 1);
}

TEST_F(MainWindowTest, StatusBarSpansTheBottomWithTwoPanes) {
    const HWND bar = Control(m::状态条1);
    int edges[4] = {};
    ASSERT_EQ(SendMessageA(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 2);
    EXPECT_EQ(edges[0], 230);
    EXPECT_EQ(edges[1] - edges[0], 120);
    char text[64] = "";
    SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "宽带账号：未开始监控");
    SendMessageA(bar, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "当前状态：");

    gui::SetWidth(WindowKind::Main, 356);
    RECT client;
    GetClientRect(main_, &client);
    const RECT area = RectInParent(bar);
    EXPECT_EQ(area.left, 0);
    EXPECT_EQ(area.right, client.right);
    EXPECT_EQ(area.bottom, client.bottom);
}

struct MenuEntry {
    std::string text;  // "-" for a separator
    UINT id;
    bool enabled;
};

// Pops the tray menu up from a worker, as a user would see it, reads it and closes it.
std::vector<MenuEntry> ReadTrayMenuAsShown(HWND main) {
    std::vector<MenuEntry> entries;
    std::atomic<bool> done{false};
    std::thread reader([&, guiThread = GetCurrentThreadId()] {
        const HWND popup = WaitForThreadWindow(guiThread, "#32768");
        const auto menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[32] = "-";
            MENUITEMINFOA info{sizeof info, MIIM_FTYPE | MIIM_STATE | MIIM_ID};
            GetMenuItemInfoA(menu, i, TRUE, &info);
            if (!(info.fType & MFT_SEPARATOR)) GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
            entries.push_back({text, info.wID, !(info.fState & MFS_DISABLED)});
        }
        SendMessageA(main, WM_CANCELMODE, 0, 0);
        done = true;
    });
    std::thread popper([] { gui::PopUpTrayMenu(); });
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
    reader.join();
    popper.join();
    return entries;
}

TEST_F(MainWindowTest, TrayMenuPopsUpWithItsItemsInOrder) {
    gui::SetMenuItemEnabled(ui::TrayMenuItem::断线, false);
    const auto entries = ReadTrayMenuAsShown(main_);
    using enum ui::TrayMenuItem;
    const std::vector<std::pair<std::string, ui::TrayMenuItem>> expected = {
        {"拨号", 拨号}, {"断线", 断线}, {"重播", 重播}, {"-", {}}, {"关于", 关于},
        {"-", {}}, {"显示界面", 显示界面}, {"退出", 退出}};
    ASSERT_EQ(entries.size(), expected.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].text, expected[i].first);
        if (entries[i].text != "-") {
            EXPECT_EQ(entries[i].id, static_cast<UINT>(expected[i].second));
        }
        EXPECT_EQ(entries[i].enabled, entries[i].text != "-" && expected[i].second != 断线) << i;
    }
    EXPECT_FALSE(gui::IsMenuItemEnabled(断线));
    EXPECT_TRUE(gui::IsMenuItemEnabled(拨号));
}

namespace n = ui::new_connection_window;

class NewConnectionWindow : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        SendMessageA(Control(m::按钮2), BM_CLICK, 0, 0);
        window_ = Window(WindowKind::NewConnection);
        ASSERT_NE(window_, nullptr);
        PumpPending();
    }
    HWND window_ = nullptr;
};

TEST_F(NewConnectionWindow, FrameAndControlsAsDesigned) {
    ExpectFrame(window_, "新连接设置", 271, 190, true);
    static const ExpectedControl controls[] = {
        {n::标签3, "Static", "宽带名称：", 3, 8, 56, 24},   {n::编辑框3, "Edit", "", 65, 9, 192, 24},
        {n::标签1, "Static", "宽带账号：", 3, 40, 56, 24},  {n::编辑框1, "Edit", "", 65, 41, 192, 24},
        {n::标签2, "Static", "宽带密码：", 3, 69, 56, 24},  {n::编辑框2, "Edit", "", 65, 70, 192, 24},
        {n::按钮1, "Button", "确定", 72, 112, 120, 48},
    };
    ExpectControls(controls);
    ExpectPlainText(Control(n::编辑框2));
    ExpectAtHighDpi(window_, controls);
}

TEST_F(NewConnectionWindow, OpensOwnedNotModalWithFocusOnTheNameAndTabsInOrder) {
    EXPECT_EQ(GetWindow(window_, GW_OWNER), main_);
    EXPECT_TRUE(IsWindowEnabled(main_));
    SendMessageA(Control(m::按钮2), BM_CLICK, 0, 0);
    EXPECT_EQ(Window(WindowKind::NewConnection), window_);

    EXPECT_EQ(GetFocus(), Control(n::编辑框3));
    for (ui::ControlId next : {n::编辑框1, n::编辑框2, n::按钮1, n::编辑框3}) {
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        PumpPending();
        EXPECT_EQ(GetFocus(), Control(next)) << next.id;
    }
}

namespace a = ui::about_window;

class AboutWindow : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        SendMessageA(main_, WM_COMMAND, static_cast<WPARAM>(ui::TrayMenuItem::关于), 0);
        window_ = Window(WindowKind::About);
        ASSERT_NE(window_, nullptr);
        PumpPending();
    }
    HWND window_ = nullptr;
};

TEST_F(AboutWindow, FrameControlsAndTitleFontAsDesigned) {
    ExpectFrame(window_, "", 285, 236, false);
    EXPECT_EQ(GetWindow(window_, GW_OWNER), main_);
    static const ExpectedControl controls[] = {
        {a::超级链接框1, "Static", "关闭", 257, 3, 24, 16},
        {a::图片框1, "Static", "", 94, 26, 96, 96},
        {a::透明标签1, "Static", "QelvoPordex 2.0.1", 39, 137, 207, 48},
        {a::超级链接框2, "Static", "QelvoTikora", 66, 195, 152, 16},
        {a::透明标签2, "Static", "版权所有 (C) Qelvo，保留所有权利。", 28, 216, 232, 21},
    };
    ExpectControls(controls);
    const LOGFONTA title = FontOf(Control(a::透明标签1));
    EXPECT_STREQ(title.lfFaceName, "微软雅黑");
    EXPECT_EQ(title.lfHeight, -24);
    EXPECT_EQ(title.lfWeight, FW_NORMAL);
    EXPECT_EQ(title.lfCharSet, GB2312_CHARSET);
    ExpectAtHighDpi(window_, controls);
    EXPECT_EQ(FontOf(Control(a::透明标签1)).lfHeight, -36);
}

TEST_F(AboutWindow, DraggedByItsBackgroundAndClosedOnlyByItsLink) {
    RECT frame;
    GetWindowRect(window_, &frame);
    EXPECT_EQ(SendMessageA(window_, WM_NCHITTEST, 0, MAKELPARAM(frame.left + 10, frame.top + 100)), HTCAPTION);
    SendMessageA(window_, WM_CLOSE, 0, 0);
    SendMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_EQ(Window(WindowKind::About), window_);
    SendMessageA(Control(a::超级链接框1), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    EXPECT_EQ(Window(WindowKind::About), nullptr);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(Window(WindowKind::Main), main_);
}

// The colours a control's parent chooses for it, as the control asks before painting.
COLORREF LinkTextColour(HWND link, int* backgroundMode) {
    const HDC dc = GetDC(link);
    SetTextColor(dc, RGB(1, 2, 3));  // no window would choose it: a colour left unset shows
    SendMessageA(GetParent(link), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(link));
    const COLORREF colour = GetTextColor(dc);
    *backgroundMode = GetBkMode(dc);
    ReleaseDC(link, dc);
    return colour;
}

TEST_F(AboutWindow, LinksUseLinkColoursHandCursorAndUnderlineOnHover) {
    for (const HWND link : {Control(a::超级链接框2), Control(m::超级链接框1)}) {
        int mode = 0;
        EXPECT_EQ(LinkTextColour(link, &mode), GetSysColor(COLOR_HOTLIGHT));
        EXPECT_EQ(mode, TRANSPARENT);
        EXPECT_FALSE(FontOf(link).lfUnderline);
        SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_TRUE(FontOf(link).lfUnderline);
        SendMessageA(link, WM_MOUSELEAVE, 0, 0);
        EXPECT_FALSE(FontOf(link).lfUnderline);
        SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
    }
}

// Black on black in High Contrast Black otherwise.
TEST_F(AboutWindow, TransparentLabelsTakeTheSystemTextColour) {
    int mode = 0;
    for (const HWND label : {Control(a::透明标签1), Control(a::透明标签2)}) EXPECT_EQ(LinkTextColour(label, &mode), GetSysColor(COLOR_BTNTEXT));
}

// Draws the picture box into a bitmap of its own and compares it with the decoded logo: opaque
// pixels show the logo, transparent ones the window's background.
TEST_F(AboutWindow, PictureBoxBlendsTheLogoOverTheBackground) {
    const UniqueBitmap logo = LoadAboutLogo();
    ASSERT_NE(logo, nullptr);
    DIBSECTION source{};
    ASSERT_EQ(GetObjectA(logo.get(), sizeof source, &source), static_cast<int>(sizeof source));
    ASSERT_EQ(source.dsBm.bmWidth, 96);
    const auto* logoPixels = static_cast<const DWORD*>(source.dsBm.bmBits);

    const HWND picture = Control(a::图片框1);
    const HDC screen = GetDC(picture);
    const HDC canvas = CreateCompatibleDC(screen);
    const HBITMAP target = CreateCompatibleBitmap(screen, 96, 96);
    const HGDIOBJ previous = SelectObject(canvas, target);
    DRAWITEMSTRUCT item{ODT_STATIC, static_cast<UINT>(a::图片框1.id), 0, ODA_DRAWENTIRE, 0, picture, canvas,
                        {0, 0, 96, 96}, 0};
    SendMessageA(window_, WM_DRAWITEM, a::图片框1.id, reinterpret_cast<LPARAM>(&item));

    int opaque = 0, transparent = 0, wrong = 0;
    for (int i = 0; i < 96 * 96; ++i) {
        const BYTE alpha = logoPixels[i] >> 24;
        const COLORREF drawn = GetPixel(canvas, i % 96, i / 96);
        const DWORD rgb = logoPixels[i] & 0xFFFFFF;
        if (alpha == 0) {
            ++transparent;
            wrong += drawn != GetSysColor(COLOR_BTNFACE);
        } else if (alpha == 255) {
            ++opaque;
            wrong += drawn != RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
        }
    }
    EXPECT_GT(opaque, 0);
    EXPECT_GT(transparent, 0);
    EXPECT_EQ(wrong, 0);
    SelectObject(canvas, previous);
    DeleteObject(target);
    DeleteDC(canvas);
    ReleaseDC(picture, screen);
}

}  // namespace
