// OnlineIcon and OfflineIcon from the program's resources.
#pragma once
#include <windows.h>

// A new icon handle of `size` × `size` pixels; the caller owns it.
HICON LoadStatusIcon(bool online, int size);
