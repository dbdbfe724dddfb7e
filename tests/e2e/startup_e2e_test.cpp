// The whole start-up of the real program: the single-instance guard, the shortcuts it restores
// and reflects, and monitoring resumed by itself.
#include <windows.h>

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/pordex_driver.h"
#include "tests/support/rasctl_client.h"
#include "tests/support/shell_link_reader.h"
#include "ui/auto_start.h"
#include "ui/logon_task.h"

namespace {

namespace m = ui::main_window;
using e2e::PordexRun;
using e2e::WaitUntil;
using rasctl_client::RasctlOk;

std::string SpecialFolder(int folder) {
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, folder, FALSE);
    return std::string(path) + "\\";
}

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Logged(const PordexRun& run, const std::string& prefix) {
    const std::vector<std::string> log = run.LogMessages();
    return std::ranges::any_of(log, [&](const std::string& line) { return line.starts_with(prefix); });
}

// A shortcut as the program must write it: a link to itself, shown normally, nothing else.
void ExpectLinkToProgram(const std::string& link, const PordexRun& run) {
    const auto read = e2e::ReadShellLink(link);
    ASSERT_TRUE(read) << link;
    EXPECT_EQ(read->targetPath, run.ProgramPath());
    EXPECT_EQ(read->showCommand, static_cast<DWORD>(SW_SHOW));
    EXPECT_FALSE(read->hasArguments);
    EXPECT_FALSE(read->hasWorkingDirectory);
    EXPECT_FALSE(read->hasDescription);
    EXPECT_FALSE(Exists(run.Folder() + "\\Pordex.lnk"));
}

// The shortcut files the tests make the program write are theirs to remove.
class StartupE2eTest : public testing::Test {
protected:
    void SetUp() override {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        SetEnvironmentVariableA("RASSIM_WORLD", (std::string("e2e-") + test->name()).c_str());
        RasctlOk("reset");
        TearDown();
    }
    void TearDown() override {
        DeleteFileA(startupLink_.c_str());
        DeleteFileA(taskFile_.c_str());
        DeleteFileA(sharedTaskFile_.c_str());
    }

    const std::string desktopLink_ = SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "Pordex.lnk";
    const std::string startupLink_ = SpecialFolder(CSIDL_STARTUP) + "Pordex.lnk";
    // Wine's scheduler keeps each task as a file of its name.
    const std::string sharedTaskFile_ = SpecialFolder(CSIDL_SYSTEM) + "Tasks\\Pordex";
    const std::wstring taskName_ = LogonTaskName();
    const std::string taskFile_ = SpecialFolder(CSIDL_SYSTEM) + "Tasks\\" + std::string(taskName_.begin(), taskName_.end());
};

// The refusal a second copy shows before it ends by itself.
void ExpectRefusedAndEnded(PordexRun& second) {
    ASSERT_TRUE(second.Launch());
    const auto box = second.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, "已有一个程序在运行，请勿重复运行");
    EXPECT_EQ(box->caption, "信息：");
    EXPECT_FALSE(box->hasCancel);
    EXPECT_FALSE(box->hasIcon);
    second.Answer(*box, IDOK);
    DWORD exitCode = 1;
    EXPECT_TRUE(second.WaitForExit(5000, exitCode));
}

}  // namespace

TEST_F(StartupE2eTest, ASecondCopyFromAnotherFolderUnderAnotherNameIsRefused) {
    PordexRun first;
    ASSERT_TRUE(first.Start());
    PordexRun second("", "宽带助手.exe");
    ExpectRefusedAndEnded(second);
    EXPECT_TRUE(IsWindow(first.MainWindow()));
}

TEST_F(StartupE2eTest, AnUnrelatedProgramWithTheProductDescriptionBlocksTheStart) {
    char tests[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, tests, MAX_PATH);
    std::string holder(tests);
    holder.replace(holder.find_last_of('\\') + 1, std::string::npos, "description_holder.exe");
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(e2e::StartProcess('"' + holder + '"', nullptr, startup, process)) << GetLastError();
    PordexRun blocked;
    ExpectRefusedAndEnded(blocked);
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

TEST_F(StartupE2eTest, ASavedAccountWithAutoMonitorResumesMonitoringWithoutAClick) {
    struct Case {
        const char* what;
        const char* account;
        const char* autoMonitor;
        bool monitors;
    };
    constexpr Case kCases[] = {
        {"complete account", "宽带账号=u\r\n宽带密码=p\r\n", "是", true},
        {"empty password", "宽带账号=u\r\n宽带密码=\r\n", "是", false},
        {"auto monitor off", "宽带账号=u\r\n宽带密码=p\r\n", "否", false},
    };
    RasctlOk("entry add 宽带连接");
    RasctlOk("dial time 20000");
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        PordexRun run(std::string("[账号]\r\n") + c.account + "连接名称=宽带连接\r\n[设置]\r\n自动监控=" + c.autoMonitor + "\r\n");
        ASSERT_TRUE(run.Start());
        if (c.monitors) {
            EXPECT_TRUE(WaitUntil([&] { return Logged(run, "开始拨号"); }));
            EXPECT_TRUE(Logged(run, "当前IP："));
            EXPECT_FALSE(run.IsEnabled(m::按钮1));
        } else {
            // What a monitor would have done by now has not happened.
            Sleep(1000);
            EXPECT_FALSE(Logged(run, "开始拨号"));
            EXPECT_TRUE(run.IsEnabled(m::按钮1));
        }
        // The start-up line marks a saved account, whatever else happens.
        EXPECT_EQ(Logged(run, "软件启动成功"), std::string(c.account).find("=\r\n") == std::string::npos);
    }
}

TEST_F(StartupE2eTest, TheDesktopShortcutIsRestoredForAGbkPathAndAnExistingOneIsLeftAlone) {
    DeleteFileA(desktopLink_.c_str());
    {
        // 淺 and 籠 end in the byte of a backslash, which must not cut the file name.
        PordexRun run("", "宽带籠淺.exe", "淺宽带籠");
        ASSERT_TRUE(run.Start());
        ExpectLinkToProgram(desktopLink_, run);
        run.Click(m::选择框1);
        EXPECT_TRUE(run.SettingsFileExists());
    }
    WriteBytes(desktopLink_, "not a link");
    PordexRun again;
    ASSERT_TRUE(again.Start());
    EXPECT_EQ(FileBytes(desktopLink_), "not a link");
    DeleteFileA(desktopLink_.c_str());
}

// Wine answers every folder as its user's own, as a user's Desktop is on Windows: the box is
// refused there, and a task found at start goes with the reason.
TEST_F(StartupE2eTest, AutoStartIsRefusedAndAnEarlierTaskRemovedWhereUsersCanReplaceTheProgram) {
    WriteBytes(startupLink_, "someone else's");
    PordexRun run;
    WriteBytes(sharedTaskFile_, "<Task xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\"><Actions>"
                                "<Exec><Command>" + run.ProgramPath() + "</Command></Exec></Actions></Task>");
    ASSERT_TRUE(run.Launch());
    auto box = run.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, std::string("已取消开机自动启动：") + kUnsafeFolderRefusal);
    run.Answer(*box, IDOK);
    ASSERT_TRUE(run.AwaitMainWindow());
    EXPECT_FALSE(Exists(sharedTaskFile_));
    EXPECT_TRUE(run.IsChecked(m::选择框3));  // the shortcut of any target still counts
    run.Click(m::选择框3);
    EXPECT_FALSE(Exists(startupLink_) || run.IsChecked(m::选择框3));
    run.Press(m::选择框3);
    box = run.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, kUnsafeFolderRefusal);
    EXPECT_EQ(box->caption, "信息：");
    run.Answer(*box, IDOK);
    EXPECT_FALSE(run.IsChecked(m::选择框3));
    EXPECT_FALSE(Exists(taskFile_));
}

TEST_F(StartupE2eTest, FromTheTemporaryFolderStartUpAsksForAFixedOneAndPlacesNothingThere) {
    DeleteFileA(desktopLink_.c_str());
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    PordexRun run("", "Pordex.exe", "", temp);
    ASSERT_TRUE(run.Launch());
    for (const bool clicked : {false, true}) {
        const auto box = run.WaitForMessageBox();
        ASSERT_TRUE(box) << clicked;
        EXPECT_EQ(box->text, kTemporaryFolderNotice);
        run.Answer(*box, IDOK);
        ASSERT_TRUE(clicked || run.AwaitMainWindow());
        EXPECT_FALSE(Exists(desktopLink_) || Exists(taskFile_) || run.IsChecked(m::选择框3));
        run.Press(m::选择框3);
    }
}

namespace {

constexpr char kHttpsCommand[] = "Software\\Classes\\https\\shell\\open\\command";

void SetHttpsCommand(const std::string& command) {
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, kHttpsCommand, nullptr, REG_SZ, command.c_str(), command.size() + 1);
}

// The command the system opens "https" addresses with, while this lives: the test's stand-in.
struct BrowserStandIn {
    explicit BrowserStandIn(const std::string& command) {
        char old[1024] = {};
        DWORD size = sizeof old;
        RegGetValueA(HKEY_LOCAL_MACHINE, kHttpsCommand, nullptr, RRF_RT_REG_SZ, nullptr, old, &size);
        previous = old;
        SetHttpsCommand(command);
    }
    ~BrowserStandIn() { SetHttpsCommand(previous); }
    std::string previous;
};

}  // namespace

// The program runs elevated; the browser must not: the desktop's shell starts it.
TEST(AboutWindow, TheWebLinkIsOpenedByTheDesktopShellNotByTheProgram) {
    char tests[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, tests, MAX_PATH);
    const std::string folder = std::string(tests).substr(0, std::string(tests).find_last_of('\\') + 1);
    const std::string record = folder + "link_probe.txt";
    DeleteFileA(record.c_str());
    const BrowserStandIn browser("\"" + folder + "link_probe.exe\" \"%1\"");
    PordexRun run;
    ASSERT_TRUE(run.Start());
    run.Choose(ui::TrayMenuItem::关于);
    ASSERT_TRUE(WaitUntil([&] { return run.Window(ui::WindowKind::About) != nullptr; }));
    PostMessageA(run.Control(ui::about_window::超级链接框2), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));  // as a click arrives
    ASSERT_TRUE(WaitUntil([&] { return !FileBytes(record).empty(); }));
    EXPECT_EQ(FileBytes(record), "explorer.exe");
}
