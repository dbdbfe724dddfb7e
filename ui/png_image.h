// PNG images turned into bitmaps ready for AlphaBlend.
#pragma once
#include <windows.h>

#include <cstddef>
#include <span>

#include "core/owners.h"

// A 32-bit top-down DIB section with premultiplied alpha (AC_SRC_ALPHA), or null when `png`
// is not a complete, readable PNG image.
UniqueBitmap DecodePng(std::span<const std::byte> png);

// The About window's 96 × 96 logo from the running program's resources.
UniqueBitmap LoadAboutLogo();
