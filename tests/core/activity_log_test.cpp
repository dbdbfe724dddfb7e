#include "core/activity_log.h"

#include <gtest/gtest.h>

#include <atomic>
#include <regex>
#include <set>
#include <thread>

#include "tests/core/main_window_fixture.h"
#include "tests/support/message_pump.h"
#include "tests/support/row_substitute.h"
#include "ui/controls.h"
#include "ui/gui.h"

namespace {

constexpr std::size_t kGetLocalTimeRow = 1;

struct FakeClock {
    static inline SYSTEMTIME now = {};
    static void WINAPI GetLocalTime(SYSTEMTIME* time) { *time = now; }
};

HWND LogList() {
    HWND group = GetDlgItem(gui::Handle(ui::WindowKind::Main), ui::main_window::分组框1.id);
    HWND list = GetDlgItem(group, ui::main_window::列表框1.id);
    return list ? list : GetDlgItem(gui::Handle(ui::WindowKind::Main), ui::main_window::列表框1.id);
}

std::vector<std::string> Lines() {
    HWND list = LogList();
    std::vector<std::string> lines;
    for (LRESULT index = 0, count = SendMessageA(list, LB_GETCOUNT, 0, 0); index < count; ++index) {
        std::string line(SendMessageA(list, LB_GETTEXTLEN, index, 0), '\0');
        SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(line.data()));
        lines.push_back(line);
    }
    return lines;
}

LRESULT Selection() {
    return SendMessageA(LogList(), LB_GETCURSEL, 0, 0);
}

using ActivityLogTest = MainWindowFixture;

}  // namespace

TEST(LogTime, IsPaddedHoursMinutesSecondsAndMilliseconds) {
    RowSubstitute<decltype(FakeClock::GetLocalTime)> clock(kGetLocalTimeRow, FakeClock::GetLocalTime);
    FakeClock::now = {2026, 1, 0, 1, 0, 0, 0, 0};
    EXPECT_EQ(FormatLogTime(), "00:00:00 000");
    FakeClock::now = {2026, 1, 0, 1, 23, 59, 59, 999};
    EXPECT_EQ(FormatLogTime(), "23:59:59 999");
    FakeClock::now = {2026, 1, 0, 1, 9, 7, 5, 40};
    EXPECT_EQ(FormatLogTime(), "09:07:05 040");
}

TEST_F(ActivityLogTest, ALineIsTheTimeATabAndTheMessageAndBecomesTheSelection) {
    RowSubstitute<decltype(FakeClock::GetLocalTime)> clock(kGetLocalTimeRow, FakeClock::GetLocalTime);
    FakeClock::now = {2026, 12, 0, 8, 8, 5, 3, 7};
    AppendLog("软件启动成功");
    AppendLog("");
    FakeClock::now = {2026, 12, 0, 9, 0, 0, 0, 0};
    AppendLog("次日");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"—— 2026-12-08 ——", "08:05:03 007\t软件启动成功", "08:05:03 007\t", "—— 2026-12-09 ——", "00:00:00 000\t次日"}));
    EXPECT_EQ(Selection(), 4);
}

TEST_F(ActivityLogTest, LinesFromTwoThreadsAtOnceAllArriveWholeAndTheNewestIsSelected) {
    constexpr int kLinesPerThread = 200;
    std::atomic<int> finished{0};
    auto writer = [&finished](const char* name) {
        for (int line = 0; line < kLinesPerThread; ++line)
            AppendLog(std::string(name) + "的第" + std::to_string(line) + "行");
        ++finished;
    };
    std::thread first(writer, "甲"), second(writer, "乙");
    ASSERT_TRUE(message_pump::PumpUntil([&finished] { return finished == 2; }, 10000));
    first.join();
    second.join();

    std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 2u * kLinesPerThread + 1);
    EXPECT_TRUE(lines.front().starts_with("—— ")) << "the date first";
    lines.erase(lines.begin());
    const std::regex whole("\\d\\d:\\d\\d:\\d\\d \\d{3}\t(甲|乙)的第\\d+行");
    std::set<std::string> messages;
    for (const std::string& line : lines) {
        EXPECT_TRUE(std::regex_match(line, whole)) << line;
        messages.insert(line.substr(line.find('\t') + 1));
    }
    EXPECT_EQ(messages.size(), lines.size());
    EXPECT_EQ(Selection(), static_cast<LRESULT>(lines.size()));  // the last line, after the date
}
