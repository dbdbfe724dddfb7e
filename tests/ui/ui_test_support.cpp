#include "ui_test_support.h"

#include "tests/support/window_search.h"
#include "ui/gui.h"

namespace ui_test {

std::vector<std::string>& HandlerCalls() {
    static std::vector<std::string> calls;
    return calls;
}

StartupView& SeenByStartup() {
    static StartupView view;
    return view;
}

HWND Window(ui::WindowKind kind) {
    return gui::Handle(kind);
}

HWND Control(ui::ControlId control) {
    return GetDlgItem(Window(control.window), control.id);
}

std::string Text(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ItemText(HWND comboBox, int index) {
    char text[256] = "";
    SendMessageA(comboBox, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

HWND WaitForThreadWindow(DWORD thread, const char* className) {
    window_search::ClassSearch search{className, nullptr};
    for (int i = 0; i < 500 && !search.found; ++i, Sleep(10)) {
        EnumThreadWindows(thread, window_search::MatchVisibleClass, reinterpret_cast<LPARAM>(&search));
    }
    return search.found;
}

RECT RectInParent(HWND control) {
    RECT area;
    GetWindowRect(control, &area);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&area), 2);
    return area;
}

void MainWindowTest::SetUp() {
    HandlerCalls().clear();
    gui::Open(ui::WindowKind::Main);
    main_ = Window(ui::WindowKind::Main);
    ASSERT_NE(main_, nullptr);
    PumpPending();
}

void MainWindowTest::TearDown() {
    if (Window(ui::WindowKind::Main)) gui::Close(ui::WindowKind::Main);
    PumpPending();
}

}  // namespace ui_test
