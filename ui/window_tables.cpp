// The three windows of the program and the tray menu, as data.
#include "core/main_window.h"
#include "core/settings.h"
#include "core/startup.h"
#include "dialup/dial.h"
#include "dialup/hang_up.h"
#include "dialup/monitor.h"
#include "phonebook/entry_deletion.h"
#include "phonebook/entry_listing.h"
#include "phonebook/new_entry.h"
#include "phonebook/start_monitoring.h"
#include "ui/auto_start.h"
#include "ui/gui.h"
#include "ui/tray_icon.h"
#include "ui/window_def.h"

namespace ui {
namespace {

void OpenNewConnectionWindow() { gui::Open(WindowKind::NewConnection); }
void OpenAboutWindow() { gui::Open(WindowKind::About); }
void CloseAboutWindow() { gui::Close(WindowKind::About); }
// Workers are not waited for: they notice the window's end after their next sleep.
void CloseMainWindow() { gui::Close(WindowKind::Main); }
void FocusEntryNameBox() { gui::SetFocus(new_connection_window::编辑框3); }

using enum ControlKind;

constexpr DWORD kFixedFrame = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kNoFrame = WS_POPUP;

namespace m = main_window;

constexpr StatusPaneDef kStatusPanes[] = {
    {230, "宽带账号：未开始监控"},
    {120, "当前状态："},
};

constexpr ControlDef kMainControls[] = {
    {.id = m::标签4, .kind = Label, .text = "选择连接：", .rect = {35, 9, 56, 24}},
    {.id = m::组合框1, .kind = ComboBox, .rect = {97, 12, 107, 20}, .action = OnConnectionSelected},
    {.id = m::按钮3, .kind = Button, .text = "删除连接", .rect = {205, 9, 68, 24}, .action = OnDeleteEntry},
    {.id = m::按钮2, .kind = Button, .text = "创建新连接", .rect = {275, 9, 68, 24}, .action = OpenNewConnectionWindow},
    {.id = m::标签1, .kind = Label, .text = "宽带账号：", .rect = {35, 41, 56, 24}},
    {.id = m::编辑框1, .kind = Edit, .rect = {97, 42, 192, 24}},
    {.id = m::标签2, .kind = Label, .text = "宽带密码：", .rect = {35, 70, 56, 24}},
    {.id = m::编辑框2, .kind = Edit, .rect = {97, 71, 192, 24}},
    {.id = m::选择框1,
     .kind = CheckBox,
     .text = "永不掉线",
     .rect = {35, 101, 72, 24},
     .checked = true,
     .action = OnNeverDropClicked},
    {.id = m::选择框2, .kind = CheckBox, .text = "每", .rect = {140, 100, 28, 24}, .action = OnPeriodicRedialClicked},
    {.id = m::编辑框3, .kind = SpinEdit, .text = "5", .rect = {173, 99, 32, 24}, .spin = {1, 120}},
    {.id = m::标签3, .kind = Label, .text = "分钟自动断线重连", .rect = {224, 104, 96, 16}},
    {.id = m::选择框3,
     .kind = CheckBox,
     .text = "开机自动启动",
     .rect = {35, 126, 93, 16},
     .action = OnAutoStartClicked},
    {.id = m::选择框4,
     .kind = CheckBox,
     .text = "打开软件后自动监控",
     .rect = {140, 127, 132, 16},
     .action = OnAutoMonitorClicked},
    {.id = m::选择框5,
     .kind = CheckBox,
     .text = "监控开启后最小化",
     .rect = {35, 150, 117, 16},
     .action = OnMinimizeAfterMonitorClicked},
    {.id = m::标签5, .kind = Label, .text = "断线后", .rect = {177, 149, 40, 16}},
    {.id = m::编辑框4, .kind = SpinEdit, .text = "2", .rect = {216, 145, 25, 24}, .spin = {1, 10}},
    {.id = m::标签6, .kind = Label, .text = "秒再重连", .rect = {264, 149, 49, 16}},
    {.id = m::按钮1, .kind = Button, .text = "开始监控", .rect = {120, 172, 104, 40}, .action = OnStartMonitoring},
    {.id = m::超级链接框2,
     .kind = Hyperlink,
     .text = "手动操作>>",
     .rect = {286, 166, 64, 24},
     .action = gui::PopUpTrayMenu},
    {.id = m::超级链接框1,
     .kind = Hyperlink,
     .text = "查看日志>>",
     .rect = {286, 190, 64, 24},
     .action = ToggleLogPanel},
    // The status bar keeps to the bottom of the client area; its rectangle is the design value.
    {.id = m::状态条1, .kind = StatusBar, .rect = {0, 147, 345, 20}, .panes = kStatusPanes},
    {.id = m::分组框1, .kind = GroupBox, .text = "运行日志", .rect = {360, 0, 416, 214}},
    {.id = m::列表框1, .kind = ListBox, .rect = {3, 14, 410, 196}, .container = m::分组框1.id},
};

constexpr MenuItemDef kTrayMenu[] = {
    {"拨号", TrayMenuItem::拨号, StartManualDial},        {"断线", TrayMenuItem::断线, StartManualHangUp},
    {"重播", TrayMenuItem::重播, StartManualRedial},      {nullptr, {}, nullptr},
    {"关于", TrayMenuItem::关于, OpenAboutWindow},        {nullptr, {}, nullptr},
    {"显示界面", TrayMenuItem::显示界面, ShowMainWindow}, {"退出", TrayMenuItem::退出, CloseMainWindow},
};

namespace n = new_connection_window;

// Creation order is the tab order: 编辑框3, 编辑框1, 编辑框2, 按钮1.
constexpr ControlDef kNewConnectionControls[] = {
    {.id = n::标签3, .kind = Label, .text = "宽带名称：", .rect = {3, 8, 56, 24}},
    {.id = n::编辑框3, .kind = Edit, .rect = {65, 9, 192, 24}},
    {.id = n::标签1, .kind = Label, .text = "宽带账号：", .rect = {3, 40, 56, 24}},
    {.id = n::编辑框1, .kind = Edit, .rect = {65, 41, 192, 24}},
    {.id = n::标签2, .kind = Label, .text = "宽带密码：", .rect = {3, 69, 56, 24}},
    {.id = n::编辑框2, .kind = Edit, .rect = {65, 70, 192, 24}},
    {.id = n::按钮1, .kind = Button, .text = "确定", .rect = {72, 112, 120, 48}, .action = OnCreateEntry},
};

namespace a = about_window;

constexpr FontDef kTitleFont{"微软雅黑", 24, FW_NORMAL, GB2312_CHARSET};

constexpr ControlDef kAboutControls[] = {
    {.id = a::超级链接框1, .kind = Hyperlink, .text = "关闭", .rect = {257, 3, 24, 16}, .action = CloseAboutWindow},
    {.id = a::图片框1, .kind = PictureBox, .rect = {94, 26, 96, 96}, .picture = LoadAboutLogo},
    {.id = a::透明标签1,
     .kind = TransparentLabel,
     .text = "QelvoPordex 2.0.1",
     .rect = {39, 137, 207, 48},
     .font = &kTitleFont},
    {.id = a::超级链接框2,
     .kind = Hyperlink,
     .text = "QelvoTikora",
     .rect = {66, 195, 152, 16},
     .target = "https://qelvotikora.example/"},
    {.id = a::透明标签2,
     .kind = TransparentLabel,
     .text = "版权所有 (C) Qelvo，保留所有权利。",
     .rect = {28, 216, 232, 21}},
};

constexpr WindowDef kWindows[] = {
    {
        .kind = WindowKind::Main,
        .caption = "QelvoPordex v2.0.1",
        .width = 783,
        .height = 264,
        .style = kFixedFrame,
        .dragAnywhere = false,
        .events = {.created = RunStartup,
                   .destroyed = RemoveTrayIcon,
                   .minimized = OnMainWindowMinimized,
                   .taskbarCreated = OnTaskbarCreated,
                   .trayDoubleClick = ShowMainWindow,
                   .trayMenu = PopUpNotificationMenu},
        .controls = kMainControls,
        .menu = kTrayMenu,
    },
    {
        .kind = WindowKind::NewConnection,
        .caption = "新连接设置",
        .width = 271,
        .height = 190,
        .style = kFixedFrame,
        .dragAnywhere = false,
        .events = {.created = FocusEntryNameBox},
        .controls = kNewConnectionControls,
    },
    {
        .kind = WindowKind::About,
        .caption = "",
        .width = 285,
        .height = 236,
        .style = kNoFrame,
        .dragAnywhere = true,
        .events = {},
        .controls = kAboutControls,
    },
};

static_assert(kWindows[static_cast<int>(WindowKind::Main)].kind == WindowKind::Main);
static_assert(kWindows[static_cast<int>(WindowKind::NewConnection)].kind == WindowKind::NewConnection);
static_assert(kWindows[static_cast<int>(WindowKind::About)].kind == WindowKind::About);

}  // namespace

const WindowDef& Definition(WindowKind kind) { return kWindows[static_cast<int>(kind)]; }

}  // namespace ui
