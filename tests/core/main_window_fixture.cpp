#include "tests/core/main_window_fixture.h"

#include "core/main_window.h"
#include "core/settings.h"
#include "core/startup.h"
#include "core/status_display.h"
#include "ui/gui.h"

// The program's own start-up also looks for other running copies, restores the desktop
// shortcut and reads the phonebook; tests of single handlers want only the window with its
// settings and status, so the Main window's created event runs this instead.
void RunStartup() {
    gui::SetWidth(ui::WindowKind::Main, kNarrowMainWidth);
    LoadSettings();
    RefreshOnlineState();
}

void MainWindowFixture::SetUp() {
    gui::Open(ui::WindowKind::Main);
    ASSERT_NE(gui::Handle(ui::WindowKind::Main), nullptr);
}

void MainWindowFixture::TearDown() {
    gui::Close(ui::WindowKind::Main);
}
