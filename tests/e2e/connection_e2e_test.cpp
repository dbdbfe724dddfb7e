// The tray menu's dial and hang-up in the real program against the simulated dial-up service,
// and the end of the program while a dial is still waiting.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/pordex_driver.h"
#include "tests/support/rasctl_client.h"

namespace {

using namespace ui::main_window;
using e2e::PordexRun;
using e2e::WaitUntil;
using rasctl_client::RasctlOk;
using ui::TrayMenuItem;

constexpr const char* kSettings = "[账号]\r\n宽带账号=user@isp\r\n宽带密码=secret\r\n连接名称=宽带连接\r\n";

bool Logged(const PordexRun& run, const std::string& message) {
    const std::vector<std::string> log = run.LogMessages();
    return std::ranges::find(log, message) != log.end();
}

class ConnectionE2eTest : public testing::Test {
protected:
    void SetUp() override {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        SetEnvironmentVariableA("RASSIM_WORLD", (std::string("e2e-") + test->name()).c_str());
        RasctlOk("reset");
        RasctlOk("entry add 宽带连接");
        RasctlOk("account add user@isp secret");
        ASSERT_TRUE(run_.Start());
    }
    PordexRun run_{kSettings};
};

}  // namespace

TEST_F(ConnectionE2eTest, DialThenHangUpFromTheTrayMenu) {
    RasctlOk("dial address 10.9.9.9");
    run_.Choose(TrayMenuItem::拨号);
    ASSERT_TRUE(WaitUntil([this] { return run_.StatusPane(1) == "当前状态：在线"; }));
    EXPECT_EQ(run_.LogMessages(),
              (std::vector<std::string>{"软件启动成功", "手动操作：开始拨号", "手动操作：拨号成功，当前IP：10.9.9.9"}));
    EXPECT_EQ(run_.StatusPane(0), "当前IP：10.9.9.9");

    run_.Choose(TrayMenuItem::断线);
    ASSERT_TRUE(WaitUntil([this] { return Logged(run_, "手动操作：断线完成"); }));
    EXPECT_EQ(run_.StatusPane(0), "断开连接");
    EXPECT_EQ(run_.StatusPane(1), "当前状态：离线");
    EXPECT_FALSE(run_.IsChecked(选择框1));
    EXPECT_TRUE(WaitUntil([] { return rasctl_client::StateLines("connection").empty(); }, 3000));
}

TEST_F(ConnectionE2eTest, QuittingWhileADialWaitsEndsTheProgramAtOnceWithNothingMoreLogged) {
    RasctlOk("dial time 20000");
    run_.Choose(TrayMenuItem::拨号);
    ASSERT_TRUE(WaitUntil([this] { return Logged(run_, "手动操作：开始拨号"); }));
    Sleep(300);
    ASSERT_EQ(run_.LogMessages(), (std::vector<std::string>{"软件启动成功", "手动操作：开始拨号"}));
    DWORD exitCode = 1;
    ASSERT_TRUE(run_.CloseAndWait(2000, exitCode));
    EXPECT_EQ(exitCode, 0u);
}
