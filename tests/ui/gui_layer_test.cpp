// The GUI layer: its operations reach the real controls, from the GUI thread and from workers.
#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <set>
#include <thread>

#include "ui/gui.h"
#include "ui_test_support.h"

namespace {

using namespace ui_test;
using ui::WindowKind;
namespace m = ui::main_window;

using UiGuiLayer = MainWindowTest;

TEST_F(UiGuiLayer, ControlOperationsReachTheRealControls) {
    gui::SetText(m::编辑框1, "账号甲");
    EXPECT_EQ(Text(Control(m::编辑框1)), "账号甲");
    SetWindowTextA(Control(m::编辑框2), "密码乙");
    EXPECT_EQ(gui::GetText(m::编辑框2), "密码乙");

    gui::SetChecked(m::选择框1, false);
    EXPECT_EQ(SendMessageA(Control(m::选择框1), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_FALSE(gui::IsChecked(m::选择框1));
    gui::SetEnabled(m::按钮1, false);
    EXPECT_FALSE(IsWindowEnabled(Control(m::按钮1)));
    EXPECT_FALSE(gui::IsEnabled(m::按钮1));

    EXPECT_EQ(gui::AddItem(m::组合框1, "宽带连接"), 0);
    EXPECT_EQ(gui::AddItem(m::组合框1, "ADSL"), 1);
    EXPECT_EQ(ItemText(Control(m::组合框1), 0), "宽带连接");
    EXPECT_EQ(gui::GetSelectedText(m::组合框1), "");
    gui::SelectItem(m::组合框1, 0);
    EXPECT_EQ(gui::GetSelectedText(m::组合框1), "宽带连接");
    gui::ClearItems(m::组合框1);
    EXPECT_EQ(SendMessageA(Control(m::组合框1), CB_GETCOUNT, 0, 0), 0);

    const HWND logList = GetDlgItem(Control(m::分组框1), m::列表框1.id);
    EXPECT_EQ(gui::AddLine(m::列表框1, "第二行"), 0);
    EXPECT_EQ(gui::AddLine(m::列表框1, "第一行"), 1);
    gui::SelectLine(m::列表框1, 1);
    EXPECT_EQ(SendMessageA(logList, LB_GETCURSEL, 0, 0), 1);
    gui::SelectLine(m::列表框1, -1);
    EXPECT_EQ(SendMessageA(logList, LB_GETCURSEL, 0, 0), LB_ERR);

    gui::SetStatusPane(0, "当前IP：10.0.0.1");
    EXPECT_EQ(gui::GetStatusPane(0), "当前IP：10.0.0.1");
    EXPECT_EQ(gui::GetStatusPane(1), "当前状态：");
    gui::SetText(m::超级链接框1, "<<收起日志");
    EXPECT_EQ(Text(Control(m::超级链接框1)), "<<收起日志");
}

TEST_F(UiGuiLayer, WindowOperationsReachTheRealWindows) {
    gui::SetWidth(WindowKind::Main, 356);
    RECT frame;
    GetWindowRect(main_, &frame);
    EXPECT_EQ(frame.right - frame.left, 356);
    EXPECT_EQ(frame.bottom - frame.top, 264);
    EXPECT_EQ(gui::GetWidth(WindowKind::Main), 356);

    gui::SetTopMost(WindowKind::Main, true);
    EXPECT_NE(GetWindowLongA(main_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    gui::SetTopMost(WindowKind::Main, false);
    EXPECT_EQ(GetWindowLongA(main_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    gui::SetMinimized(WindowKind::Main, true);
    EXPECT_TRUE(IsIconic(main_));
    gui::SetMinimized(WindowKind::Main, false);
    EXPECT_FALSE(IsIconic(main_));
    gui::Show(WindowKind::Main, false);
    EXPECT_FALSE(IsWindowVisible(main_));
    gui::Show(WindowKind::Main, true);
    EXPECT_TRUE(IsWindowVisible(main_));

    const BYTE andMask[] = {0xFF}, xorMask[] = {0x00};
    const HICON icon = CreateIcon(nullptr, 1, 1, 1, 1, andMask, xorMask), small = CopyIcon(icon);
    gui::SetIcons(WindowKind::Main, icon, small);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(main_, WM_GETICON, ICON_BIG, 0)), icon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(main_, WM_GETICON, ICON_SMALL, 0)), small);

    gui::Open(WindowKind::NewConnection);
    const HWND secondary = gui::Handle(WindowKind::NewConnection);
    EXPECT_EQ(GetWindow(secondary, GW_OWNER), main_);
    gui::Close(WindowKind::NewConnection);
    EXPECT_FALSE(IsWindow(secondary));
    EXPECT_EQ(gui::Handle(WindowKind::NewConnection), nullptr);
}

// Runs `work` on a new thread while this (GUI) thread keeps its loop going.
bool RunOnWorkers(int count, const std::function<void(int)>& work) {
    std::atomic<int> finished{0};
    std::vector<std::thread> workers;
    for (int i = 0; i < count; ++i) workers.emplace_back([&, i] { work(i); ++finished; });
    const bool done = PumpUntil([&] { return finished == count; }, 20000);
    for (std::thread& worker : workers) done ? worker.join() : worker.detach();
    return done;
}

// Each worker owns one control and also counts in a shared status pane: a read-modify-write
// that stays whole only when the task runs on the GUI thread.
TEST_F(UiGuiLayer, WorkersAtOnceNeitherRaceNorDeadlock) {
    constexpr int kWorkers = 4, kRounds = 50;
    const ui::ControlId own[kWorkers] = {m::编辑框1, m::编辑框2, m::标签4, m::超级链接框2};
    std::atomic<int> stale{0};
    gui::SetStatusPane(1, "0");
    ASSERT_TRUE(RunOnWorkers(kWorkers, [&](int w) {
        for (int round = 0; round < kRounds; ++round) {
            char text[16];
            std::snprintf(text, sizeof text, "w%d-%d", w, round);
            gui::SetText(own[w], text);
            gui::AddLine(m::列表框1, text);
            stale += gui::GetText(own[w]) != text;
            gui::Invoke([] { gui::SetStatusPane(1, std::to_string(std::stoi(gui::GetStatusPane(1)) + 1)); });
        }
    }));
    EXPECT_EQ(stale, 0);
    EXPECT_EQ(gui::GetStatusPane(1), std::to_string(kWorkers * kRounds));
    const HWND logList = GetDlgItem(Control(m::分组框1), m::列表框1.id);
    ASSERT_EQ(SendMessageA(logList, LB_GETCOUNT, 0, 0), kWorkers * kRounds);
    std::set<std::string> lines;
    for (int i = 0; i < kWorkers * kRounds; ++i) {
        char line[32] = "";
        SendMessageA(logList, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
        lines.insert(line);
    }
    EXPECT_EQ(lines.size(), static_cast<std::size_t>(kWorkers * kRounds));
    EXPECT_TRUE(lines.contains("w3-49"));
}

TEST_F(UiGuiLayer, WorkerReadsTheCurrentValue) {
    std::atomic<int> step{0};
    std::string first, second;
    std::thread reader([&] {
        first = gui::GetText(m::编辑框1);
        step = 1;
        while (step != 2) Sleep(1);
        second = gui::GetText(m::编辑框1);
        step = 3;
    });
    SetWindowTextA(Control(m::编辑框1), "甲");
    // The box is still empty until the GUI thread types into it, but the reader waits in
    // SendMessage until the GUI thread runs its loop.
    ASSERT_TRUE(PumpUntil([&] { return step == 1; }));
    SetWindowTextA(Control(m::编辑框1), "乙");
    step = 2;
    ASSERT_TRUE(PumpUntil([&] { return step == 3; }));
    reader.join();
    EXPECT_EQ(first, "甲");
    EXPECT_EQ(second, "乙");
}

TEST_F(UiGuiLayer, MessageBoxFromAWorkerIsTaskModalOwnedAndKeepsTheLayerResponsive) {
    const DWORD guiThread = GetCurrentThreadId();
    std::atomic<int> answer{0};
    std::string caption, text, readDuringBox;
    bool ownerDisabled = false;
    HWND owner = nullptr;
    std::thread asker([&] { answer = gui::ShowMessage(WindowKind::Main, "已有一个程序在运行", MB_OKCANCEL); });
    std::thread watcher([&] {
        const HWND box = WaitForThreadWindow(guiThread, "#32770");
        caption = Text(box);
        text = Text(GetDlgItem(box, 0xFFFF));
        owner = GetWindow(box, GW_OWNER);
        ownerDisabled = !IsWindowEnabled(main_);
        readDuringBox = gui::GetStatusPane(1);
        PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    });
    ASSERT_TRUE(PumpUntil([&] { return answer != 0; }));
    asker.join();
    watcher.join();
    EXPECT_EQ(answer, IDCANCEL);
    EXPECT_EQ(caption, "信息：");
    EXPECT_EQ(text, "已有一个程序在运行");
    EXPECT_EQ(owner, main_);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_EQ(readDuringBox, "当前状态：");
}

TEST_F(UiGuiLayer, TasksRunOnTheGuiThreadAndAreDroppedAfterTheMainWindow) {
    bool ran = false;
    gui::Invoke([&] { ran = true; });
    EXPECT_TRUE(ran);
    DWORD ranOn = 0;
    EXPECT_TRUE(RunOnWorkers(1, [&](int) { gui::Invoke([&] { ranOn = GetCurrentThreadId(); }); }));
    EXPECT_EQ(ranOn, GetCurrentThreadId());

    gui::Close(WindowKind::Main);
    PumpPending();
    ran = false;
    gui::Invoke([&] { ran = true; });
    EXPECT_FALSE(ran);
    std::string text = "unread";
    EXPECT_TRUE(RunOnWorkers(1, [&](int) { text = gui::GetText(m::编辑框1); }));
    EXPECT_EQ(text, "");
}

}  // namespace
