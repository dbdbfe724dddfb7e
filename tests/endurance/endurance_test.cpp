// What real lines and real PCs do to the running program: the real Pordex.exe against the
// simulated dial-up service, one scenario a case. PORDEX_SOAK=1 (scripts/soak.sh) runs the long
// versions of the scenarios that have one.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/pordex_driver.h"
#include "tests/support/process_footprint.h"
#include "tests/support/rasctl_client.h"

namespace {

using namespace ui::main_window;
using e2e::PordexRun;
using e2e::WaitUntil;
using rasctl_client::RasctlOk;
using ui::TrayMenuItem;

constexpr const char* kEntry = "宽带连接";
constexpr const char* kAccount = "[账号]\r\n宽带账号=user@isp\r\n宽带密码=secret\r\n连接名称=宽带连接\r\n";
constexpr const char* kMonitoring = "[设置]\r\n自动监控=是\r\n";
constexpr DWORD kDialWaitMs = 40000;

bool Soaking() {
    char value[8] = {};
    return GetEnvironmentVariableA("PORDEX_SOAK", value, sizeof value) && std::string(value) == "1";
}

// The Activity log read from where the last read stopped, so that a soak of thousands of lines
// costs no more per wait than a short run.
class LogCursor {
public:
    explicit LogCursor(const PordexRun& run) : run_(run) {}

    // Waits for a new line whose message starts with `prefix`; the lines passed on the way are kept.
    bool WaitFor(const std::string& prefix, DWORD timeoutMs = kDialWaitMs) {
        return WaitUntil([&] { return ReadNew(prefix); }, timeoutMs);
    }
    // Lets the program go on for `milliseconds`, then reads every line logged so far.
    void CatchUpAfter(DWORD milliseconds) {
        Sleep(milliseconds);
        while (ReadNew("")) {
        }
    }
    // Every message read so far, in order.
    const std::vector<std::string>& Seen() const { return seen_; }
    // The last lines read, one a line, for a failure message.
    std::string Recent(std::size_t lines = 12) const {
        std::string text;
        for (std::size_t i = seen_.size() - std::min(lines, seen_.size()); i < seen_.size(); ++i)
            text += seen_[i] + "\n";
        return text;
    }
    std::size_t Count(const std::string& prefix) const {
        return static_cast<std::size_t>(
            std::ranges::count_if(seen_, [&](const std::string& message) { return message.starts_with(prefix); }));
    }

private:
    bool ReadNew(const std::string& prefix) {
        const HWND list = run_.Control(列表框1);
        const auto count = static_cast<std::size_t>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (; read_ < count; ++read_) {
            std::wstring line(SendMessageW(list, LB_GETTEXTLEN, read_, 0) + 1, L'\0');
            SendMessageW(list, LB_GETTEXT, read_, reinterpret_cast<LPARAM>(line.data()));
            char bytes[1024] = {};
            WideCharToMultiByte(936, 0, line.c_str(), -1, bytes, sizeof bytes - 1, nullptr, nullptr);
            const std::string text(bytes);
            seen_.push_back(text.substr(text.find('\t') + 1));
            if (seen_.back().starts_with(prefix)) {
                ++read_;
                return true;
            }
        }
        return false;
    }

    const PordexRun& run_;
    std::size_t read_ = 0;
    std::vector<std::string> seen_;
};

// What the program holds: kernel handles and private memory.
struct Footprint {
    std::size_t handles, privateBytes;
};

Footprint Measure(HWND mainWindow) {
    DWORD processId = 0;
    GetWindowThreadProcessId(mainWindow, &processId);
    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_DUP_HANDLE, FALSE, processId);
    const Footprint footprint = {process_footprint::KernelHandles(process), process_footprint::PrivateBytes(process)};
    CloseHandle(process);
    return footprint;
}

bool Responds(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
}

struct Scenario {
    const char* name;
    std::string settings;  // kdset.ini, GBK
    std::vector<std::string> before;  // rasctl commands before the start
    std::function<void(PordexRun&, LogCursor&)> exercise;
};

// Names the case in test listings instead of its bytes.
void PrintTo(const Scenario& scenario, std::ostream* out) {
    *out << scenario.name;
}

// The monitor's answer to a dropped link: a new dial that ends connected.
void ExpectRedialAfterDrop(LogCursor& log) {
    RasctlOk(std::string("drop ") + kEntry);
    ASSERT_TRUE(log.WaitFor("开始拨号")) << log.Recent();
    ASSERT_TRUE(log.WaitFor("拨号成功")) << log.Recent() << rasctl_client::RasctlOk("state");
}

void Flapping(PordexRun& run, LogCursor& log) {
    const int cycles = Soaking() ? 1000 : 30;
    ASSERT_TRUE(log.WaitFor("拨号成功"));
    // Settled after a few cycles; what grows after that is a leak.
    Footprint settled = {};
    for (int cycle = 0; cycle < cycles; ++cycle) {
        Sleep(2000);
        ASSERT_NO_FATAL_FAILURE(ExpectRedialAfterDrop(log)) << "drop " << cycle + 1 << " of " << cycles;
        if (cycle == 4)
            settled = Measure(run.MainWindow());
    }
    const Footprint last = Measure(run.MainWindow());
    log.CatchUpAfter(1500);
    EXPECT_EQ(log.Count("开始拨号"), static_cast<std::size_t>(cycles) + 1);
    EXPECT_EQ(log.Count("拨号失败"), 0u);
    EXPECT_TRUE(log.Seen().back().starts_with("拨号成功"));
    // Every dropped link was hung up; the service holds the live one only.
    EXPECT_EQ(rasctl_client::StateLines("connection").size(), 1u);
    EXPECT_GT(settled.handles, 0u);
    EXPECT_LE(last.handles, settled.handles + 10);
    EXPECT_LE(last.privateBytes, settled.privateBytes + 2 * 1024 * 1024);
}

void RejectedThenFixed(PordexRun& run, LogCursor& log) {
    const DWORD rejectedMs = Soaking() ? 5 * 60 * 1000 : 20000;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < rejectedMs)
        ASSERT_TRUE(log.WaitFor("拨号失败"));
    EXPECT_GE(log.Count("拨号失败"), 2u);
    EXPECT_EQ(log.Count("拨号成功"), 0u);
    RasctlOk("account add user@isp secret");
    ASSERT_TRUE(log.WaitFor("拨号成功"));
    EXPECT_TRUE(WaitUntil([&] { return run.StatusPane(1) == "当前状态：在线"; }));
}

void HangUpRefused(PordexRun& run, LogCursor& log) {
    ASSERT_TRUE(log.WaitFor("拨号成功"));
    // About 20 s of refusals at one request every 100 ms.
    RasctlOk("hangup fail 200 5");
    run.Choose(TrayMenuItem::断线);
    ASSERT_TRUE(log.WaitFor("手动操作：开始断线"));
    ASSERT_TRUE(log.WaitFor("手动操作：断线完成", 25000));
    // The link outlived every request, so the display keeps it online and no dial follows.
    log.CatchUpAfter(1500);
    EXPECT_EQ(run.StatusPane(1), "当前状态：在线");
    EXPECT_FALSE(run.IsChecked(选择框1));
    EXPECT_EQ(rasctl_client::StateLines("connection").size(), 1u);
    EXPECT_EQ(log.Count("开始拨号"), 1u);
}

void EnumerationFailing(PordexRun& run, LogCursor& log) {
    ASSERT_TRUE(log.WaitFor("拨号成功"));
    RasctlOk("enum fail 10 5");
    // A failed enumeration reads as a missing link; dialing the connected entry finds it up.
    ASSERT_TRUE(WaitUntil([] { return rasctl_client::StateLines("enum-fail").empty(); }, 20000));
    log.CatchUpAfter(2500);
    EXPECT_GE(log.Count("开始拨号"), 2u);
    EXPECT_EQ(log.Count("拨号失败"), 0u);
    EXPECT_TRUE(log.Seen().back().starts_with("拨号成功")) << log.Seen().back();
    EXPECT_EQ(run.StatusPane(1), "当前状态：在线");
    EXPECT_EQ(rasctl_client::StateLines("connection").size(), 1u);
}

// A dial that fails once: reported as failed, never as a success, and the next one succeeds.
void FailedRedial(const std::string& fault, LogCursor& log) {
    ASSERT_TRUE(log.WaitFor("拨号成功"));
    RasctlOk(fault);
    ASSERT_NO_FATAL_FAILURE(ExpectRedialAfterDrop(log));
    const std::vector<std::string>& seen = log.Seen();
    const auto failed = std::ranges::find_if(seen, [](const std::string& m) { return m.starts_with("拨号失败"); });
    ASSERT_NE(failed, seen.end());
    EXPECT_EQ(std::count_if(seen.begin(), failed, [](const std::string& m) { return m.starts_with("拨号成功"); }), 1);
    EXPECT_EQ(log.Count("拨号失败"), 1u);
}

void TooManyConnections(PordexRun& run, LogCursor& log) {
    ASSERT_TRUE(log.WaitFor("拨号成功"));
    RasctlOk("up 其他 --phonebook C:\\other.pbk --count 300");
    // The enumeration overflows its buffer and fails, which reads as a missing link: the monitor
    // dials its entry, which is up, so each such dial succeeds.
    ASSERT_TRUE(log.WaitFor("开始拨号", 10000));
    ASSERT_TRUE(log.WaitFor("拨号成功"));
    ASSERT_TRUE(log.WaitFor("开始拨号", 10000));
    RasctlOk("drop 其他");
    // Once the list fits again the monitor finds its link and stops dialing.
    log.CatchUpAfter(2500);
    const std::size_t dials = log.Count("开始拨号");
    EXPECT_FALSE(log.WaitFor("开始拨号", 3000));
    EXPECT_EQ(log.Count("开始拨号"), dials);
    EXPECT_EQ(log.Count("拨号失败"), 0u);
    EXPECT_EQ(run.StatusPane(1), "当前状态：在线");
}

// Settings around one unreadable part: the readable keys after it must still count.
std::string AroundNoise(const std::string& noise) {
    return noise + "\r\n[设置]\r\n自动重播=是\r\n重播间隔=7\r\n";
}

// Every key the profile functions can read from a settings file, with its value.
std::string ReadableSettings(const std::string& path) {
    std::vector<char> sections(4 * 1024 * 1024), keys(64 * 1024);
    GetPrivateProfileSectionNamesA(sections.data(), static_cast<DWORD>(sections.size()), path.c_str());
    std::string readable;
    for (const char* section = sections.data(); *section; section += std::strlen(section) + 1) {
        GetPrivateProfileSectionA(section, keys.data(), static_cast<DWORD>(keys.size()), path.c_str());
        for (const char* pair = keys.data(); *pair; pair += std::strlen(pair) + 1)
            readable.append("[").append(section).append("]").append(pair).append("\n");
    }
    return readable;
}

void ReadableSettingsKept(PordexRun& run, LogCursor&) {
    EXPECT_TRUE(run.IsChecked(选择框2));
    EXPECT_EQ(run.Text(编辑框3), "7");
    const std::string path = run.Folder() + "\\kdset.ini";
    const std::string before = ReadableSettings(path);
    run.Click(选择框5);
    EXPECT_EQ(ReadableSettings(path), before + "[设置]最小化=是\n");
}

std::string Garbage(std::size_t size) {
    std::string bytes(size, '\0');
    unsigned seed = 12345;
    for (char& byte : bytes) {
        seed = seed * 1103515245 + 12345;
        byte = static_cast<char>(seed >> 16);
    }
    return bytes;
}

std::string LargeFile() {
    std::string filler;
    for (int line = 0; filler.size() < 1024 * 1024; ++line)
        filler += "[填充" + std::to_string(line) + "]\r\n键=" + std::string(60, 'x') + "\r\n";
    return filler;
}

// A click whose write cannot reach the settings file: the user is told the first time of a run.
void ClickUnsaved(PordexRun& run, bool first) {
    run.Press(选择框5);
    const auto box = run.WaitForMessageBox(first ? 10000 : 1000);
    ASSERT_EQ(box.has_value(), first);
    if (first) {
        EXPECT_EQ(box->text, "设置保存失败：" + run.Folder() + "\\kdset.ini");
        run.Answer(*box, IDOK);
    }
}

// Another program holds the settings file open without sharing: no write can reach it.
void SettingsFileLocked(PordexRun& run, LogCursor&) {
    const std::string path = run.Folder() + "\\kdset.ini";
    const std::string before = run.SettingsFile();
    const HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    for (const bool first : {true, false})
        ClickUnsaved(run, first);
    EXPECT_FALSE(run.IsChecked(选择框5));
    CloseHandle(held);
    EXPECT_EQ(run.SettingsFile(), before);
}

// The folder the program runs from disappears (a drive or share gone). Windows forbids moving
// it while the program runs, so the host's own mv takes it away.
void ProgramFolderGone(PordexRun& run, LogCursor&) {
    using UnixName = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    ASSERT_NE(unixName, nullptr);
    const std::string programFolder = run.Folder();
    const std::wstring folder(programFolder.begin(), programFolder.end());
    char* hostFolder = unixName(folder.c_str());
    const std::string host(hostFolder);
    HeapFree(GetProcessHeap(), 0, hostFolder);
    const auto move = [](const std::string& from, const std::string& to) {
        return rasctl_client::RunProgram("Z:\\bin\\mv " + from + " " + to).exitCode;
    };
    ASSERT_EQ(move(host, host + "-gone"), 0u);
    ClickUnsaved(run, true);
    EXPECT_TRUE(run.IsChecked(选择框5));
    EXPECT_TRUE(Responds(run.MainWindow()));
    EXPECT_FALSE(run.SettingsFileExists());
    EXPECT_EQ(move(host + "-gone", host), 0u);
}

// A saved entry name the phonebook cannot hold: every dial fails, none is reported as a success.
void UnusableEntryName(PordexRun& run, LogCursor& log) {
    ASSERT_TRUE(log.WaitFor("拨号失败"));
    EXPECT_EQ(log.Count("拨号成功"), 0u);
    EXPECT_TRUE(Responds(run.MainWindow()));
}

void OtherLinkListedOutsideGbk(PordexRun& run, LogCursor& log) {
    ASSERT_TRUE(log.WaitFor("拨号成功"));
    Sleep(3000);
    EXPECT_EQ(log.Count("开始拨号"), 1u);
    EXPECT_EQ(run.StatusPane(1), "当前状态：在线");
}

// Quit while the program waits in `wait`: it must be gone within about a second, leaving no
// dial of its own under way and no link of its own still closing.
std::function<void(PordexRun&, LogCursor&)> QuitDuring(std::function<void(PordexRun&, LogCursor&)> wait) {
    return [wait](PordexRun& run, LogCursor& log) {
        wait(run, log);
        if (testing::Test::HasFatalFailure())
            return;
        DWORD exitCode = 1;
        ASSERT_TRUE(run.CloseAndWait(1500, exitCode));
        EXPECT_EQ(exitCode, 0u);
        for (const std::string& line : rasctl_client::StateLines("connection"))
            EXPECT_TRUE(line.find("link=dialing") == line.npos && line.find("link=closing") == line.npos) << line;
    };
}

std::string Settings(const std::string& account, bool monitoring) {
    return account + (monitoring ? kMonitoring : "");
}

const std::string kLongName(300, 'n');

const Scenario kScenarios[] = {
    {"Flapping", Settings(kAccount, true), {}, Flapping},
    {"RejectedPasswordThenFixed", Settings(kAccount, true), {"account remove user@isp", "account add other@isp other"},
     RejectedThenFixed},
    {"HangUpRefusedFor20s", Settings(kAccount, true), {}, HangUpRefused},
    {"EnumerationFailingFor10s", Settings(kAccount, true), {}, EnumerationFailing},
    {"DialNeverReachingAFinalState", Settings(kAccount, true), {},
     [](PordexRun&, LogCursor& log) { FailedRedial("dial time 600000", log); }},
    {"DialRefusedAtOnce", Settings(kAccount, true), {},
     [](PordexRun&, LogCursor& log) { FailedRedial("dial refuse 633", log); }},
    {"ThreeHundredActiveConnections", Settings(kAccount, true), {}, TooManyConnections},
    {"GarbageSettingsFile", AroundNoise(Garbage(4096)), {}, ReadableSettingsKept},
    {"OneMegabyteSettingsFile", AroundNoise(LargeFile()), {}, ReadableSettingsKept},
    {"TenKilobyteValues", AroundNoise("[账号]\r\n宽带账号=" + std::string(10240, 'u') + "\r\n宽带密码=" +
                                      std::string(10240, 'p') + "\r\n连接名称=" + std::string(10240, 'c')),
     {}, ReadableSettingsKept},
    {"SettingsFileLocked", AroundNoise(""), {}, SettingsFileLocked},
    {"ProgramFolderGone", AroundNoise(""), {}, ProgramFolderGone},
    {"EntryNameOf300Bytes",
     Settings("[账号]\r\n宽带账号=user@isp\r\n宽带密码=secret\r\n连接名称=" + kLongName + "\r\n", true), {},
     UnusableEntryName},
    {"OtherLinkListedOutsideGbk", Settings(kAccount, true),
     {"up 宽带连接 --phonebook C:\\other.pbk --listed-as 宽带\\uD83D\\uDE00"}, OtherLinkListedOutsideGbk},
    {"QuitWhileIdle", Settings(kAccount, true), {},
     QuitDuring([](PordexRun&, LogCursor& log) { ASSERT_TRUE(log.WaitFor("拨号成功")); })},
    {"QuitWhileADialPolls", Settings(kAccount, true), {"dial time 600000", "hangup delay 600"},
     QuitDuring([](PordexRun&, LogCursor& log) {
         ASSERT_TRUE(log.WaitFor("开始拨号"));
         Sleep(1000);
     })},
    {"QuitWhileHangUpRetries", Settings(kAccount, true), {},
     QuitDuring([](PordexRun& run, LogCursor& log) {
         ASSERT_TRUE(log.WaitFor("拨号成功"));
         RasctlOk("hangup fail 200 5");
         run.Choose(TrayMenuItem::断线);
         ASSERT_TRUE(log.WaitFor("手动操作：开始断线"));
         Sleep(2000);
     })},
    {"QuitWhileRedialPauses", Settings(kAccount, true), {},
     QuitDuring([](PordexRun& run, LogCursor& log) {
         ASSERT_TRUE(log.WaitFor("拨号成功"));
         run.Choose(TrayMenuItem::重播);
         ASSERT_TRUE(log.WaitFor("手动操作：断线完成"));
     })},
    {"QuitWhileAFailedDialIsHungUp", Settings(kAccount, true), {"dial fail 691 5", "hangup fail 200 5"},
     QuitDuring([](PordexRun&, LogCursor& log) {
         ASSERT_TRUE(log.WaitFor("拨号失败"));
         Sleep(1000);
     })},
};

class EnduranceTest : public testing::TestWithParam<Scenario> {};

TEST_P(EnduranceTest, EndsAsExpected) {
    const Scenario& scenario = GetParam();
    SetEnvironmentVariableA("RASSIM_WORLD", (std::string("endurance-") + scenario.name).c_str());
    RasctlOk("reset");
    RasctlOk("hangup delay 0");
    RasctlOk(std::string("entry add ") + kEntry);
    RasctlOk("account add user@isp secret");
    for (const std::string& command : scenario.before)
        RasctlOk(command);
    PordexRun run(scenario.settings);
    ASSERT_TRUE(run.Start());
    LogCursor log(run);
    scenario.exercise(run, log);
    if (run.MainWindow()) {
        EXPECT_TRUE(Responds(run.MainWindow()));
    }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, EnduranceTest, testing::ValuesIn(kScenarios),
                         [](const testing::TestParamInfo<Scenario>& info) { return info.param.name; });

}  // namespace
