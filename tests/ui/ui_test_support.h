// In-process tests of the real windows: the test's thread is the GUI thread, and the handlers
// that the window tables bind are stand-ins that record their calls (handler_stand_ins.cpp).
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/message_pump.h"
#include "ui/controls.h"

namespace ui_test {

// Names of the bound handlers in the order they were called.
std::vector<std::string>& HandlerCalls();

// What RunStartup found when the Main window's "created" event called it.
struct StartupView {
    bool controlsExisted = false;
    bool windowVisible = true;
};
StartupView& SeenByStartup();

// Runs the GUI thread's loop until `done` or the timeout; false on timeout.
using message_pump::PumpPending;
using message_pump::PumpUntil;

HWND Window(ui::WindowKind kind);
HWND Control(ui::ControlId control);  // direct child of its window
std::string Text(HWND window);
std::string ItemText(HWND comboBox, int index);
// A visible window of that class belonging to `thread`, waiting up to five seconds for it.
HWND WaitForThreadWindow(DWORD thread, const char* className);
RECT RectInParent(HWND control);      // left, top, right, bottom in the parent's client area

// Opens the Main window for each test and closes it afterwards.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    HWND main_ = nullptr;
};

}  // namespace ui_test
