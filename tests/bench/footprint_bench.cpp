// What the running Main window holds over time: private memory while the Activity log fills
// with 10,000 lines, and GDI and USER objects over 1,000 switches between online and offline
// (each switch changes the window's and the tray's icons). Prints "KEY VALUE" lines. USER objects
// are counted as the icons, the ones a switch makes.
#include <windows.h>

#include <cstdio>
#include <string>

#include "core/activity_log.h"
#include "core/status_display.h"
#include "tests/support/message_pump.h"
#include "tests/support/process_footprint.h"
#include "ui/controls.h"
#include "ui/gui.h"

namespace {

constexpr int kLogLines = 10000;
constexpr int kSwitches = 1000;
constexpr double kMegabyte = 1024.0 * 1024.0;

double PrivateMegabytes() {
    return static_cast<double>(process_footprint::PrivateBytes(GetCurrentProcess())) / kMegabyte;
}

void AppendLines(int count, int first) {
    for (int line = first; line < first + count; ++line) {
        AppendLog("开始拨号 " + std::to_string(line));
        if (line % 100 == 0)
            message_pump::PumpPending();
    }
    message_pump::PumpPending();
}

}  // namespace

int main() {
    gui::Open(ui::WindowKind::Main);
    message_pump::PumpUntil([] { return false; }, 1000);

    const long gdiBefore = static_cast<long>(process_footprint::GdiObjects());
    const long iconsBefore = static_cast<long>(process_footprint::IconObjects());
    for (int switchNumber = 0; switchNumber < kSwitches; ++switchNumber) {
        OnlineFlag = 1 - OnlineFlag;
        RefreshOnlineState();
        message_pump::PumpPending();
    }
    std::printf("gdi_objects %ld\ngdi_growth %ld\n", gdiBefore,
                static_cast<long>(process_footprint::GdiObjects()) - gdiBefore);
    std::printf("icon_objects %ld\nuser_growth %ld\n", iconsBefore,
                static_cast<long>(process_footprint::IconObjects()) - iconsBefore);

    const double atStart = PrivateMegabytes();
    AppendLines(kLogLines / 2, 0);
    const double atHalf = PrivateMegabytes();
    AppendLines(kLogLines / 2, kLogLines / 2);
    const double atEnd = PrivateMegabytes();
    std::printf("private_mb_at_start %.3f\nmemory_growth_mb %.3f\n", atStart, atEnd - atStart);
    std::printf("memory_growth_last_half_mb %.3f\n", atEnd - atHalf);
    std::fflush(stdout);
    gui::Close(ui::WindowKind::Main);
    ExitProcess(0);
}
