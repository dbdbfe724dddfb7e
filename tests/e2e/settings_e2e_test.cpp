// kdset.ini as the user meets it: what the Main window shows for a given file, and what a
// click on an option writes.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/support/pordex_driver.h"

namespace {

using namespace ui::main_window;
using e2e::PordexRun;

struct Options {
    bool neverDrop, periodicRedial, autoMonitor, minimizeAfterMonitor;
    std::string interval;
    bool intervalEnabled;
};

Options Shown(const PordexRun& run) {
    return {run.IsChecked(选择框1), run.IsChecked(选择框2), run.IsChecked(选择框4),
            run.IsChecked(选择框5), run.Text(编辑框3),      run.IsEnabled(编辑框3)};
}

void ExpectOptions(const PordexRun& run, const Options& expected) {
    Options shown = Shown(run);
    EXPECT_EQ(shown.neverDrop, expected.neverDrop);
    EXPECT_EQ(shown.periodicRedial, expected.periodicRedial);
    EXPECT_EQ(shown.autoMonitor, expected.autoMonitor);
    EXPECT_EQ(shown.minimizeAfterMonitor, expected.minimizeAfterMonitor);
    EXPECT_EQ(shown.interval, expected.interval);
    EXPECT_EQ(shown.intervalEnabled, expected.intervalEnabled);
}

}  // namespace

TEST(SettingsFile, WithoutAFileTheDefaultsShowAndNothingIsWritten) {
    PordexRun run;
    ASSERT_TRUE(run.Start());
    ExpectOptions(run, {true, false, false, false, "5", true});
    EXPECT_EQ(run.Text(编辑框1), "");
    EXPECT_EQ(run.Text(编辑框2), "");
    EXPECT_FALSE(run.SettingsFileExists());
}

TEST(SettingsFile, OnlyAnExactNoClearsNeverDrop) {
    // The profile functions trim blanks around a value unless it is quoted.
    for (const char* value : {"", "是", "\"否 \"", "no"}) {
        PordexRun run(std::string("[设置]\r\n永不掉线=") + value + "\r\n");
        ASSERT_TRUE(run.Start());
        EXPECT_TRUE(run.IsChecked(选择框1)) << value;
    }
    PordexRun run("[设置]\r\n永不掉线=否\r\n");
    ASSERT_TRUE(run.Start());
    EXPECT_FALSE(run.IsChecked(选择框1));
}

TEST(SettingsFile, OnlyAnExactYesChecksTheOtherOptions) {
    {
        // One copy at a time: a second one would be refused.
        PordexRun yes("[设置]\r\n自动监控=是\r\n最小化=是\r\n自动重播=是\r\n重播间隔=30\r\n");
        ASSERT_TRUE(yes.Start());
        ExpectOptions(yes, {true, true, true, true, "30", false});
    }

    PordexRun blank("[设置]\r\n自动监控=\"是 \"\r\n最小化=Yes\r\n自动重播=是是\r\n重播间隔=\r\n");
    ASSERT_TRUE(blank.Start());
    ExpectOptions(blank, {true, false, false, false, "5", true});
}

TEST(SettingsFile, PeriodicRedialWithoutAnIntervalKeepsFiveAndLocksIt) {
    PordexRun run("[设置]\r\n自动重播=是\r\n");
    ASSERT_TRUE(run.Start());
    ExpectOptions(run, {true, true, false, false, "5", false});
}

TEST(SettingsFile, TheFirstClickCreatesTheFileWithOnlyThatKey) {
    PordexRun run;
    ASSERT_TRUE(run.Start());
    run.Click(选择框4);
    EXPECT_EQ(run.SettingsFile(), "[设置]\r\n自动监控=是\r\n");
    run.Click(选择框4);
    EXPECT_EQ(run.SettingsFile(), "[设置]\r\n自动监控=否\r\n");
}

TEST(SettingsFile, EachOptionIsWrittenUnderItsOwnKey) {
    PordexRun run;
    ASSERT_TRUE(run.Start());
    run.Click(选择框1);
    run.Click(选择框5);
    EXPECT_EQ(run.SettingsFile(), "[设置]\r\n永不掉线=否\r\n最小化=是\r\n");
}

TEST(SettingsFile, PeriodicRedialWritesItsStateBeforeTheIntervalAndLocksTheInterval) {
    PordexRun run;
    ASSERT_TRUE(run.Start());
    run.Click(选择框2);
    EXPECT_EQ(run.SettingsFile(), "[设置]\r\n自动重播=是\r\n重播间隔=5\r\n");
    EXPECT_FALSE(run.IsEnabled(编辑框3));
}

TEST(SettingsFile, ClearingPeriodicRedialStillWritesTheIntervalAndUnlocksIt) {
    PordexRun run("[设置]\r\n自动重播=是\r\n");
    ASSERT_TRUE(run.Start());
    run.Click(选择框2);
    EXPECT_EQ(run.SettingsFile(), "[设置]\r\n自动重播=否\r\n重播间隔=5\r\n");
    EXPECT_TRUE(run.IsEnabled(编辑框3));
}

TEST(MainWindowAtStart, IsFoldedAndShowsTheOfflineState) {
    PordexRun run;
    ASSERT_TRUE(run.Start());
    RECT rect = run.WindowRect();
    EXPECT_EQ(rect.right - rect.left, 356);
    EXPECT_EQ(rect.bottom - rect.top, 264);
    EXPECT_EQ(run.StatusPane(0), "宽带账号：未开始监控");
    EXPECT_EQ(run.StatusPane(1), "当前状态：离线");
    EXPECT_TRUE(run.LogLines().empty());
    EXPECT_TRUE(run.HasTrayIcon());
}
