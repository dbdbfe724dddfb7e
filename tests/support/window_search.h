// Finding a shown window by its class, for EnumWindows and EnumThreadWindows.
#pragma once
#include <windows.h>

namespace window_search {

struct ClassSearch {
    const char* className;
    HWND found;
};

// Stops at the first visible window of `className` (case-insensitive); lParam is a ClassSearch.
inline BOOL CALLBACK MatchVisibleClass(HWND window, LPARAM lParam) {
    auto& search = *reinterpret_cast<ClassSearch*>(lParam);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpiA(className, search.className) != 0 || !IsWindowVisible(window)) return TRUE;
    search.found = window;
    return FALSE;
}

}  // namespace window_search
