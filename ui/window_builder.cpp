#include "ui/window_builder.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "core/owners.h"
#include "ui/control_factory.h"
#include "ui/dpi.h"
#include "ui/hyperlink.h"
#include "ui/picture_box.h"
#include "ui/tray_icon.h"
#include "ui/window_registry.h"

namespace ui {
namespace {

constexpr char kWindowClass[] = "PordexWindow";
// Windows 8.1's message, which older headers lack.
constexpr UINT kDpiChangedMessage = 0x02E0;

// What a live window owns besides its controls.
struct WindowState {
    explicit WindowState(const WindowDef& definition) : def(definition) {}
    const WindowDef& def;
    int dpi = kDesignDpi;
    // The width last set in 96-DPI units, and the outer width it was shown at: a window that
    // keeps that width keeps its design width, whatever rounding the system's DPI change did.
    int designWidth = def.width;
    int shownWidth = 0;
    UniqueMenu menu;
    std::vector<UniqueFont> fonts;  // of the current DPI
    std::vector<std::pair<int, UniqueBitmap>> pictures;
    UniqueIcon bigIcon, smallIcon;
    HWND focus = nullptr;  // the control that had the focus when the window was deactivated
};

WindowState* StateOf(HWND window) { return reinterpret_cast<WindowState*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

int OuterWidth(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    return frame.right - frame.left;
}

UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

// The program runs elevated and the shell does not: without this, the window never hears that
// the shell restarted. The filter exists from Windows 7 on; before, the icon comes back only at
// the next status refresh.
void AllowTaskbarCreated(HWND window) {
    const auto filter = reinterpret_cast<decltype(&ChangeWindowMessageFilterEx)>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "ChangeWindowMessageFilterEx")));
    if (filter)
        filter(window, TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);
}

void Run(Action action) {
    if (action)
        action();
}

// The fonts of one DPI: the message font that most controls share, and one for each control
// that names its own.
class FontSet {
public:
    explicit FontSet(int dpi) : dpi_(dpi) { message_ = fonts_.emplace_back(MessageFont(dpi)).get(); }
    HFONT For(const ControlDef& control) {
        if (!control.font)
            return message_ ? message_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        return fonts_.emplace_back(MakeFont(*control.font, dpi_)).get();
    }
    std::vector<UniqueFont> Release() { return std::move(fonts_); }

private:
    int dpi_;
    HFONT message_;
    std::vector<UniqueFont> fonts_;
};

HWND ControlHandle(HWND window, const ControlDef& control) {
    return GetDlgItem(control.container ? GetDlgItem(window, control.container) : window, control.id.id);
}

UniqueMenu BuildMenu(std::span<const MenuItemDef> items) {
    UniqueMenu menu(CreatePopupMenu());
    for (const MenuItemDef& item : items) {
        if (item.text) {
            AppendMenuA(menu.get(), MF_STRING, static_cast<UINT_PTR>(item.item), item.text);
        } else {
            AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
        }
    }
    return menu;
}

void BuildContents(HWND window, WindowState& state) {
    state.dpi = DpiOf(window);
    FontSet fonts(state.dpi);
    for (const ControlDef& control : state.def.controls) {
        CreateControl(window, control, fonts.For(control), state.dpi);
        if (control.picture)
            state.pictures.emplace_back(control.id.id, control.picture());
    }
    state.fonts = fonts.Release();
    if (!state.def.menu.empty())
        state.menu = BuildMenu(state.def.menu);
}

// The window has moved to a monitor of another DPI: it takes the size and place the system
// suggests and lays its controls out again. The old fonts go once no control uses them.
void OnDpiChanged(HWND window, WindowState& state, int dpi, const RECT& suggested) {
    state.dpi = dpi;
    FontSet fonts(dpi);
    for (const ControlDef& control : state.def.controls)
        PlaceControl(ControlHandle(window, control), control, fonts.For(control), dpi);
    state.fonts = fonts.Release();
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    state.shownWidth = OuterWidth(window);
    InvalidateRect(window, nullptr, TRUE);
}

bool IsUserEvent(ControlKind kind, WORD notification) {
    switch (kind) {
        case ControlKind::CheckBox:
        case ControlKind::Button:
            return notification == BN_CLICKED;
        case ControlKind::ComboBox:
            return notification == CBN_SELCHANGE;
        default:
            return false;  // hyperlinks act through their own window procedure
    }
}

void OnCommand(const WindowDef& def, WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    if (!lParam) {
        const auto item = std::ranges::find_if(
            def.menu, [id](const MenuItemDef& m) { return m.text && static_cast<int>(m.item) == id; });
        if (item != def.menu.end())
            Run(item->action);
        return;
    }
    const ControlDef* control = FindControl(def, id);
    if (control && IsUserEvent(control->kind, HIWORD(wParam)))
        Run(control->action);
}

std::optional<LRESULT> OnStaticColour(const WindowDef& def, HDC dc, HWND control) {
    const ControlDef* found = FindControl(def, GetDlgCtrlID(control));
    if (!found || (found->kind != ControlKind::TransparentLabel && found->kind != ControlKind::Hyperlink)) {
        return std::nullopt;
    }
    SetBkMode(dc, TRANSPARENT);
    // The system's colours, so that high contrast themes show the text too.
    SetTextColor(dc, found->kind == ControlKind::Hyperlink ? LinkColour(control) : GetSysColor(COLOR_BTNTEXT));
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

void OnDrawItem(const WindowState& state, const DRAWITEMSTRUCT& item) {
    const auto found = std::ranges::find_if(state.pictures,
                                            [&item](const auto& p) { return p.first == static_cast<int>(item.CtlID); });
    DrawPicture(item, found == state.pictures.end() ? nullptr : found->second.get());
}

void OnSize(HWND window, const WindowDef& def, WPARAM kind) {
    for (const ControlDef& control : def.controls) {
        if (control.kind == ControlKind::StatusBar)
            SendMessageA(GetDlgItem(window, control.id.id), WM_SIZE, 0, 0);
    }
    if (kind == SIZE_MINIMIZED)
        Run(def.events.minimized);
}

// Like a dialog box, the window gives the keyboard focus back to the control that had it.
std::optional<LRESULT> OnActivate(HWND window, WindowState& state, WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (IsChild(window, focus))
            state.focus = focus;
        return std::nullopt;
    }
    if (!state.focus || !IsWindow(state.focus))
        return std::nullopt;
    SetFocus(state.focus);
    return 0;
}

void OnClose(HWND window, const WindowDef& def) {
    if (def.style & WS_SYSMENU)
        DestroyWindow(window);
}

// The shell reports mouse actions on the icon by their mouse message; a single left click
// and everything else mean nothing.
Action TrayAction(const WindowEvents& events, UINT mouseMessage) {
    switch (mouseMessage) {
        case WM_LBUTTONDBLCLK:
            return events.trayDoubleClick;
        case WM_RBUTTONUP:
        case WM_CONTEXTMENU:
            return events.trayMenu;
        default:
            return nullptr;
    }
}

std::optional<LRESULT> OnMessage(HWND window, WindowState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    const WindowDef& def = state.def;
    switch (message) {
        case WM_CREATE:
            BuildContents(window, state);
            return 0;
        case WM_COMMAND:
            OnCommand(def, wParam, lParam);
            return 0;
        case WM_CTLCOLORSTATIC:
            return OnStaticColour(def, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_DRAWITEM:
            OnDrawItem(state, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_NCHITTEST: {
            const LRESULT hit = DefWindowProcA(window, message, wParam, lParam);
            return def.dragAnywhere && hit == HTCLIENT ? HTCAPTION : hit;
        }
        case WM_SIZE:
            OnSize(window, def, wParam);
            return 0;
        case WM_ACTIVATE:
            return OnActivate(window, state, wParam);
        case WM_CLOSE:
            OnClose(window, def);
            return 0;
        case WM_DESTROY:
            Run(def.events.destroyed);
            RememberWindow(def.kind, nullptr);
            return 0;
        case kDpiChangedMessage:
            OnDpiChanged(window, state, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case kTrayCallbackMessage:
            Run(TrayAction(def.events, static_cast<UINT>(lParam)));
            return 0;
    }
    if (message == TaskbarCreatedMessage()) {
        Run(def.events.taskbarCreated);
        return 0;
    }
    return std::nullopt;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto& def = *static_cast<const WindowDef*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new WindowState(def)));
        RememberWindow(def.kind, window);
    }
    WindowState* state = StateOf(window);
    if (!state)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        delete state;
    } else if (const auto result = OnMessage(window, *state, message, wParam, lParam)) {
        return *result;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterWindowClass() {
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassA(&windowClass) != 0;
}

}  // namespace

const ControlDef* FindControl(const WindowDef& def, int id) {
    const auto found = std::ranges::find_if(def.controls, [id](const ControlDef& c) { return c.id.id == id; });
    return found == def.controls.end() ? nullptr : &*found;
}

HWND BuildWindow(const WindowDef& def, HWND owner) {
    static const bool registered = RegisterWindowClass();
    if (!registered)
        return nullptr;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - def.width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - def.height) / 2;
    const HWND window = CreateWindowExA(0, kWindowClass, def.caption, def.style, left, top, def.width, def.height,
                                        owner, nullptr, GetModuleHandleA(nullptr), const_cast<WindowDef*>(&def));
    if (!window)
        return nullptr;
    if (const int dpi = StateOf(window)->dpi; dpi != kDesignDpi) {
        const SIZE size = OuterSize({def.width, def.height}, def.style, dpi);
        SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2,
                     (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    StateOf(window)->shownWidth = OuterWidth(window);
    if (def.events.taskbarCreated)
        AllowTaskbarCreated(window);
    Run(def.events.created);
    if (WindowHandle(def.kind) != window)
        return nullptr;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return window;
}

int DesignWidth(HWND window) {
    const WindowState* state = StateOf(window);
    const int width = OuterWidth(window);
    if (!state)
        return width;
    return width == state->shownWidth ? state->designWidth : ui::DesignWidth(width, state->def.style, state->dpi);
}

void SetDesignWidth(HWND window, int width) {
    WindowState* state = StateOf(window);
    if (!state)
        return;
    RECT frame{};
    GetWindowRect(window, &frame);
    const SIZE size = OuterSize({width, 0}, state->def.style, state->dpi);
    SetWindowPos(window, nullptr, 0, 0, size.cx, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    state->designWidth = width;
    state->shownWidth = OuterWidth(window);
}

HMENU WindowMenu(HWND window) {
    const WindowState* state = StateOf(window);
    return state ? state->menu.get() : nullptr;
}

void SetWindowIcons(HWND window, HICON big, HICON small) {
    WindowState* state = StateOf(window);
    if (!state)
        return;
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    if (state->bigIcon.get() != big)
        state->bigIcon.reset(big);
    if (state->smallIcon.get() != small)
        state->smallIcon.reset(small);
}

}  // namespace ui
