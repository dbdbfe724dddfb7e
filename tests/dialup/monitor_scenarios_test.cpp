// The monitor, the manual hang-up and the dial sequence in virtual time against the real Main
// window: one table of scenarios, one driver.
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/settings.h"
#include "core/status_display.h"
#include "dialup/dial.h"
#include "dialup/hang_up.h"
#include "dialup/monitor.h"
#include "tests/core/main_window_fixture.h"
#include "tests/dialup/virtual_service.h"
#include "tests/support/log_reading.h"
#include "tests/support/message_pump.h"
#include "ui/controls.h"
#include "ui/gui.h"

namespace {

using namespace ui::main_window;
namespace vs = virtual_service;

constexpr const char* kEntry = "PPPoE";
constexpr const char16_t* kLink = u"PPPoE";
constexpr std::uint64_t kMinute = 60000;
constexpr std::uint64_t kHour = 60 * kMinute;

struct Options {
    bool neverDrop = true;
    bool periodic = false;
    const char* interval = "5";
    const char* pause = "2";
};

struct Scenario {
    const char* name;
    Options options;
    vs::Behaviour behaviour;
    std::vector<std::u16string> connectedAtStart;  // entry names, in listing order
    std::vector<vs::Scheduled> script;          // the last step quits
    std::vector<std::string> log;               // messages, without their time
    std::vector<std::string> journal;
    bool onlineAtEnd;
    std::optional<int> enumerations = {};  // the set-up's address lookup included
};

void PrintTo(const Scenario& scenario, std::ostream* out) {
    *out << scenario.name;
}

vs::Scheduled Drop(std::uint64_t at, const char16_t* name = kLink) {
    return {at, [name] { vs::Drop(name); }};
}
// The log as it stood when the user quit; nothing may be added after that.
std::vector<std::string> gLogAtQuit;

vs::Scheduled Quit(std::uint64_t at) {
    return {at, [] {
                gui::Invoke([] { gLogAtQuit = log_reading::LogMessages(); });
                vs::MarkQuit();
                gui::Close(ui::WindowKind::Main);
            }};
}
vs::Scheduled HangUpByHand(std::uint64_t at) {
    return {at, [] { ManualHangUp(); }};
}
vs::Scheduled ShiftClock(std::uint64_t at, std::int64_t by) {
    return {at, [by] { vs::ShiftWallClock(by); }};
}

const vs::Behaviour kDefault{};
const vs::Behaviour kDialsFail{.failingDials = 1000};
const Options kForced{.periodic = true};
const Options kForcedOnly{.neverDrop = false, .periodic = true};
const Options kForcedNoPause{.periodic = true, .pause = "0"};
const vs::Behaviour kSlowClose{.hangUpCloseMs = 300};

const Scenario kScenarios[] = {
    {"IdleCyclesAskForNoAddressAndQuitDuringTheCyclePause", {}, kDefault, {kLink}, {Quit(30500)},
     {"当前IP：10.0.0.1"}, {"0 adapters"}, true},
    // The dropped link's handle is hung up once the redial has ended.
    {"DropWithNeverDropIsRedialledAtOnce", {}, kDefault, {kLink}, {Drop(2500), Quit(6000)},
     {"当前IP：10.0.0.1", "开始拨号", "拨号成功，当前IP：10.0.0.2"},
     {"0 adapters", "2500 dial", "2800 adapters", "2800 hangup 0x10"}, true},
    {"RefusedRegistrationRedialsADropInTheNextCycle", {}, {.notificationRefusal = 5}, {kLink},
     {Drop(2500), Quit(6000)}, {"当前IP：10.0.0.1", "开始拨号", "拨号成功，当前IP：10.0.0.2"},
     {"0 adapters", "3000 dial", "3300 adapters", "3300 hangup 0x10"}, true},
    {"AnotherLinksEndCostsOneEnumerationAndNoDial", {}, kDefault, {kLink, u"Other"},
     {Drop(2500, u"Other"), Quit(2900)}, {"当前IP：10.0.0.1"}, {"0 adapters"}, true, 5},
    {"QuitThenADropDuringTheWaitEndsTheThreadWithoutADial", {}, kDefault, {kLink}, {Quit(2500), Drop(2500)},
     {"当前IP：10.0.0.1"}, {"0 adapters"}, true, 4},
    {"DropWithoutNeverDropOnlyGoesOffline", {.neverDrop = false}, kDefault, {kLink}, {Drop(2500), Quit(6000)},
     {"当前IP：10.0.0.1"}, {"0 adapters"}, false},
    {"NotConnectedAtStartDialsInTheFirstCycle", {}, kDefault, {}, {Quit(1500)},
     {"当前IP：", "开始拨号", "拨号成功，当前IP：10.0.0.1"}, {"0 dial", "300 adapters"}, true},
    {"ALinkWhoseNameGbkLacksIsNotTheEntry", {}, kDefault, {u"宽带😀"}, {Quit(1500)},
     {"当前IP：", "开始拨号", "拨号成功，当前IP：10.0.0.2"}, {"0 dial", "300 adapters"}, true},
    {"ForcedRedialInTheFirstCyclePastTheInterval", kForced, kDefault, {kLink}, {Quit(310000)},
     {"当前IP：10.0.0.1", "开始重播", "开始拨号", "拨号成功，当前IP：10.0.0.2"},
     {"0 adapters", "301000 hangup 0x10", "303000 dial", "303300 adapters"}, true},
    {"ForcedRedialIntervalRestartsAtItsSuccessfulDial", kForced, kDefault, {kLink}, {Quit(607000)},
     {"当前IP：10.0.0.1", "开始重播", "开始拨号", "拨号成功，当前IP：10.0.0.2", "开始重播", "开始拨号",
      "拨号成功，当前IP：10.0.0.3"},
     {"0 adapters", "301000 hangup 0x10", "303000 dial", "303300 adapters", "604300 hangup 0x20", "606300 dial",
      "606600 adapters"},
     true},
    {"FailedForcedRedialPausesSixSecondsThenDialsWithoutHangingUp", kForcedOnly, kDialsFail, {kLink},
     {Quit(320000)},
     {"当前IP：10.0.0.1", "开始重播", "开始拨号", "拨号失败", "错误代码 691：文本691", "开始拨号"},
     {"0 adapters", "301000 hangup 0x10", "303000 dial", "313000 hangup 0x20", "319000 dial", "320000 hangup 0x30"},
     false},
    {"FailedRedialAfterADropIsRetriedAtOnceAndQuitEndsThePoll", {}, kDialsFail, {kLink}, {Drop(2500), Quit(14000)},
     {"当前IP：10.0.0.1", "开始拨号", "拨号失败", "错误代码 691：文本691", "开始拨号"},
     {"0 adapters", "2500 dial", "12500 hangup 0x20", "12500 hangup 0x10", "12500 dial", "14000 hangup 0x30"},
     false},
    // Every link dialled or found dropped has closed (its port free) before the next dial.
    {"ThreeRejectedRedialsSayWhyAndEachDialWaitsForTheLinksBeforeIt", {}, {.failingDials = 3, .hangUpCloseMs = 300}, {kLink}, {Drop(2500), Quit(35000)},
     {"当前IP：10.0.0.1", "开始拨号", "拨号失败", "错误代码 691：文本691", "开始拨号", "拨号失败", "错误代码 691：文本691", "开始拨号", "拨号失败", "错误代码 691：文本691", "开始拨号", "拨号成功，当前IP：10.0.0.5"},
     {"0 adapters", "2500 dial", "12500 hangup 0x20", "12800 hangup 0x10", "13100 dial", "23100 hangup 0x30", "23400 dial", "33400 hangup 0x40", "33700 dial", "34000 adapters"}, true},
    {"ADialRefusedAtOnceIsNotHungUp", {}, {.dialRefusal = 623}, {}, {Quit(20500)},
     {"当前IP：", "开始拨号", "拨号失败", "错误代码 623：文本623", "开始拨号", "拨号失败", "错误代码 623：文本623", "开始拨号"}, {"0-20000 dial x3"}, false},
    {"ADialThatNeverConnectsEndsWithoutACode", {}, {.dialMs = 60000}, {}, {Quit(10500)}, {"当前IP：", "开始拨号", "拨号失败", "错误代码 0：拨号超时", "开始拨号"},
     {"0 dial", "10000 hangup 0x10", "10000 dial", "10500 hangup 0x20"}, false},
    {"AManualDialPutsNeverDropBackAfterAManualHangUp", {}, kDefault, {kLink}, {HangUpByHand(2500), {4000, [] { ManualDial(); }}, Drop(6000), Quit(7000)},
     {"当前IP：10.0.0.1", "手动操作：开始断线", "手动操作：断线完成", "手动操作：开始拨号", "手动操作：拨号成功，当前IP：10.0.0.2", "开始拨号", "拨号成功，当前IP：10.0.0.3"},
     {"0 adapters", "2500 hangup 0x10", "4000 dial", "4300 adapters", "6000 dial", "6300 adapters", "6300 hangup 0x20"}, true},
    {"ManualHangUpTakesTheLastLinkOfTheNameAndStopsRedials", {}, kDefault, {kLink, u"Other", kLink},
     {HangUpByHand(2500), Drop(3500), Quit(6000)},
     {"当前IP：10.0.0.3", "手动操作：开始断线", "手动操作：断线完成"},
     {"0 adapters", "2500 hangup 0x30", "2500 adapters"}, false},
    // A hung-up link stays listed, with its adapter, until its handle has gone.
    {"ManualHangUpDecidesOnceTheHandleHasGone", {}, kSlowClose, {kLink}, {HangUpByHand(2500), Quit(2900)},
     {"当前IP：10.0.0.1", "手动操作：开始断线", "手动操作：断线完成"}, {"0 adapters", "2500 hangup 0x10"}, false},
    {"ForcedRedialDialsOnceTheHandleHasGone", kForcedNoPause, kSlowClose, {kLink}, {Quit(303000)},
     {"当前IP：10.0.0.1", "开始重播", "开始拨号", "拨号成功，当前IP：10.0.0.2"},
     {"0 adapters", "301000 hangup 0x10", "301300 dial", "301600 adapters"}, true},
    {"AHandleThatNeverGoesIsWaitedForThreeSeconds", kForcedNoPause, {.hangUpCloseMs = 60000}, {kLink},
     {Quit(305000)}, {"当前IP：10.0.0.1", "开始重播", "开始拨号"},
     {"0 adapters", "301000 hangup 0x10", "304050 adapters", "304050 dial"}, true},
    {"ForcedRedialHangsUpTheLastLinkOfTheName", kForced, kDefault, {kLink, kLink}, {Quit(303500)},
     {"当前IP：10.0.0.2", "开始重播", "开始拨号", "拨号成功，当前IP：10.0.0.1"},
     {"0 adapters", "301000 hangup 0x20", "301000 adapters", "303000 dial", "303100 adapters"}, true},
    {"HangUpAnswering668CountsAsDoneAtOnce", kForced, {.hangUpAnswers668 = true}, {kLink}, {Quit(305000)},
     {"当前IP：10.0.0.1", "开始重播", "开始拨号", "拨号成功，当前IP：10.0.0.2"},
     {"0 adapters", "301000 hangup 0x10", "303000 dial", "303300 adapters"}, true},
    {"HangUpRefusedFor20SecondsIsGivenUpJustAfter15", kForced, {.hangUpRefusedUntil = 321000}, {kLink},
     {Quit(319000)},
     {"当前IP：10.0.0.1", "开始重播", "开始拨号", "拨号成功，当前IP：10.0.0.1"},
     {"0 adapters", "301000-316000 hangup 0x10 x151", "316100 adapters", "318100 dial", "318200 adapters"}, true},
    {"QuitDuringHangUpRetriesEndsThem", kForced, {.hangUpRefusedUntil = 321000}, {kLink}, {Quit(305050)},
     {"当前IP：10.0.0.1", "开始重播"}, {"0 adapters", "301000-305000 hangup 0x10 x41"}, true},
    {"QuitDuringThePauseBeforeTheForcedDial", kForced, kDefault, {kLink}, {Quit(302000)},
     {"当前IP：10.0.0.1", "开始重播"}, {"0 adapters", "301000 hangup 0x10"}, false},
    {"QuitDuringThePauseAfterAFailedForcedRedial", kForcedOnly, kDialsFail, {kLink}, {Quit(315000)},
     {"当前IP：10.0.0.1", "开始重播", "开始拨号", "拨号失败", "错误代码 691：文本691"},
     {"0 adapters", "301000 hangup 0x10", "303000 dial", "313000 hangup 0x20"}, false},
    {"WallClockSetBackAnHourDoesNotDelayTheForcedRedial", kForced, kDefault, {kLink},
     {ShiftClock(100000, -static_cast<std::int64_t>(kHour)), Quit(302000)},
     {"当前IP：10.0.0.1", "开始重播"}, {"0 adapters", "301000 hangup 0x10"}, false},
    {"WallClockSetForwardAnHourDoesNotBringItForward", kForced, kDefault, {kLink},
     {ShiftClock(100000, kHour), Quit(302000)},
     {"当前IP：10.0.0.1", "开始重播"}, {"0 adapters", "301000 hangup 0x10"}, false},
};

class MonitorScenarioTest : public MainWindowFixture, public testing::WithParamInterface<Scenario> {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        const Options& options = GetParam().options;
        gui::SetChecked(选择框1, options.neverDrop);
        gui::SetChecked(选择框2, options.periodic);
        gui::SetText(编辑框3, options.interval);
        gui::SetText(编辑框4, options.pause);
        ReplaceAccount({kEntry, "user@isp", "secret"});
        OnlineFlag = 0;
    }
};

}  // namespace

TEST_P(MonitorScenarioTest, Runs) {
    const Scenario& scenario = GetParam();
    vs::Installation service(scenario.behaviour, scenario.script);
    for (const std::u16string& name : scenario.connectedAtStart)
        vs::Connect(name);

    std::atomic<bool> ended{false};
    std::thread monitor([&ended] {
        MonitorLoop();
        ended = true;
    });
    ASSERT_TRUE(message_pump::PumpUntil([&ended] { return ended.load(); }, 60000));
    monitor.join();

    EXPECT_EQ(gLogAtQuit, scenario.log);
    EXPECT_EQ(vs::Journal(), scenario.journal);
    EXPECT_EQ(vs::CallsAfterQuit(), 0);
    EXPECT_EQ(OnlineFlag.load(), scenario.onlineAtEnd ? 1 : 0);
    EXPECT_EQ(vs::Enumerations(), scenario.enumerations.value_or(vs::Enumerations()));
}

INSTANTIATE_TEST_SUITE_P(Scenarios, MonitorScenarioTest, testing::ValuesIn(kScenarios),
                         [](const auto& info) { return std::string(info.param.name); });
