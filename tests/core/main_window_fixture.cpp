#include "tests/core/main_window_fixture.h"

#include "ui/gui.h"

void MainWindowFixture::SetUp() {
    gui::Open(ui::WindowKind::Main);
    ASSERT_NE(gui::Handle(ui::WindowKind::Main), nullptr);
}

void MainWindowFixture::TearDown() {
    gui::Close(ui::WindowKind::Main);
}
