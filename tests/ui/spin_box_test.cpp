// The Main window's two number boxes: arrows step within their range, nothing else changes them.
#include <windows.h>

#include <commctrl.h>

#include <ostream>

#include "ui/gui.h"
#include "ui_test_support.h"

namespace {

using namespace ui_test;
namespace m = ui::main_window;

HWND SpinOf(HWND edit) {
    HWND spin = nullptr;
    while ((spin = FindWindowExA(GetParent(edit), spin, UPDOWN_CLASSA, nullptr))) {
        if (reinterpret_cast<HWND>(SendMessageA(spin, UDM_GETBUDDY, 0, 0)) == edit) return spin;
    }
    return nullptr;
}

void ClickArrow(HWND spin, bool up, int times = 1) {
    RECT area;
    GetClientRect(spin, &area);
    const LPARAM at = MAKELPARAM(area.right / 2, up ? area.bottom / 4 : area.bottom * 3 / 4);
    for (int i = 0; i < times; ++i) {
        SendMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(spin, WM_LBUTTONUP, 0, at);
    }
}

void PressKey(HWND edit, WPARAM key) {
    PostMessageA(edit, WM_KEYDOWN, key, 1);
    PostMessageA(edit, WM_KEYUP, key, 0xC0000001);
    PumpPending();
}

struct SpinCase {
    ui::ControlId box;
    const char* initial;
    int high;
};

void PrintTo(const SpinCase& spin, std::ostream* out) {
    *out << "1.." << spin.high;
}

class MainWindowSpin : public MainWindowTest, public ::testing::WithParamInterface<SpinCase> {};

TEST_P(MainWindowSpin, ArrowsStepWithinTheRangeAndStopAtItsEnds) {
    const HWND edit = Control(GetParam().box);
    const HWND spin = SpinOf(edit);
    ASSERT_NE(spin, nullptr);
    const RECT box = RectInParent(edit), arrows = RectInParent(spin);
    EXPECT_EQ(arrows.left, box.right);
    EXPECT_EQ(arrows.top, box.top);
    EXPECT_EQ(arrows.bottom, box.bottom);

    const int initial = std::stoi(GetParam().initial);
    ClickArrow(spin, true);
    EXPECT_EQ(Text(edit), std::to_string(initial + 1));
    ClickArrow(spin, true, GetParam().high + 5);
    EXPECT_EQ(Text(edit), std::to_string(GetParam().high));
    ClickArrow(spin, false);
    EXPECT_EQ(Text(edit), std::to_string(GetParam().high - 1));
    ClickArrow(spin, false, GetParam().high + 5);
    EXPECT_EQ(Text(edit), "1");

    ::SetFocus(edit);
    PressKey(edit, VK_UP);
    EXPECT_EQ(Text(edit), "2");
    PressKey(edit, VK_DOWN);
    PressKey(edit, VK_DOWN);
    EXPECT_EQ(Text(edit), "1");
}

TEST_P(MainWindowSpin, TypingPastingAndDeletingChangeNothing) {
    const HWND edit = Control(GetParam().box);
    ::SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (WPARAM character : {WPARAM{'9'}, WPARAM{'x'}, WPARAM{VK_BACK}}) PostMessageA(edit, WM_CHAR, character, 1);
    PressKey(edit, VK_DELETE);
    PressKey(edit, VK_BACK);
    if (OpenClipboard(edit)) {
        EmptyClipboard();
        const HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 3);
        lstrcpyA(static_cast<char*>(GlobalLock(text)), "77");
        GlobalUnlock(text);
        SetClipboardData(CF_TEXT, text);
        CloseClipboard();
    }
    SendMessageA(edit, WM_PASTE, 0, 0);
    SendMessageA(edit, WM_CUT, 0, 0);
    PumpPending();
    EXPECT_EQ(Text(edit), GetParam().initial);
    EXPECT_NE(GetWindowLongA(edit, GWL_STYLE) & ES_READONLY, 0);
}

TEST_P(MainWindowSpin, DisablingTheBoxDisablesItsArrows) {
    gui::SetEnabled(GetParam().box, false);
    EXPECT_FALSE(IsWindowEnabled(Control(GetParam().box)));
    EXPECT_FALSE(IsWindowEnabled(SpinOf(Control(GetParam().box))));
    gui::SetEnabled(GetParam().box, true);
    EXPECT_TRUE(IsWindowEnabled(SpinOf(Control(GetParam().box))));
}

INSTANTIATE_TEST_SUITE_P(Boxes, MainWindowSpin,
                         ::testing::Values(SpinCase{m::编辑框3, "5", 120}, SpinCase{m::编辑框4, "2", 10}),
                         [](const auto& info) { return info.param.high == 120 ? "Minutes" : "Seconds"; });

}  // namespace
