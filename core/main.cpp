#include <windows.h>

#include "core/settings.h"
#include "core/startup.h"
#include "dialup/hang_up.h"
#include "ui/gui.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Relative file names land beside the program.
    SetCurrentDirectoryA(ProgramDirectory().c_str());
    StartInstanceScan();
    gui::Open(ui::WindowKind::Main);
    const int exitCode = gui::RunMessageLoop();
    // A dial or hang-up under way ends its link and sees it closed first: a port left half
    // closed could refuse the next dial.
    WaitForHeldLinks();
    // Detached workers may still run: ending the process stops them before any object they
    // use is destroyed, which returning from here would not.
    ExitProcess(static_cast<UINT>(exitCode));
}
