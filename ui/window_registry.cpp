#include "ui/window_registry.h"

#include <algorithm>
#include <array>
#include <atomic>

#include "ui/gui_thread.h"

namespace ui {
namespace {

std::array<std::atomic<HWND>, 3> gWindows{};

std::atomic<HWND>& Slot(WindowKind kind) {
    return gWindows[static_cast<std::size_t>(kind)];
}

struct ChildSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchChildId(HWND child, LPARAM lParam) {
    auto& search = *reinterpret_cast<ChildSearch*>(lParam);
    if (GetDlgCtrlID(child) != search.id) return TRUE;
    search.found = child;
    return FALSE;
}

}  // namespace

HWND WindowHandle(WindowKind kind) {
    return Slot(kind).load();
}

void RememberWindow(WindowKind kind, HWND window) {
    Slot(kind).store(window);
    if (kind == WindowKind::Main && !window) EndGuiThread();
}

// Controls inside a container are grandchildren of the window, hence the search of all
// descendants rather than GetDlgItem.
HWND ControlHandle(ControlId control) {
    const HWND window = WindowHandle(control.window);
    if (!window) return nullptr;
    ChildSearch search{control.id, nullptr};
    EnumChildWindows(window, MatchChildId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool IsOpenWindow(HWND window) {
    return window && std::ranges::any_of(gWindows, [window](const auto& slot) { return slot.load() == window; });
}

}  // namespace ui
