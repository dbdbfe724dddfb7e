// Phonebook entries and the start of monitoring in the real program against the simulated
// dial-up service, read back as the user sees them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialup/ras_records.h"
#include "tests/support/pordex_driver.h"
#include "tests/support/rasctl_client.h"

namespace {

namespace m = ui::main_window;
namespace n = ui::new_connection_window;
using e2e::MessageBoxSeen;
using e2e::PordexRun;
using e2e::WaitUntil;
using rasctl_client::RasctlOk;
using rasctl_client::StateLines;

void UseWorldOfThisTest() {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    SetEnvironmentVariableA("RASSIM_WORLD", (std::string("e2e-") + test->name()).c_str());
    RasctlOk("reset");
}

// The one box a click shows: its text, an information box or a question, owned by `owner`.
MessageBoxSeen ExpectBox(const PordexRun& run, const std::string& text, bool question, HWND owner) {
    const auto box = run.WaitForMessageBox();
    if (!box) {
        ADD_FAILURE() << "no message box for " << text;
        return {};
    }
    EXPECT_EQ(box->text, text);
    EXPECT_EQ(box->caption, "信息：");
    EXPECT_EQ(box->hasCancel, question);
    EXPECT_EQ(box->hasIcon, question);
    EXPECT_EQ(box->owner, owner);
    return *box;
}

void PressAndAnswer(const PordexRun& run, ui::ControlId button, const std::string& text, bool question,
                    int answer = IDOK) {
    run.Press(button);
    const MessageBoxSeen box = ExpectBox(run, text, question, run.Window(button.window));
    if (box.box)
        run.Answer(box, answer);
}

RASENTRYA EntryProperties(const std::string& name) {
    using GetProperties = DWORD(WINAPI*)(LPCSTR, LPCSTR, RASENTRYA*, DWORD*, BYTE*, DWORD*);
    RASENTRYA entry = {};
    entry.dwSize = sizeof entry;
    DWORD size = sizeof entry;
    const auto get = reinterpret_cast<GetProperties>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("rasapi32.dll"), "RasGetEntryPropertiesA")));
    EXPECT_EQ(get(nullptr, name.c_str(), &entry, &size, nullptr, nullptr), 0u);
    return entry;
}

void FillNewConnection(const PordexRun& run, const char* name, const char* user, const char* password) {
    run.SetText(n::编辑框3, name);
    run.SetText(n::编辑框1, user);
    run.SetText(n::编辑框2, password);
}

class PhonebookE2eTest : public testing::Test {
protected:
    void SetUp() override { UseWorldOfThisTest(); }
};

}  // namespace

TEST_F(PhonebookE2eTest, NewConnectionRefusesIncompleteInputAndTakenNamesOneBoxAtATime) {
    RasctlOk("entry add 宽带连接");
    PordexRun run;
    ASSERT_TRUE(run.Start());
    run.Click(m::按钮2);
    ASSERT_TRUE(WaitUntil([&] { return run.Window(ui::WindowKind::NewConnection) != nullptr; }));
    struct Case {
        const char *name, *user, *password, *message;
    };
    constexpr Case kCases[] = {
        {"", "", "", "请输入宽带名称"},
        {"", "u", "p", "请输入宽带名称"},
        {"新宽带", "", "p", "请输入宽带账号"},
        {"新宽带", "u", "", "请输入宽带密码"},
        {"宽带连接", "u", "p", "此宽带名称不可用：此拨号名称已存在"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.message);
        FillNewConnection(run, c.name, c.user, c.password);
        PressAndAnswer(run, n::按钮1, c.message, false);
        ASSERT_NE(run.Window(ui::WindowKind::NewConnection), nullptr);
        EXPECT_EQ(run.Text(n::编辑框3), c.name);
        EXPECT_EQ(run.Text(n::编辑框1), c.user);
        EXPECT_EQ(run.Text(n::编辑框2), c.password);
        EXPECT_EQ(StateLines("entry").size(), 1u);
    }
}

TEST_F(PhonebookE2eTest, ANewEntryIsSelectedWithTheTypedAccountAndThePropertiesOfABroadbandEntry) {
    RasctlOk("entry add 宽带连接");
    PordexRun run;
    ASSERT_TRUE(run.Start());
    run.SetText(m::编辑框2, "旧密码");
    run.Click(m::按钮2);
    ASSERT_TRUE(WaitUntil([&] { return run.Window(ui::WindowKind::NewConnection) != nullptr; }));
    FillNewConnection(run, "新宽带", "new@isp", "pw");
    PressAndAnswer(run, n::按钮1, "新建宽带连接成功", false);

    EXPECT_TRUE(WaitUntil([&] { return run.Window(ui::WindowKind::NewConnection) == nullptr; }));
    EXPECT_EQ(run.Items(m::组合框1), (std::vector<std::string>{"宽带连接", "新宽带"}));
    EXPECT_EQ(run.Text(m::组合框1), "新宽带");
    EXPECT_EQ(run.Text(m::编辑框1), "new@isp");
    EXPECT_EQ(run.Text(m::编辑框2), "旧密码");
    EXPECT_NE(StateLines("entry")[1].find("user=\"new@isp\" password=\"pw\""), std::string::npos);

    const RASENTRYA entry = EntryProperties("新宽带");
    EXPECT_STREQ(entry.szDeviceType, "PPPoE");
    EXPECT_STREQ(entry.szDeviceName, "WAN Miniport (PPPOE)");
    EXPECT_EQ(entry.dwType, 5u);             // broadband
    EXPECT_EQ(entry.dwfNetProtocols, 4u);    // IP only
    EXPECT_EQ(entry.dwFramingProtocol, 1u);  // PPP
    EXPECT_EQ(entry.dwRedialCount, 3u);
    EXPECT_EQ(entry.dwRedialPause, 60u);
    EXPECT_EQ(entry.dwfOptions, 0x3D0D0310u);
    EXPECT_EQ(entry.dwfOptions2, 0x16Fu);
}

TEST_F(PhonebookE2eTest, DeletingRefreshesTheListAndAnEmptyListHasNothingToDeleteOrMonitor) {
    RasctlOk("entry add 甲 a");
    RasctlOk("entry add 乙 b");
    PordexRun run("[账号]\r\n宽带账号=saved\r\n宽带密码=pw\r\n连接名称=乙\r\n");
    ASSERT_TRUE(run.Start());
    ASSERT_EQ(run.Text(m::组合框1), "乙");
    ASSERT_EQ(run.Text(m::编辑框1), "saved");

    // The saved entry goes: the first one left is selected with the user name it stores.
    run.Click(m::按钮3);
    EXPECT_EQ(run.Items(m::组合框1), std::vector<std::string>{"甲"});
    EXPECT_EQ(run.Text(m::组合框1), "甲");
    EXPECT_EQ(run.Text(m::编辑框1), "a");
    EXPECT_EQ(run.Text(m::编辑框2), "pw");

    // An entry removed behind the program's back cannot be deleted; the list stays.
    RasctlOk("entry remove 甲");
    PressAndAnswer(run, m::按钮3, "删除拨号连接失败", false);
    EXPECT_EQ(run.Items(m::组合框1), std::vector<std::string>{"甲"});

    RasctlOk("entry add 甲 a");
    run.Click(m::按钮3);
    EXPECT_TRUE(run.Items(m::组合框1).empty());
    EXPECT_TRUE(StateLines("entry").empty());
    PressAndAnswer(run, m::按钮3, "请选择要删除的宽带连接", false);
    run.SetText(m::编辑框1, "u");
    run.SetText(m::编辑框2, "p");
    PressAndAnswer(run, m::按钮1, "请选择一个宽带", false);
    EXPECT_EQ(run.SettingsFile(), "[账号]\r\n宽带账号=saved\r\n宽带密码=pw\r\n连接名称=乙\r\n");
}

TEST_F(PhonebookE2eTest, StartMonitoringChecksInOrderAndSavesTheAccountBeforeTheFirstDial) {
    RasctlOk("entry add 宽带连接 a");
    RasctlOk("entry add 无名");
    RasctlOk("dial time 20000");
    PordexRun run;
    ASSERT_TRUE(run.Start());
    const std::string mismatch = "检测到您的宽带宽带连接的用户名应该是：a，跟您填写的不同，请问是否继续？";
    struct Step {
        int entry;  // 0: 宽带连接, 1: 无名
        const char *user, *password, *interval;
        bool periodic;
        std::vector<std::pair<std::string, int>> boxes;  // text and answer, in order
    };
    const Step steps[] = {
        {1, "", "p", "5", false, {{"请设置宽带用户名", IDOK}}},
        {1, "u", "", "5", false, {{"请设置宽带密码", IDOK}}},
        {0, "b", "p", "5", false, {{mismatch, IDCANCEL}}},
        {0, "", "", "5", false, {{mismatch, IDOK}, {"请设置宽带密码", IDOK}}},
        {0, "a", "p", "0", false, {{"是否开启监控？", IDCANCEL}}},
        {0, "a", "p", "0", true, {{"重播间隔设置错误", IDOK}}},
        {0, "a", "p", "abc", true, {{"重播间隔设置错误", IDOK}}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.boxes.front().first);
        run.ChooseItem(m::组合框1, step.entry);
        run.SetText(m::编辑框1, step.user);
        run.SetText(m::编辑框2, step.password);
        if (run.IsChecked(m::选择框2) != step.periodic)
            run.Click(m::选择框2);
        run.SetText(m::编辑框3, step.interval);
        run.Press(m::按钮1);
        for (const auto& [text, answer] : step.boxes) {
            const bool question = text == mismatch || text == "是否开启监控？";
            const MessageBoxSeen box = ExpectBox(run, text, question, run.MainWindow());
            if (box.box)
                run.Answer(box, answer);
        }
        EXPECT_EQ(run.SettingsFile().find("[账号]"), std::string::npos);
        EXPECT_TRUE(run.IsEnabled(m::按钮1));
    }

    // With the stored name differing, OK goes on with the typed one.
    run.ChooseItem(m::组合框1, 0);
    run.SetText(m::编辑框1, "b");
    run.SetText(m::编辑框3, "3");
    run.Press(m::按钮1);
    run.Answer(ExpectBox(run, mismatch, true, run.MainWindow()), IDOK);
    run.Answer(ExpectBox(run, "是否开启监控？", true, run.MainWindow()), IDOK);
    const std::string account = "[账号]\r\n宽带账号=b\r\n宽带密码=p\r\n连接名称=宽带连接\r\n";
    // The program writes the keys one by one after the answer; a read may land between two.
    EXPECT_TRUE(WaitUntil([&] { return run.SettingsFile().find(account) != std::string::npos; }))
        << run.SettingsFile();
    EXPECT_TRUE(WaitUntil([&] { return !run.IsEnabled(m::按钮1); }));
    EXPECT_TRUE(WaitUntil([&] { return StateLines("connection").size() == 1; }));
}
