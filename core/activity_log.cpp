#include "core/activity_log.h"

#include <cstdio>

#include "dialup/system_functions.h"
#include "ui/controls.h"
#include "ui/gui.h"

namespace {

LogLock gLogLock;
// The date line of the last day logged; read and written under gLogLock only.
std::string gLastDateLine;

SYSTEMTIME LocalTime() {
    SYSTEMTIME now = {};
    sys::GetLocalTime(&now);
    return now;
}

std::string TimeText(const SYSTEMTIME& now) {
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u %03u", now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    return text;
}

std::string DateLine(const SYSTEMTIME& now) {
    char text[32];
    std::snprintf(text, sizeof text, "—— %04u-%02u-%02u ——", now.wYear, now.wMonth, now.wDay);
    return text;
}

}  // namespace

std::string FormatLogTime() { return TimeText(LocalTime()); }

void AppendLog(std::string_view message) {
    const SYSTEMTIME now = LocalTime();
    const std::string line = TimeText(now).append("\t").append(message);
    const std::string dateLine = DateLine(now);
    // The lock is taken on the GUI thread, so no worker ever holds it while it waits for
    // the GUI thread; adding and selecting still form one unit.
    gui::Invoke([&line, &dateLine] {
        gLogLock.enter();
        // The lines carry the time of day only: a log that runs for weeks needs each day's date.
        if (dateLine != gLastDateLine || gui::LineCount(ui::main_window::列表框1) == 0) {
            gui::AddLine(ui::main_window::列表框1, dateLine);
            gLastDateLine = dateLine;
        }
        int index = gui::AddLine(ui::main_window::列表框1, line);
        gui::SelectLine(ui::main_window::列表框1, index);
        gLogLock.leave();
    });
}
