// For tests whose thread is the GUI thread: what a pop-up menu looked like while it was open.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>

namespace popup_menu_watch {

// Runs `popUp`, which opens a pop-up menu on this thread and returns once the menu closes.
// Another thread waits for the menu to appear, notes where it is and which window is in the
// foreground, then closes it with the Escape key. Nothing when no menu appeared within 5 s.
struct ShownMenu {
    RECT rect;
    HWND foreground;
};
std::optional<ShownMenu> WatchPopUpMenu(const std::function<void()>& popUp);

// Moves the mouse cursor and waits until the system reports it there; false if it never does.
bool PlaceCursor(POINT screen);

}  // namespace popup_menu_watch
