#include "ui/dpi.h"

#include <cstring>

#include "dialup/system_functions.h"

namespace ui {

Rect Scaled(const Rect& rect, int dpi) {
    return {Scaled(rect.left, dpi), Scaled(rect.top, dpi), Scaled(rect.width, dpi), Scaled(rect.height, dpi)};
}

int SystemDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

int DpiOf(HWND window) {
    if (const auto forWindow = sys::GetDpiForWindow.Bound()) {
        if (const UINT dpi = forWindow(window))
            return static_cast<int>(dpi);
    }
    return SystemDpi();
}

int MetricAt(int index, int dpi) { return MulDiv(GetSystemMetrics(index), dpi, SystemDpi()); }

UniqueFont MessageFont(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    const auto forDpi = sys::SystemParametersInfoForDpi.Bound();
    if (!forDpi || !forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        // Before Windows 10 1607 the system gives the font at its own DPI only.
        if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            return UniqueFont(nullptr);
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
    }
    return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

UniqueFont MakeFont(const FontDef& font, int dpi) {
    LOGFONTA logFont{};
    logFont.lfHeight = -Scaled(font.height, dpi);
    logFont.lfWeight = font.weight;
    logFont.lfCharSet = font.charset;
    std::strncpy(logFont.lfFaceName, font.face, LF_FACESIZE - 1);
    return UniqueFont(CreateFontIndirectA(&logFont));
}

SIZE FrameSize(DWORD style, int dpi) {
    RECT frame{};
    if (const auto forDpi = sys::AdjustWindowRectExForDpi.Bound(); forDpi && forDpi(&frame, style, FALSE, 0, dpi))
        return {frame.right - frame.left, frame.bottom - frame.top};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const int system = SystemDpi();
    return {MulDiv(frame.right - frame.left, dpi, system), MulDiv(frame.bottom - frame.top, dpi, system)};
}

SIZE OuterSize(SIZE design, DWORD style, int dpi) {
    const SIZE designFrame = FrameSize(style, kDesignDpi);
    const SIZE frame = FrameSize(style, dpi);
    return {frame.cx + Scaled(design.cx - designFrame.cx, dpi), frame.cy + Scaled(design.cy - designFrame.cy, dpi)};
}

int DesignWidth(int outerWidth, DWORD style, int dpi) {
    return FrameSize(style, kDesignDpi).cx + MulDiv(outerWidth - FrameSize(style, dpi).cx, kDesignDpi, dpi);
}

}  // namespace ui
