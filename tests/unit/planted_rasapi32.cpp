// A rasapi32.dll planted beside the unit tests: the program must never load it.
#include <windows.h>

extern "C" DWORD WINAPI RasGetErrorStringA(UINT, LPSTR text, DWORD size) {
    lstrcpynA(text, "planted", static_cast<int>(size));
    return 0;
}
