// The GUI layer's operations. Each one runs its work on the GUI thread through Invoke and
// finds windows and controls there, so no other thread ever touches them.
#include "ui/gui.h"

#include <commctrl.h>

#include <cstring>
#include <type_traits>

#include "ui/gui_thread.h"
#include "ui/spin_edit.h"
#include "ui/transparency.h"
#include "ui/window_builder.h"
#include "ui/window_def.h"
#include "ui/window_registry.h"

namespace gui {
namespace {

using ui::ControlHandle;
using ui::WindowHandle;

// Runs `work` through Invoke and returns its result; a dropped task yields the type's default.
template <typename Work>
auto OnGui(Work work) -> decltype(work()) {
    using Result = decltype(work());
    if constexpr (std::is_void_v<Result>) {
        Invoke(work);
    } else {
        Result result{};
        Invoke([&] { result = work(); });
        return result;
    }
}

std::string WindowText(HWND window) {
    std::string text(GetWindowTextLengthA(window), '\0');
    text.resize(GetWindowTextA(window, text.data(), static_cast<int>(text.size() + 1)));
    return text;
}

// Text read with a length message and a text message. Common controls keep their texts in
// UTF-16 and may count characters, not bytes: the buffer holds two GBK bytes per character.
std::string ReadText(HWND control, UINT lengthMessage, UINT textMessage, WPARAM index) {
    const auto length = LOWORD(SendMessageA(control, lengthMessage, index, 0));
    std::string text(2 * length, '\0');
    if (SendMessageA(control, textMessage, index, reinterpret_cast<LPARAM>(text.data())) < 0)
        return {};
    text.resize(std::strlen(text.c_str()));
    return text;
}

HWND StatusBar() { return ControlHandle(ui::main_window::状态条1); }

HMENU TrayMenu() { return ui::WindowMenu(WindowHandle(ui::WindowKind::Main)); }

void BringToFront(HWND window) {
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}

void OpenOnGuiThread(ui::WindowKind kind) {
    if (const HWND open = WindowHandle(kind)) {
        BringToFront(open);
        return;
    }
    ui::BuildWindow(ui::Definition(kind), WindowHandle(ui::WindowKind::Main));
}

void TrackTrayMenu(POINT screen, UINT alignment) {
    TrackPopupMenu(TrayMenu(), alignment | TPM_RIGHTBUTTON, screen.x, screen.y, 0, WindowHandle(ui::WindowKind::Main),
                   nullptr);
}

}  // namespace

std::string GetText(ui::ControlId control) {
    return OnGui([control] { return WindowText(ControlHandle(control)); });
}

void SetText(ui::ControlId control, std::string_view text) {
    OnGui([control, value = std::string(text)] {
        const HWND handle = ControlHandle(control);
        SetWindowTextA(handle, value.c_str());
        if (ui::IsSeeThrough(handle))
            ui::RedrawBackdrop(handle);
    });
}

bool IsChecked(ui::ControlId checkBox) {
    return OnGui([checkBox] { return SendMessageA(ControlHandle(checkBox), BM_GETCHECK, 0, 0) == BST_CHECKED; });
}

void SetChecked(ui::ControlId checkBox, bool checked) {
    OnGui([checkBox, checked] {
        SendMessageA(ControlHandle(checkBox), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    });
}

bool IsEnabled(ui::ControlId control) {
    return OnGui([control] { return IsWindowEnabled(ControlHandle(control)) != FALSE; });
}

// A number box's arrows follow its enabled state, or they would still change the number.
void SetEnabled(ui::ControlId control, bool enabled) {
    OnGui([control, enabled] {
        const HWND handle = ControlHandle(control);
        EnableWindow(handle, enabled);
        if (const HWND spin = ui::SpinOf(handle))
            EnableWindow(spin, enabled);
    });
}

void SetFocus(ui::ControlId control) {
    OnGui([control] { ::SetFocus(ControlHandle(control)); });
}

void ClearItems(ui::ControlId comboBox) {
    OnGui([comboBox] { SendMessageA(ControlHandle(comboBox), CB_RESETCONTENT, 0, 0); });
}

int AddItem(ui::ControlId comboBox, std::string_view text) {
    return OnGui([comboBox, value = std::string(text)] {
        return static_cast<int>(
            SendMessageA(ControlHandle(comboBox), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(value.c_str())));
    });
}

void SelectItem(ui::ControlId comboBox, int index) {
    OnGui([comboBox, index] { SendMessageA(ControlHandle(comboBox), CB_SETCURSEL, index, 0); });
}

std::string GetSelectedText(ui::ControlId comboBox) {
    return OnGui([comboBox] {
        const HWND combo = ControlHandle(comboBox);
        const auto selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
        return selected < 0 ? std::string() : ReadText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, selected);
    });
}

int AddLine(ui::ControlId listBox, std::string_view text) {
    return OnGui([listBox, value = std::string(text)] {
        const auto index =
            SendMessageA(ControlHandle(listBox), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(value.c_str()));
        return index < 0 ? -1 : static_cast<int>(index);
    });
}

int LineCount(ui::ControlId listBox) {
    return OnGui([listBox] { return static_cast<int>(SendMessageA(ControlHandle(listBox), LB_GETCOUNT, 0, 0)); });
}

void SelectLine(ui::ControlId listBox, int index) {
    OnGui([listBox, index] { SendMessageA(ControlHandle(listBox), LB_SETCURSEL, index, 0); });
}

void SetStatusPane(int pane, std::string_view text) {
    OnGui([pane, value = std::string(text)] {
        SendMessageA(StatusBar(), SB_SETTEXTA, pane, reinterpret_cast<LPARAM>(value.c_str()));
    });
}

std::string GetStatusPane(int pane) {
    return OnGui([pane] { return ReadText(StatusBar(), SB_GETTEXTLENGTHA, SB_GETTEXTA, pane); });
}

void SetMenuItemEnabled(ui::TrayMenuItem item, bool enabled) {
    OnGui([item, enabled] {
        EnableMenuItem(TrayMenu(), static_cast<UINT>(item), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    });
}

bool IsMenuItemEnabled(ui::TrayMenuItem item) {
    return OnGui([item] {
        const UINT state = GetMenuState(TrayMenu(), static_cast<UINT>(item), MF_BYCOMMAND);
        return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
    });
}

void PopUpTrayMenu() {
    OnGui([] {
        POINT cursor{};
        GetCursorPos(&cursor);
        TrackTrayMenu(cursor, TPM_LEFTALIGN | TPM_TOPALIGN);
    });
}

void PopUpTrayMenuAt(POINT screen) {
    OnGui([screen] {
        const HWND main = WindowHandle(ui::WindowKind::Main);
        SetForegroundWindow(main);
        TrackTrayMenu(screen, TPM_RIGHTALIGN);
        PostMessageA(main, WM_NULL, 0, 0);
    });
}

HWND Handle(ui::WindowKind window) { return WindowHandle(window); }

void Open(ui::WindowKind window) {
    if (window == ui::WindowKind::Main && !WindowHandle(window)) {
        ui::StartGuiThread();
        ui::BuildWindow(ui::Definition(window), nullptr);
        return;
    }
    OnGui([window] { OpenOnGuiThread(window); });
}

void Close(ui::WindowKind window) {
    OnGui([window] { DestroyWindow(WindowHandle(window)); });
}

int GetWidth(ui::WindowKind window) {
    return OnGui([window] { return ui::DesignWidth(WindowHandle(window)); });
}

void SetWidth(ui::WindowKind window, int width) {
    OnGui([window, width] { ui::SetDesignWidth(WindowHandle(window), width); });
}

void Show(ui::WindowKind window, bool visible) {
    OnGui([window, visible] { ShowWindow(WindowHandle(window), visible ? SW_SHOW : SW_HIDE); });
}

void SetMinimized(ui::WindowKind window, bool minimized) {
    OnGui([window, minimized] { ShowWindow(WindowHandle(window), minimized ? SW_MINIMIZE : SW_RESTORE); });
}

void SetTopMost(ui::WindowKind window, bool topMost) {
    OnGui([window, topMost] {
        SetWindowPos(WindowHandle(window), topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    });
}

void Activate(ui::WindowKind window) {
    OnGui([window] { SetForegroundWindow(WindowHandle(window)); });
}

void SetIcons(ui::WindowKind window, HICON big, HICON small) {
    OnGui([window, big, small] { ui::SetWindowIcons(WindowHandle(window), big, small); });
}

int ShowMessage(ui::WindowKind owner, std::string_view text, UINT type) {
    return OnGui([owner, value = std::string(text), type] {
        return MessageBoxA(WindowHandle(owner), value.c_str(), "信息：", type | MB_TASKMODAL);
    });
}

}  // namespace gui
