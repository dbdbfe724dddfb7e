#include "tests/core/main_window_fixture.h"

#include "ui/gui.h"

void MainWindowFixture::SetUp() {
    gui::Open(ui::WindowKind::Main);
    ASSERT_NE(gui::Handle(ui::WindowKind::Main), nullptr);
}

void MainWindowFixture::TearDown() {
    gui::Close(ui::WindowKind::Main);
}

bool MainWindowFixture::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            gui::HandleMessage(message);
    }
    return true;
}
