// What a window is made of: its frame, its controls and the actions bound to its events.
// The three windows are constant tables of these records (window_tables.cpp), and one builder
// turns any of them into a live window (window_builder.cpp).
#pragma once
#include <windows.h>

#include <span>

#include "ui/controls.h"
#include "ui/png_image.h"

namespace ui {

using Action = void (*)();

enum class ControlKind {
    Label,
    TransparentLabel,  // text drawn over the window's background
    Edit,
    SpinEdit,  // read-only edit box with an up-down control at its right
    CheckBox,
    Button,
    ComboBox,  // drop-down list that cannot be typed into
    ListBox,
    GroupBox,
    Hyperlink,  // clickable text in link colours over the window's background
    PictureBox,
    StatusBar,
};

struct Rect {
    int left, top, width, height;
};

struct FontDef {
    const char* face;
    int height;  // character height in pixels
    int weight;
    BYTE charset;
};

struct SpinRange {
    int low, high;
};

struct StatusPaneDef {
    int width;
    const char* text;
};

struct ControlDef {
    ControlId id;
    ControlKind kind;
    const char* text = "";
    Rect rect{};        // relative to the container's client area
    int container = 0;  // id of the control it lies in; 0: the window
    bool checked = false;
    SpinRange spin{};
    std::span<const StatusPaneDef> panes{};
    const FontDef* font = nullptr;        // null: the default GUI font
    UniqueBitmap (*picture)() = nullptr;  // a picture box's image
    const char* target = nullptr;         // the web address a hyperlink opens
    Action action = nullptr;              // click, choice of an item, or link released
};

// A null text makes a separator.
struct MenuItemDef {
    const char* text;
    TrayMenuItem item;
    Action action;
};

struct WindowEvents {
    Action created = nullptr;    // controls exist, window not shown yet
    Action destroyed = nullptr;  // closed by any means; window and controls still exist
    Action minimized = nullptr;
    Action taskbarCreated = nullptr;   // the shell re-created the notification area
    Action trayDoubleClick = nullptr;  // left double-click on the notification-area icon
    Action trayMenu = nullptr;         // right button released over it, or the menu key
};

// Every window opens centred on the screen.
struct WindowDef {
    WindowKind kind;
    const char* caption;
    int width, height;  // outer size
    DWORD style;        // a window without WS_SYSMENU ignores close requests
    bool dragAnywhere;
    WindowEvents events;
    std::span<const ControlDef> controls;
    std::span<const MenuItemDef> menu{};
};

const WindowDef& Definition(WindowKind kind);
// The control of `def` with that id, or null.
const ControlDef* FindControl(const WindowDef& def, int id);

}  // namespace ui
