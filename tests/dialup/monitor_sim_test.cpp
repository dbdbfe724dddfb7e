// The monitor through the real bindings against the simulated dial-up service, with the Main
// window open on this thread and the log and panes read back as the user sees them.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "core/settings.h"
#include "core/status_display.h"
#include "dialup/connection_states.h"
#include "dialup/monitor.h"
#include "tests/core/main_window_fixture.h"
#include "tests/support/log_reading.h"
#include "tests/support/message_pump.h"
#include "tests/support/rasctl_client.h"
#include "ui/controls.h"
#include "ui/gui.h"

namespace {

using namespace ui::main_window;
using rasctl_client::RasctlOk;

constexpr const char* kEntry = "宽带连接";

bool Logged(const std::string& message) {
    const std::vector<std::string> log = log_reading::LogMessages();
    return std::ranges::find(log, message) != log.end();
}

// The log from the first line equal to `message` on; empty when it is not there.
std::vector<std::string> LogFrom(const std::string& message) {
    std::vector<std::string> log = log_reading::LogMessages();
    const auto first = std::ranges::find(log, message);
    return {first, log.end()};
}

class MonitorSimTest : public MainWindowFixture {
protected:
    void SetUp() override {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        SetEnvironmentVariableA("RASSIM_WORLD", (std::string("monitor-") + test->name()).c_str());
        RasctlOk("reset");
        RasctlOk(std::string("entry add ") + kEntry);
        RasctlOk("account add user@isp secret");
        MainWindowFixture::SetUp();
        ReplaceAccount({kEntry, "user@isp", "secret"});
        OnlineFlag = 0;
    }

    void StartMonitoring(bool neverDrop, const char* interval = nullptr) {
        gui::SetChecked(选择框1, neverDrop);
        gui::SetChecked(选择框2, interval != nullptr);
        if (interval)
            gui::SetText(编辑框3, interval);
        gui::SetText(编辑框4, "0");
        monitor_ = std::thread([this] {
            MonitorLoop();
            ended_ = true;
        });
    }

    // Quits as the user would and waits for the monitor to notice.
    void TearDown() override {
        MainWindowFixture::TearDown();
        if (monitor_.joinable()) {
            EXPECT_TRUE(message_pump::PumpUntil([this] { return ended_.load(); }, 20000));
            monitor_.join();
        }
    }

    std::thread monitor_;
    std::atomic<bool> ended_{false};
};

}  // namespace

// The redial after a rejected one succeeds at once: the dropped link has closed before it (else 633).
TEST_F(MonitorSimTest, ADroppedLinkWhoseRedialIsRejectedIsRedialedAgainAndItsNewAddressShown) {
    RasctlOk(std::string("up ") + kEntry + " --address 10.1.1.1");
    StartMonitoring(true);
    ASSERT_TRUE(message_pump::PumpUntil([] { return Logged("当前IP：10.1.1.1"); }));
    ASSERT_TRUE(message_pump::PumpUntil([] { return OnlineFlag == 1; }));

    RasctlOk("dial fail 691 5");
    RasctlOk("dial address 10.2.2.2");
    RasctlOk(std::string("drop ") + kEntry);
    ASSERT_TRUE(message_pump::PumpUntil([] { return Logged("拨号成功，当前IP：10.2.2.2"); }, 14000));
    EXPECT_EQ(LogFrom("开始拨号"), (std::vector<std::string>{"开始拨号", "拨号失败", "错误代码 691：" + GetDialErrorText(691), "开始拨号", "拨号成功，当前IP：10.2.2.2"}));
    EXPECT_EQ(gui::GetStatusPane(0), "当前IP：10.2.2.2");
    // The display is refreshed right after the line is logged.
    EXPECT_TRUE(message_pump::PumpUntil([] { return gui::GetStatusPane(1) == "当前状态：在线"; }, 2000));
    // The dropped link's handle has been hung up: the service holds the new link only.
    EXPECT_TRUE(message_pump::PumpUntil([] { return rasctl_client::StateLines("connection").size() == 1; }, 3000));
}

TEST_F(MonitorSimTest, ARejectedPasswordShowsTheErrorThenTheFailureAndNeverSuccess) {
    ReplaceAccount({kEntry, "user@isp", "wrong"});
    // The failed dial's hang-up is refused a few times, so that its pane stays a moment.
    RasctlOk("hangup fail 3 5");
    const std::string errorPane = "拨号：" + GetDialErrorText(691);
    ASSERT_NE(errorPane, "拨号：");

    std::vector<std::string> panes;
    StartMonitoring(true);
    ASSERT_TRUE(message_pump::PumpUntil([&panes] {
        const std::string pane = gui::GetStatusPane(0);
        if (panes.empty() || panes.back() != pane)
            panes.push_back(pane);
        return Logged("拨号失败");
    }, 20000));
    message_pump::PumpUntil([&panes] {
        const std::string pane = gui::GetStatusPane(0);
        if (panes.back() != pane)
            panes.push_back(pane);
        return pane == "拨号失败";
    }, 1000);

    const auto error = std::ranges::find(panes, errorPane);
    ASSERT_NE(error, panes.end());
    EXPECT_NE(std::find(error, panes.end(), "拨号失败"), panes.end());
    EXPECT_EQ(LogFrom("开始拨号").at(1), "拨号失败");
    EXPECT_FALSE(std::ranges::any_of(log_reading::LogMessages(),
                                     [](const std::string& line) { return line.starts_with("拨号成功"); }));
    EXPECT_EQ(OnlineFlag.load(), 0);
}

// Windows lists a link under its Unicode name; one with a character GBK lacks reaches the program
// with an empty name, and must neither stand for the entry nor upset the monitor. Its GBK part
// alone is the entry's name here, so a conversion that dropped the emoji would hide the drop.
TEST_F(MonitorSimTest, ALinkListedUnderANameGbkLacksIsNotTheEntry) {
    RasctlOk("entry add 宽带");
    ReplaceAccount({"宽带", "user@isp", "secret"});
    RasctlOk("up 宽带? --phonebook C:\\other.pbk --listed-as 宽带\\uD83D\\uDE00");
    RasctlOk("dial address 10.4.4.4");
    StartMonitoring(true);
    ASSERT_TRUE(message_pump::PumpUntil([] { return Logged("拨号成功，当前IP：10.4.4.4"); }, 15000))
        << testing::PrintToString(log_reading::LogMessages());
    EXPECT_EQ(LogFrom("开始拨号"), (std::vector<std::string>{"开始拨号", "拨号成功，当前IP：10.4.4.4"}));
    EXPECT_EQ(rasctl_client::StateLines("connection").size(), 2u) << "the other link is left alone";
}

// With no pause after the forced hang-up, the dial must wait for the old link to close: the
// service refuses the entry with 633 until then.
TEST_F(MonitorSimTest, TheRedialAfterAForcedHangUpWaitsForTheLinkToCloseAndSucceeds) {
    RasctlOk(std::string("up ") + kEntry + " --address 10.1.1.1");
    RasctlOk("dial address 10.3.3.3");
    RasctlOk("hangup delay 1000");
    // An interval of 0 minutes makes the forced redial due in the first cycle.
    StartMonitoring(true, "0");
    ASSERT_TRUE(message_pump::PumpUntil([] { return LogFrom("开始重播").size() >= 3; }, 30000));
    const std::vector<std::string> log = LogFrom("开始重播");
    EXPECT_EQ(std::vector(log.begin(), log.begin() + 3),
              (std::vector<std::string>{"开始重播", "开始拨号", "拨号成功，当前IP：10.3.3.3"}));
    EXPECT_EQ(RasctlOk("state").find("address=10.1.1.1"), std::string::npos);
}
