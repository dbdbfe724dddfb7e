#include "ui/tray_icon.h"

#include <shellapi.h>

#include <cstring>
#include <string>

#include "ui/gui.h"

namespace {

// The first version of the record, which every shell accepts.
static_assert(NOTIFYICONDATAA_V1_SIZE == (sizeof(void*) == 8 ? 104 : 88));

// Touched on the GUI thread only.
struct TraySlot {
    HICON icon = nullptr;
    std::string tip;
    bool shown = false;
};
TraySlot gSlot;

// At most 62 bytes, and never half of a double-byte character.
std::string CutTip(std::string_view text) {
    std::size_t end = 0;
    while (end < text.size()) {
        std::size_t next = end + (IsDBCSLeadByte(static_cast<BYTE>(text[end])) ? 2 : 1);
        if (next > kTrayTipBytes || next > text.size())
            break;
        end = next;
    }
    return std::string(text.substr(0, end));
}

bool Notify(DWORD action) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = gui::Handle(ui::WindowKind::Main);
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = gSlot.icon;
    std::memcpy(data.szTip, gSlot.tip.c_str(), gSlot.tip.size() + 1);
    return Shell_NotifyIconA(action, &data) != FALSE;
}

// The shell may have lost the icon (it restarted, or something removed it), or kept one whose
// adding it reported as failed: when the expected action fails, the other one is tried.
bool Show() {
    if (gSlot.shown)
        return Notify(NIM_MODIFY) || Notify(NIM_ADD);
    return Notify(NIM_ADD) || Notify(NIM_MODIFY);
}

}  // namespace

void SetTrayIcon(HICON icon, std::string_view tooltip) {
    gui::Invoke([icon, tooltip] {
        HICON previous = gSlot.icon;
        gSlot.icon = icon;
        gSlot.tip = CutTip(tooltip);
        gSlot.shown = Show();
        if (previous && previous != icon)
            DestroyIcon(previous);
    });
}

void RemoveTrayIcon() {
    gui::Invoke([] {
        if (!gSlot.icon)
            return;
        if (gSlot.shown)
            Notify(NIM_DELETE);
        DestroyIcon(gSlot.icon);
        gSlot = TraySlot{};
    });
}

void OnTaskbarCreated() {
    gui::Invoke([] {
        if (gSlot.icon)
            gSlot.shown = Notify(NIM_ADD);
    });
}
