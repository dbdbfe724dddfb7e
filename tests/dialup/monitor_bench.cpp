// How fast the monitor answers a drop, and what it costs while the link is up: the Main window
// open, the monitor started as the program starts it, the simulated service dropping the link.
// Prints one "KEY SECONDS" line per sample, and the idle CPU share; it checks nothing. With the
// argument "polled" the service refuses the monitor's disconnection notification, so that the
// one-second cycle alone finds the drops: its keys begin with "polled_" and the idle part is left out.
#include <windows.h>
#include <raserror.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/settings.h"
#include "dialup/monitor.h"
#include "tests/support/log_reading.h"
#include "tests/support/message_pump.h"
#include "tests/support/rasctl_client.h"
#include "ui/controls.h"
#include "ui/gui.h"
#include "world/shared_world.h"

namespace {

constexpr const char* kEntry = "宽带连接";
constexpr int kDrops = 50;
constexpr unsigned kIdleMs = 60000;

double Seconds() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::size_t CountLogged(const std::string& message) {
    const std::vector<std::string> log = log_reading::LogMessages();
    return static_cast<std::size_t>(std::count_if(log.begin(), log.end(),
                                                  [&message](const std::string& line) { return line.starts_with(message); }));
}

bool WaitForMore(const std::string& message, std::size_t seen, DWORD timeoutMs = 30000) {
    return message_pump::PumpUntil([&] { return CountLogged(message) > seen; }, timeoutMs);
}

// The GUI thread waits as the program's own message loop does, until a timer ends the wait.
void IdleFor(unsigned milliseconds) {
    const UINT_PTR timer = SetTimer(nullptr, 0, milliseconds, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.wParam == timer)
            break;
        gui::HandleMessage(message);
    }
    KillTimer(nullptr, timer);
}

double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& time) {
        return static_cast<double>(ULARGE_INTEGER{{time.dwLowDateTime, time.dwHighDateTime}}.QuadPart) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

bool Control(const std::string& arguments) {
    const rasctl_client::ControlRun run = rasctl_client::Rasctl(arguments);
    if (run.exitCode != 0)
        std::fprintf(stderr, "rasctl %s: %s\n", arguments.c_str(), run.output.c_str());
    return run.exitCode == 0;
}

// Drops the entry's link in the simulated service, as `rasctl drop` would, but in this process,
// so that the time taken right after is the moment of the drop, not that of a program start.
bool DropLink() {
    rassim::WorldLock world;
    rassim::Connection* connection = rassim::FindConnectionOf(*world, kEntry);
    if (!connection || !rassim::IsLive(*connection)) {
        std::fprintf(stderr, "no live link to drop\n");
        return false;
    }
    rassim::DropLink(*world, *connection, ERROR_DISCONNECTION);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const bool polled = argc == 2 && std::string(argv[1]) == "polled";
    const std::string prefix = polled ? "polled_" : "";
    SetEnvironmentVariableA("RASSIM_WORLD", "bench");
    if (!Control("reset") || !Control(std::string("entry add ") + kEntry) || !Control("account add user@isp secret"))
        return 1;
    if (polled && !Control("notify fail 1 5"))
        return 1;
    gui::Open(ui::WindowKind::Main);
    ReplaceAccount({kEntry, "user@isp", "secret"});
    gui::SetChecked(ui::main_window::选择框1, true);
    gui::SetChecked(ui::main_window::选择框2, false);
    StartMonitor();
    if (!WaitForMore("拨号成功", 0)) {
        std::fprintf(stderr, "the monitor did not dial\n");
        return 1;
    }

    for (int drop = 0; drop < kDrops; ++drop) {
        // Drops land at different moments of the monitor's one-second cycle.
        message_pump::PumpUntil([] { return false; }, 500 + 37 * drop % 1000);
        const std::size_t dials = CountLogged("开始拨号");
        const std::size_t successes = CountLogged("拨号成功");
        if (!DropLink())
            return 1;
        const double dropped = Seconds();
        if (!WaitForMore("开始拨号", dials))
            return 1;
        std::printf("%sdrop_to_dial %.4f\n", prefix.c_str(), Seconds() - dropped);
        if (!WaitForMore("拨号成功", successes))
            return 1;
        std::printf("%sdrop_to_success %.4f\n", prefix.c_str(), Seconds() - dropped);
        std::fflush(stdout);
    }
    if (polled) {
        gui::Close(ui::WindowKind::Main);
        ExitProcess(0);
    }

    IdleFor(2000);
    const double cpuBefore = ProcessCpuSeconds();
    IdleFor(kIdleMs);
    std::printf("idle_cpu_percent %.4f\n", 100.0 * (ProcessCpuSeconds() - cpuBefore) / (kIdleMs / 1000.0));
    std::fflush(stdout);
    gui::Close(ui::WindowKind::Main);
    ExitProcess(0);
}
