#include "ui/control_factory.h"

#include <commctrl.h>

#include <vector>

#include "ui/dpi.h"
#include "ui/hyperlink.h"
#include "ui/spin_edit.h"

namespace ui {
namespace {

struct KindTraits {
    const char* className;
    DWORD style;
    DWORD exStyle;
};

constexpr KindTraits Traits(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
            return {"STATIC", SS_LEFTNOWORDWRAP, 0};
        case ControlKind::TransparentLabel:
            return {"STATIC", SS_LEFTNOWORDWRAP, WS_EX_TRANSPARENT};
        case ControlKind::Edit:
            return {"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::SpinEdit:
            return {"EDIT", ES_AUTOHSCROLL | ES_READONLY | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::CheckBox:
            return {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
        case ControlKind::Button:
            return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
        case ControlKind::ComboBox:
            return {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
        case ControlKind::ListBox:
            return {"LISTBOX", LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::GroupBox:
            return {"BUTTON", BS_GROUPBOX, WS_EX_CONTROLPARENT};
        case ControlKind::Hyperlink:
            return {"STATIC", SS_LEFTNOWORDWRAP | SS_NOTIFY, WS_EX_TRANSPARENT};
        case ControlKind::PictureBox:
            return {"STATIC", SS_OWNERDRAW, 0};
        case ControlKind::StatusBar:
            return {STATUSCLASSNAMEA, 0, 0};
    }
    return {};
}

// A combo box's window height includes its drop-down list.
constexpr int kDropDownHeight = 160;

int CreationHeight(const ControlDef& def, int dpi) {
    const int height = def.kind == ControlKind::ComboBox ? def.rect.height + kDropDownHeight : def.rect.height;
    return Scaled(height, dpi);
}

int WindowHeight(HWND window) {
    RECT area;
    GetWindowRect(window, &area);
    return area.bottom - area.top;
}

// The closed combo box's height follows its selection field. What the box adds around the
// field is measured, not assumed: Wine's combo box reads the field's height back larger than
// it takes it.
void FitComboField(HWND combo, int height) {
    const auto field = SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    const int frame = WindowHeight(combo) - static_cast<int>(field);
    SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - frame);
}

void SetPaneEdges(HWND statusBar, std::span<const StatusPaneDef> panes, int dpi) {
    std::vector<int> rightEdges;
    int right = 0;
    for (const StatusPaneDef& pane : panes)
        rightEdges.push_back(Scaled(right += pane.width, dpi));
    SendMessageA(statusBar, SB_SETPARTS, rightEdges.size(), reinterpret_cast<LPARAM>(rightEdges.data()));
    SendMessageA(statusBar, WM_SIZE, 0, 0);
}

void SetPaneTexts(HWND statusBar, std::span<const StatusPaneDef> panes) {
    for (std::size_t i = 0; i < panes.size(); ++i) {
        SendMessageA(statusBar, SB_SETTEXTA, i, reinterpret_cast<LPARAM>(panes[i].text));
    }
}

// What depends on the DPI besides the rectangle.
void FitToDpi(HWND control, const ControlDef& def, int dpi) {
    switch (def.kind) {
        case ControlKind::SpinEdit:
            PlaceSpin(control, MetricAt(SM_CXVSCROLL, dpi));
            break;
        case ControlKind::ComboBox:
            FitComboField(control, Scaled(def.rect.height, dpi));
            break;
        case ControlKind::StatusBar:
            SetPaneEdges(control, def.panes, dpi);
            break;
        default:
            break;
    }
}

void FinishControl(HWND control, const ControlDef& def, int dpi) {
    switch (def.kind) {
        case ControlKind::CheckBox:
            SendMessageA(control, BM_SETCHECK, def.checked ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case ControlKind::SpinEdit:
            AttachSpin(control, def.spin);
            break;
        case ControlKind::Hyperlink:
            AttachHyperlink(control, def);
            break;
        default:
            break;
    }
    FitToDpi(control, def, dpi);
    if (def.kind == ControlKind::StatusBar)
        SetPaneTexts(control, def.panes);  // after the panes exist
}

}  // namespace

HWND CreateControl(HWND window, const ControlDef& def, HFONT font, int dpi) {
    const KindTraits traits = Traits(def.kind);
    const HWND parent = def.container ? GetDlgItem(window, def.container) : window;
    const Rect rect = Scaled(def.rect, dpi);
    const HWND control =
        CreateWindowExA(traits.exStyle, traits.className, def.text, WS_CHILD | WS_VISIBLE | traits.style, rect.left,
                        rect.top, rect.width, CreationHeight(def, dpi), parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(def.id.id)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    FinishControl(control, def, dpi);
    return control;
}

void PlaceControl(HWND control, const ControlDef& def, HFONT font, int dpi) {
    const Rect rect = Scaled(def.rect, dpi);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowPos(control, nullptr, rect.left, rect.top, rect.width, CreationHeight(def, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    FitToDpi(control, def, dpi);
    InvalidateRect(control, nullptr, TRUE);
}

}  // namespace ui
