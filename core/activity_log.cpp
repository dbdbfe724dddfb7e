#include "core/activity_log.h"

#include <cstdio>

#include "dialup/system_functions.h"
#include "ui/controls.h"
#include "ui/gui.h"

namespace {

LogLock gLogLock;

}  // namespace

std::string FormatLogTime() {
    SYSTEMTIME now = {};
    sys::GetLocalTime(&now);
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u %03u", now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    return text;
}

void AppendLog(std::string_view message) {
    std::string line = FormatLogTime();
    line.append("\t").append(message);
    // The lock is taken on the GUI thread, so no worker ever holds it while it waits for
    // the GUI thread; adding and selecting still form one unit.
    gui::Invoke([&line] {
        gLogLock.enter();
        int index = gui::AddLine(ui::main_window::列表框1, line);
        gui::SelectLine(ui::main_window::列表框1, index);
        gLogLock.leave();
    });
}
