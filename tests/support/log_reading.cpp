#include "tests/support/log_reading.h"

#include <windows.h>

#include "ui/controls.h"
#include "ui/gui.h"

namespace log_reading {

std::vector<std::string> LogMessages() {
    using namespace ui::main_window;
    std::vector<std::string> messages;
    const HWND list = GetDlgItem(GetDlgItem(gui::Handle(ui::WindowKind::Main), 分组框1.id), 列表框1.id);
    for (LRESULT index = 0, count = SendMessageA(list, LB_GETCOUNT, 0, 0); index < count; ++index) {
        std::string line(SendMessageA(list, LB_GETTEXTLEN, index, 0), '\0');
        SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(line.data()));
        if (const auto tab = line.find('\t'); tab != std::string::npos)  // not a date line
            messages.push_back(line.substr(tab + 1));
    }
    return messages;
}

}  // namespace log_reading
