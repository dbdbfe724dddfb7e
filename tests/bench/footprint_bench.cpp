// What the running Main window holds over time: private memory while the Activity log fills
// with 10,000 lines, and GDI and USER objects over 1,000 switches between online and offline
// (each switch changes the window's and the tray's icons). Prints "KEY VALUE" lines.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "core/activity_log.h"
#include "core/status_display.h"
#include "tests/support/message_pump.h"
#include "ui/controls.h"
#include "ui/gui.h"

namespace {

constexpr int kLogLines = 10000;
constexpr int kSwitches = 1000;
constexpr double kMegabyte = 1024.0 * 1024.0;

double PrivateMegabytes() {
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    return static_cast<double>(memory.PrivateUsage) / kMegabyte;
}

DWORD GuiObjects(DWORD kind) {
    return GetGuiResources(GetCurrentProcess(), kind);
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

    const DWORD gdiBefore = GuiObjects(GR_GDIOBJECTS), userBefore = GuiObjects(GR_USEROBJECTS);
    for (int switchNumber = 0; switchNumber < kSwitches; ++switchNumber) {
        OnlineFlag = 1 - OnlineFlag;
        RefreshOnlineState();
        message_pump::PumpPending();
    }
    std::printf("gdi_growth %ld\n", static_cast<long>(GuiObjects(GR_GDIOBJECTS)) - static_cast<long>(gdiBefore));
    std::printf("user_growth %ld\n", static_cast<long>(GuiObjects(GR_USEROBJECTS)) - static_cast<long>(userBefore));

    const double atStart = PrivateMegabytes();
    AppendLines(kLogLines / 2, 0);
    const double atHalf = PrivateMegabytes();
    AppendLines(kLogLines / 2, kLogLines / 2);
    const double atEnd = PrivateMegabytes();
    std::printf("memory_growth_mb %.3f\n", atEnd - atStart);
    std::printf("memory_growth_last_half_mb %.3f\n", atEnd - atHalf);
    std::fflush(stdout);
    gui::Close(ui::WindowKind::Main);
    ExitProcess(0);
}
