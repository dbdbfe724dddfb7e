#include <windows.h>

#include "core/code_page.h"
#include "core/settings.h"
#include "core/startup.h"
#include "dialup/hang_up.h"
#include "dialup/system_functions.h"
#include "ui/gui.h"

namespace {

// Every library loaded from here on, and each library's own dependencies, come from the
// system directory, never from beside the program, which runs elevated.
void LoadLibrariesFromSystemOnly() {
    if (const auto set = sys::SetDefaultDllDirectories.Bound())
        set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    LoadLibrariesFromSystemOnly();
    // Before kdset.ini is touched: under another code page its keys would be misread.
    if (const std::wstring refusal = CodePageRefusal(GetACP()); !refusal.empty()) {
        MessageBoxW(nullptr, refusal.c_str(), L"Pordex", MB_OK | MB_ICONERROR | MB_TASKMODAL);
        ExitProcess(1);
    }
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
