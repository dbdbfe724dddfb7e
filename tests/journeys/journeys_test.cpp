// The user's journeys through the real Pordex.exe: each on a Wine virtual desktop of its own, with
// the simulated dial-up service behind it, driven by clicks and keys where a user would use them
// and checked by what the user sees. One driver walks every row of the table; each journey ends
// with a screenshot in the build folder.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/pordex_driver.h"
#include "tests/support/rasctl_client.h"
#include "tests/support/virtual_desktop.h"

namespace {

using namespace ui::main_window;
using e2e::PordexRun;
using e2e::WaitUntil;
using rasctl_client::RasctlOk;
using ui::TrayMenuItem;
namespace vd = virtual_desktop;

constexpr const char* kEntry = "宽带连接";
constexpr const char* kAccount = "[账号]\r\n宽带账号=user@isp\r\n宽带密码=secret\r\n连接名称=宽带连接\r\n";
constexpr const char* kAutoMonitor = "[设置]\r\n自动监控=是\r\n";

std::string ThisDirectory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string file(path);
    return file.substr(0, file.find_last_of('\\'));
}

std::string DesktopShortcut() {
    char folder[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, folder, CSIDL_DESKTOPDIRECTORY, FALSE);
    return std::string(folder) + "\\Pordex.lnk";
}

// What a journey's steps work with: the program, its desktop, and the user's actions.
class Walk {
public:
    Walk(PordexRun& run, vd::Desktop& desktop) : run_(run), desktop_(desktop) {}
    PordexRun& run() { return run_; }
    const char* desktop() const { return desktop_.Name().c_str(); }

    // Log lines are matched by their start: addresses differ from dial to dial.
    bool Logged(const std::string& prefix) const { return Count(prefix) > 0; }
    int Count(const std::string& prefix) const {
        const auto log = run_.LogMessages();
        return static_cast<int>(std::ranges::count_if(log, [&](const std::string& m) { return m.starts_with(prefix); }));
    }
    // The log's messages with every address cut off after "当前IP：".
    std::vector<std::string> Shape() const {
        std::vector<std::string> shape;
        for (const std::string& message : run_.LogMessages()) {
            const auto address = message.find("当前IP：");
            shape.push_back(address == std::string::npos ? message : message.substr(0, address + std::string("当前IP：").size()));
        }
        return shape;
    }
    // The message of the first log line after line `after` that starts with `prefix`, or empty.
    std::string LoggedAfter(std::size_t after, const std::string& prefix) const {
        const auto log = run_.LogMessages();
        for (std::size_t i = after; i < log.size(); ++i) {
            if (log[i].starts_with(prefix)) return log[i];
        }
        return {};
    }
    bool AwaitLogged(const std::string& message, DWORD timeoutMs = 15000) const {
        return WaitUntil([&] { return Logged(message); }, timeoutMs);
    }
    bool AwaitPane(int pane, const std::string& text, DWORD timeoutMs = 15000) const {
        return WaitUntil([&] { return run_.StatusPane(pane) == text; }, timeoutMs);
    }

    void Click(ui::ControlId control) const { vd::ClickWindow(run_.Control(control)); }
    // Clicks into an edit box, selects what it holds and pastes `text` over it.
    void Overwrite(ui::ControlId control, const std::wstring& text) const {
        Click(control);
        vd::PressKey(VK_END);
        vd::PressKey(VK_HOME, VK_SHIFT);
        vd::PasteText(text);
    }

    // A right click on the icon opens the tray menu; the item's enabling as the user sees it.
    HWND OpenTrayMenu() const {
        const auto icon = vd::TrayIconPoint();
        if (!icon) return nullptr;
        vd::Click(*icon, true);
        return WaitUntil([] { return vd::FindPopUpMenu() != nullptr; }, 5000) ? vd::FindPopUpMenu() : nullptr;
    }
    // With the keyboard, which walks the items and passes over the separators; a disabled
    // item does nothing and leaves the menu open until Escape.
    bool ChooseFromTrayMenu(TrayMenuItem item) const {
        if (!OpenTrayMenu()) return false;
        for (UINT step = static_cast<UINT>(TrayMenuItem::拨号); step <= static_cast<UINT>(item); ++step)
            vd::PressKey(VK_DOWN);
        vd::PressKey(VK_RETURN);
        if (!WaitUntil([] { return vd::FindPopUpMenu() == nullptr; }, 1000)) vd::PressKey(VK_ESCAPE);
        return WaitUntil([] { return vd::FindPopUpMenu() == nullptr; }, 3000);
    }

    // Waits for a message box of `program`, clicks its `button` and returns the box's text.
    std::string Answer(int button) const { return Answer(run_, button); }
    static std::string Answer(const PordexRun& program, int button) {
        const auto box = program.WaitForMessageBox();
        if (!box) return "(no message box)";
        vd::ClickWindow(GetDlgItem(box->box, button));
        WaitUntil([&box] { return !IsWindow(box->box); }, 5000);
        return box->text;
    }
    static bool Ends(const PordexRun& program, DWORD timeoutMs) {
        DWORD exitCode = 0;
        return program.WaitForExit(timeoutMs, exitCode);
    }

    bool MainVisible() const { return IsWindowVisible(run_.MainWindow()) != FALSE; }
    int MainWidth() const {
        const RECT frame = run_.WindowRect();
        return frame.right - frame.left;
    }
    // The minimise box of the caption, found by asking the window what lies under each point.
    POINT MinimiseBox() const {
        const RECT frame = run_.WindowRect();
        const int y = frame.top + GetSystemMetrics(SM_CYCAPTION) / 2 + GetSystemMetrics(SM_CYFIXEDFRAME);
        for (int x = frame.right - 1; x > frame.left; --x) {
            if (SendMessageA(run_.MainWindow(), WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTMINBUTTON) return {x - 4, y};
        }
        return {-1, -1};
    }

private:
    PordexRun& run_;
    vd::Desktop& desktop_;
};

// As when the shell that held it went away, or another program took it.
bool RemoveTrayIconFromOutside(HWND main) {
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = main;
    icon.uID = 100;
    return Shell_NotifyIconA(NIM_DELETE, &icon) != FALSE;
}

struct Journey {
    const char* name;
    std::string settings;              // kdset.ini before the first start
    std::vector<std::string> world;    // the simulated service before the first start
    void (*walk)(Walk& w);
};

void ExpectLocked(Walk& w) {
    for (ui::ControlId control : {组合框1, 按钮1, 按钮2, 按钮3, 编辑框1, 编辑框2, 选择框1, 选择框2})
        EXPECT_FALSE(w.run().IsEnabled(control)) << control.id;
}

const Journey kJourneys[] = {
    {"FirstStartWithAnEmptyPhonebook", "", {}, [](Walk& w) {
         PordexRun& run = w.run();
         EXPECT_EQ(GetFileAttributesA(DesktopShortcut().c_str()) != INVALID_FILE_ATTRIBUTES, true);
         EXPECT_EQ(SendMessageA(run.Control(组合框1), CB_GETCOUNT, 0, 0), 0);
         EXPECT_EQ(run.Text(编辑框1), "");
         EXPECT_TRUE(run.IsChecked(选择框1));
         EXPECT_FALSE(run.IsChecked(选择框2));
         EXPECT_FALSE(run.IsChecked(选择框4));
         EXPECT_EQ(run.Text(编辑框3), "5");
         EXPECT_EQ(run.Text(编辑框4), "2");
         EXPECT_EQ(run.StatusPane(0), "宽带账号：未开始监控");
         EXPECT_EQ(run.StatusPane(1), "当前状态：离线");
         EXPECT_EQ(w.MainWidth(), 356);
         EXPECT_FALSE(w.Logged("软件启动成功"));
         EXPECT_TRUE(run.HasTrayIcon());
         w.Click(超级链接框1);
         EXPECT_TRUE(WaitUntil([&] { return w.MainWidth() == 783; }, 3000));
         EXPECT_EQ(run.Text(超级链接框1), "<<收起日志");
     }},
    {"CreateAnEntryAndStartMonitoring", "", {}, [](Walk& w) {
         PordexRun& run = w.run();
         w.Click(按钮2);
         HWND window = nullptr;
         ASSERT_TRUE(WaitUntil([&] { return (window = FindWindowA(nullptr, "新连接设置")) != nullptr; }));
         vd::PasteText(L"宽带连接");
         vd::PressKey(VK_TAB);
         vd::PasteText(L"user@isp");
         vd::PressKey(VK_TAB);
         vd::PasteText(L"secret");
         vd::ClickWindow(GetDlgItem(window, ui::new_connection_window::按钮1.id));
         EXPECT_EQ(w.Answer(IDOK), "新建宽带连接成功");
         EXPECT_TRUE(WaitUntil([] { return FindWindowA(nullptr, "新连接设置") == nullptr; }, 5000));
         EXPECT_EQ(run.Text(组合框1), kEntry);
         w.Overwrite(编辑框1, L"other@isp");
         w.Overwrite(编辑框2, L"secret");
         w.Click(按钮1);
         EXPECT_EQ(w.Answer(IDOK), "检测到您的宽带宽带连接的用户名应该是：user@isp，跟您填写的不同，请问是否继续？");
         EXPECT_EQ(w.Answer(IDOK), "是否开启监控？");
         ASSERT_TRUE(WaitUntil([&] { return !w.LoggedAfter(0, "当前IP：").empty(); }));
         EXPECT_TRUE(w.AwaitLogged("拨号成功，当前IP："));
         EXPECT_EQ(run.Text(编辑框1), "other@isp");
         const std::string ini = run.SettingsFile();
         for (const char* line : {"宽带账号=other@isp", "宽带密码=secret", "连接名称=宽带连接"})
             EXPECT_NE(ini.find(line), std::string::npos) << line;
         ExpectLocked(w);
     }},
    {"TheLinkDrops", std::string(kAccount) + kAutoMonitor, {"dial address 10.20.0.1"}, [](Walk& w) {
         ASSERT_TRUE(w.AwaitLogged("拨号成功，当前IP：10.20.0.1"));
         ASSERT_TRUE(w.AwaitPane(1, "当前状态：在线"));
         const std::size_t before = w.run().LogMessages().size();
         ASSERT_TRUE(RemoveTrayIconFromOutside(w.run().MainWindow()));  // back at the next refresh
         RasctlOk("dial address 10.20.0.2");
         RasctlOk(std::string("drop ") + kEntry);
         EXPECT_TRUE(w.AwaitPane(1, "当前状态：离线", 3000));
         EXPECT_TRUE(WaitUntil([&] { return !w.LoggedAfter(before, "开始拨号").empty(); }, 2000));
         EXPECT_TRUE(w.AwaitLogged("拨号成功，当前IP：10.20.0.2"));
         EXPECT_TRUE(w.AwaitPane(1, "当前状态：在线"));
         EXPECT_EQ(w.run().StatusPane(0), "当前IP：10.20.0.2");
         EXPECT_TRUE(w.run().HasTrayIcon());
     }},
    {"ForcedRedialEveryMinute", std::string(kAccount) + kAutoMonitor + "自动重播=是\r\n重播间隔=1\r\n", {}, [](Walk& w) {
         ASSERT_TRUE(w.AwaitLogged("拨号成功，当前IP："));
         EXPECT_EQ(w.Count("开始重播"), 0);
         ASSERT_TRUE(w.AwaitLogged("开始重播", 75000));
         EXPECT_TRUE(WaitUntil([&] { return w.Count("拨号成功，当前IP：") == 2; }, 15000));
         const auto log = w.run().LogMessages();
         const auto redial = std::ranges::find(log, "开始重播");
         EXPECT_NE(std::find(redial, log.end(), "开始拨号"), log.end());
     }},
    {"HangUpFromTheTrayMenu", std::string(kAccount) + kAutoMonitor, {}, [](Walk& w) {
         ASSERT_TRUE(w.AwaitPane(1, "当前状态：在线"));
         ASSERT_TRUE(w.ChooseFromTrayMenu(TrayMenuItem::断线));
         EXPECT_TRUE(w.AwaitLogged("手动操作：断线完成"));
         EXPECT_TRUE(w.Logged("手动操作：开始断线"));
         EXPECT_FALSE(w.run().IsChecked(选择框1));
         EXPECT_TRUE(w.AwaitPane(1, "当前状态：离线"));
         Sleep(3000);
         EXPECT_EQ(w.Count("开始拨号"), 1);
         EXPECT_EQ(w.run().StatusPane(1), "当前状态：离线");
     }},
    // Disabled items do nothing when chosen: offline 断线 and 重播, online 拨号.
    {"RedialAndDialFromTheTrayMenu", kAccount, {}, [](Walk& w) {
         ASSERT_TRUE(w.ChooseFromTrayMenu(TrayMenuItem::断线));
         ASSERT_TRUE(w.ChooseFromTrayMenu(TrayMenuItem::重播));
         ASSERT_TRUE(w.ChooseFromTrayMenu(TrayMenuItem::拨号));
         ASSERT_TRUE(w.AwaitLogged("手动操作：拨号成功，当前IP："));
         ASSERT_TRUE(w.ChooseFromTrayMenu(TrayMenuItem::拨号));
         ASSERT_TRUE(w.ChooseFromTrayMenu(TrayMenuItem::重播));
         EXPECT_TRUE(WaitUntil([&] { return w.Count("手动操作：拨号成功，当前IP：") == 2; }));
         Sleep(500);
         EXPECT_EQ(w.Shape(), (std::vector<std::string>{"软件启动成功", "手动操作：开始拨号", "手动操作：拨号成功，当前IP：",
                                                        "手动操作：开始断线", "手动操作：断线完成", "手动操作：开始拨号",
                                                        "手动操作：拨号成功，当前IP："}));
         EXPECT_TRUE(w.run().IsChecked(选择框1));
         EXPECT_EQ(w.run().StatusPane(1), "当前状态：在线");
     }},
    {"WrongPassword", std::string(kAccount) + kAutoMonitor, {"account add user@isp other-secret"}, [](Walk& w) {
         EXPECT_TRUE(w.AwaitPane(0, "拨号：由于在此域上的用户名和/或密码无效，远程连接被拒绝。"));
         ASSERT_TRUE(w.AwaitLogged("拨号失败"));
         EXPECT_FALSE(w.Logged("拨号成功"));
         EXPECT_EQ(w.run().StatusPane(1), "当前状态：离线");
     }},
    {"MinimiseAndBackFromTheIcon", "", {}, [](Walk& w) {
         const POINT box = w.MinimiseBox();
         ASSERT_GE(box.x, 0);
         vd::Click(box);
         ASSERT_TRUE(WaitUntil([&] { return !w.MainVisible(); }, 3000));
         const auto icon = vd::TrayIconPoint();
         ASSERT_TRUE(icon);
         vd::Click(*icon);
         Sleep(1000);
         EXPECT_FALSE(w.MainVisible());
         vd::DoubleClick(*icon);
         ASSERT_TRUE(WaitUntil([&] { return w.MainVisible(); }, 3000));
         EXPECT_FALSE(IsIconic(w.run().MainWindow()));
         EXPECT_EQ(GetForegroundWindow(), w.run().MainWindow());
     }},
    {"QuitDuringADial", kAccount, {"dial time 20000"}, [](Walk& w) {
         ASSERT_TRUE(w.ChooseFromTrayMenu(TrayMenuItem::拨号));
         ASSERT_TRUE(w.AwaitLogged("手动操作：开始拨号"));
         ASSERT_TRUE(w.ChooseFromTrayMenu(TrayMenuItem::退出));
         EXPECT_TRUE(w.Ends(w.run(), 1500));
         EXPECT_FALSE(w.run().HasTrayIcon());
     }},
    {"RestartWithAutoMonitoring", kAccount, {}, [](Walk& w) {
         w.Click(选择框4);
         ASSERT_TRUE(WaitUntil([&] { return w.run().IsChecked(选择框4); }, 3000));
         EXPECT_NE(w.run().SettingsFile().find("自动监控=是"), std::string::npos);
         ASSERT_TRUE(w.ChooseFromTrayMenu(TrayMenuItem::退出));
         ASSERT_TRUE(w.Ends(w.run(), 3000));
         ASSERT_TRUE(w.run().Start(w.desktop()));
         EXPECT_TRUE(w.AwaitLogged("拨号成功，当前IP："));
         EXPECT_TRUE(w.Logged("软件启动成功"));
         EXPECT_TRUE(w.run().IsChecked(选择框4));
         ExpectLocked(w);
     }},
    {"SecondInstance", "", {}, [](Walk& w) {
         PordexRun second;
         ASSERT_TRUE(second.Launch(w.desktop()));
         EXPECT_EQ(Walk::Answer(second, IDOK), "已有一个程序在运行，请勿重复运行");
         EXPECT_TRUE(w.Ends(second, 5000));
         EXPECT_TRUE(w.MainVisible());
         EXPECT_TRUE(w.run().HasTrayIcon());
     }},
    {"ShellRestarts", "", {}, [](Walk& w) {
         // The icons of a shell that went away are gone; the new shell announces itself.
         ASSERT_TRUE(RemoveTrayIconFromOutside(w.run().MainWindow()));
         ASSERT_FALSE(w.run().HasTrayIcon());
         PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
         EXPECT_TRUE(WaitUntil([&] { return w.run().HasTrayIcon(); }, 3000));
     }},
};

void PrintTo(const Journey& journey, std::ostream* out) {
    *out << journey.name;
}

class Journeys : public testing::TestWithParam<Journey> {};

TEST_P(Journeys, Walk) {
    const Journey& journey = GetParam();
    SetEnvironmentVariableA("RASSIM_WORLD", (std::string("journey-") + journey.name).c_str());
    RasctlOk("reset");
    if (journey.settings.find("连接名称") != std::string::npos) RasctlOk(std::string("entry add ") + kEntry + " user@isp");
    for (const std::string& command : journey.world) RasctlOk(command);
    DeleteFileA(DesktopShortcut().c_str());

    vd::Desktop desktop(std::string("Journey") + journey.name);
    ASSERT_TRUE(desktop.Ready());
    PordexRun run(journey.settings);
    ASSERT_TRUE(run.Start(desktop.Name().c_str()));
    Walk walk(run, desktop);
    journey.walk(walk);

    const std::string shots = ThisDirectory() + "\\..\\..\\journey-screenshots";
    CreateDirectoryA(shots.c_str(), nullptr);
    EXPECT_TRUE(desktop.Screenshot(shots + "\\" + journey.name + ".bmp"));
}

INSTANTIATE_TEST_SUITE_P(User, Journeys, testing::ValuesIn(kJourneys),
                         [](const testing::TestParamInfo<Journey>& info) { return std::string(info.param.name); });

}  // namespace
