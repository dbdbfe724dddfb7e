// Sizes at a window's DPI. The window tables give every size at 96 DPI; everything shown is
// scaled from there here, one way, so that 96 DPI keeps the tables' sizes exactly.
#pragma once
#include <windows.h>

#include "core/owners.h"
#include "ui/window_def.h"

namespace ui {

inline constexpr int kDesignDpi = 96;

// MulDiv rounds half away from zero, so a size and its mirror image scale alike.
inline int Scaled(int value, int dpi) { return MulDiv(value, dpi, kDesignDpi); }
Rect Scaled(const Rect& rect, int dpi);

int SystemDpi();
// The DPI the window is shown at: its monitor's where the system tells, else the system's.
int DpiOf(HWND window);
// A metric that the system gives at its own DPI, at `dpi`.
int MetricAt(int index, int dpi);

// The system's message font at `dpi`.
UniqueFont MessageFont(int dpi);
UniqueFont MakeFont(const FontDef& font, int dpi);

// What a frame of `style` adds to the client area at `dpi`.
SIZE FrameSize(DWORD style, int dpi);
// The outer size at `dpi` of a window whose outer size at 96 DPI is `design`: its client
// area scaled, its frame as the system draws it at that DPI.
SIZE OuterSize(SIZE design, DWORD style, int dpi);
// The inverse for a width.
int DesignWidth(int outerWidth, DWORD style, int dpi);

}  // namespace ui
