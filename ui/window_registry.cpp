#include "ui/window_registry.h"

#include <algorithm>
#include <array>
#include <atomic>

#include "ui/gui_thread.h"
#include "ui/window_def.h"

namespace ui {
namespace {

std::array<std::atomic<HWND>, 3> gWindows{};

std::atomic<HWND>& Slot(WindowKind kind) { return gWindows[static_cast<std::size_t>(kind)]; }

}  // namespace

HWND WindowHandle(WindowKind kind) { return Slot(kind).load(); }

void RememberWindow(WindowKind kind, HWND window) {
    Slot(kind).store(window);
    if (kind == WindowKind::Main && !window)
        EndGuiThread();
}

// A control inside a container is a child of the container, not of the window; the window's
// definition says which container that is.
HWND ControlHandle(ControlId control) {
    const HWND window = WindowHandle(control.window);
    const ControlDef* def = window ? FindControl(Definition(control.window), control.id) : nullptr;
    if (!def)
        return nullptr;
    return GetDlgItem(def->container ? GetDlgItem(window, def->container) : window, control.id);
}

bool IsOpenWindow(HWND window) {
    return window && std::ranges::any_of(gWindows, [window](const auto& slot) { return slot.load() == window; });
}

}  // namespace ui
