#include <windows.h>

#include "core/settings.h"
#include "ui/gui.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Relative file names land beside the program.
    SetCurrentDirectoryA(ProgramDirectory().c_str());
    gui::Open(ui::WindowKind::Main);
    return gui::RunMessageLoop();
}
