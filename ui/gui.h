// The GUI layer: the only way the rest of the program touches windows and controls.
// Every operation may be called from any thread. Calls from other threads run on the GUI
// thread and return when done, so a read returns the control's current value; the GUI thread
// itself never waits for another thread.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "ui/controls.h"

namespace gui {

// Runs `task` on the GUI thread and returns when it has run (at once when already there).
// After the Main window is gone the task is dropped.
void Invoke(const std::function<void()>& task);

// The GUI thread's message loop, until the Main window is gone; returns the exit code.
int RunMessageLoop();
// One turn of that loop: keyboard navigation between controls, then dispatch.
void HandleMessage(MSG& message);

// Texts of labels, edit boxes, check boxes, hyperlinks.
std::string GetText(ui::ControlId control);
void SetText(ui::ControlId control, std::string_view text);

bool IsChecked(ui::ControlId checkBox);
void SetChecked(ui::ControlId checkBox, bool checked);
bool IsEnabled(ui::ControlId control);
void SetEnabled(ui::ControlId control, bool enabled);
void SetFocus(ui::ControlId control);

// Combo box (drop-down list).
void ClearItems(ui::ControlId comboBox);
int AddItem(ui::ControlId comboBox, std::string_view text);
void SelectItem(ui::ControlId comboBox, int index);
std::string GetSelectedText(ui::ControlId comboBox);

// List box: the new line's index, or -1 when the list refused it; -1 clears the selection.
int AddLine(ui::ControlId listBox, std::string_view text);
int LineCount(ui::ControlId listBox);
void SelectLine(ui::ControlId listBox, int index);

// Status bar of the Main window: pane 0 (connection) or 1 (state).
void SetStatusPane(int pane, std::string_view text);
std::string GetStatusPane(int pane);

// Tray menu items.
void SetMenuItemEnabled(ui::TrayMenuItem item, bool enabled);
bool IsMenuItemEnabled(ui::TrayMenuItem item);
void PopUpTrayMenu();  // at the mouse position
// As a notification-area menu: the Main window comes to the foreground first, the menu's
// right edge is at `screen`, and a null message follows so that it closes on clicks elsewhere.
void PopUpTrayMenuAt(POINT screen);

// Windows. Opening one that is already open brings it to the front. The thread that opens
// the Main window becomes the GUI thread and must run the message loop.
HWND Handle(ui::WindowKind window);  // null while the window is not open
void Open(ui::WindowKind window);    // secondary windows are owned by the Main window
void Close(ui::WindowKind window);   // destroys it; closing the Main window ends the loop
// The outer width in the window tables' 96-DPI units, whatever the DPI it is shown at.
int GetWidth(ui::WindowKind window);
void SetWidth(ui::WindowKind window, int width);
void Show(ui::WindowKind window, bool visible);
void SetMinimized(ui::WindowKind window, bool minimized);
void SetTopMost(ui::WindowKind window, bool topMost);
void Activate(ui::WindowKind window);
void SetIcons(ui::WindowKind window, HICON big, HICON small);  // the window owns both from then on

// Task-modal message box owned by `owner` with the caption "信息："; returns the button id.
int ShowMessage(ui::WindowKind owner, std::string_view text, UINT type = MB_OK);

}  // namespace gui
