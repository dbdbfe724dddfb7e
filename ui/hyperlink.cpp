#include "ui/hyperlink.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "core/owners.h"
#include "ui/desktop_shell.h"
#include "ui/transparency.h"

namespace ui {
namespace {

// Browsers' conventional colour for a visited link; Windows has no system colour for it.
constexpr COLORREF kVisitedColour = RGB(0x80, 0x00, 0x80);

enum LinkFlags : LONG_PTR { kHot = 1, kVisited = 2 };

LONG_PTR Flags(HWND link) { return GetWindowLongPtrA(link, GWLP_USERDATA); }

void SetFlag(HWND link, LONG_PTR flag, bool on) {
    SetWindowLongPtrA(link, GWLP_USERDATA, on ? Flags(link) | flag : Flags(link) & ~flag);
}

// The font the window gave the link, and its underlined copy, which the link owns.
constexpr char kPlainFont[] = "PordexLinkFont";
constexpr char kHotFont[] = "PordexLinkHotFont";

HFONT PlainFont(HWND link) {
    const auto font = static_cast<HFONT>(GetPropA(link, kPlainFont));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HFONT HotFont(HWND link) { return static_cast<HFONT>(GetPropA(link, kHotFont)); }

void ForgetHotFont(HWND link) {
    if (const HFONT hot = HotFont(link))
        DeleteObject(hot);
    RemovePropA(link, kHotFont);
}

// A new font from the window, at a new DPI: the underlined copy follows it.
void TakePlainFont(HWND link, HFONT font) {
    ForgetHotFont(link);
    SetPropA(link, kPlainFont, font);
    LOGFONTA logFont{};
    GetObjectA(PlainFont(link), sizeof logFont, &logFont);
    logFont.lfUnderline = TRUE;
    SetPropA(link, kHotFont, CreateFontIndirectA(&logFont));
}

void SetHot(HWND link, bool hot) {
    SetFlag(link, kHot, hot);
    SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(hot ? HotFont(link) : PlainFont(link)), FALSE);
    RedrawBackdrop(link);
}

void TrackLeave(HWND link) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, link, 0};
    TrackMouseEvent(&track);
}

bool ShellOpen(const char* file, const char* parameters) {
    const auto result = ShellExecuteA(nullptr, "open", file, parameters, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

// The default browser, unelevated through the desktop's shell; where there is none, through the
// "open" verb here, and failing that, the program registered for ".htm".
bool OpenWebTarget(const char* address) {
    if (OpenThroughDesktop(address) || ShellOpen(address, nullptr))
        return true;
    char browser[MAX_PATH];
    DWORD size = sizeof browser;
    if (FAILED(AssocQueryStringA(ASSOCF_NONE, ASSOCSTR_EXECUTABLE, ".htm", "open", browser, &size))) {
        return false;
    }
    return ShellOpen(browser, address);
}

// The action may destroy the link's window, so nothing touches `link` after it.
void Release(HWND link, const ControlDef& def) {
    if (!def.target) {
        if (def.action)
            def.action();
        return;
    }
    if (!OpenWebTarget(def.target))
        return;
    SetFlag(link, kVisited, true);
    RedrawBackdrop(link);
}

LRESULT CALLBACK LinkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR defData) {
    switch (message) {
        case WM_SETCURSOR:
            SetCursor(LoadCursorA(nullptr, IDC_HAND));
            return TRUE;
        case WM_MOUSEMOVE:
            if (!(Flags(link) & kHot)) {
                SetHot(link, true);
                TrackLeave(link);
            }
            break;
        case WM_MOUSELEAVE:
            SetHot(link, false);
            break;
        case WM_SETFONT:
            if (const auto font = reinterpret_cast<HFONT>(wParam); font != HotFont(link) && font != PlainFont(link)) {
                TakePlainFont(link, font);
                if (Flags(link) & kHot)
                    wParam = reinterpret_cast<WPARAM>(HotFont(link));
            }
            break;
        case WM_LBUTTONUP:
            Release(link, *reinterpret_cast<const ControlDef*>(defData));
            return 0;
        case WM_NCDESTROY:
            ForgetHotFont(link);
            RemovePropA(link, kPlainFont);
            RemoveWindowSubclass(link, LinkProc, 0);
            break;
    }
    return DefSubclassProc(link, message, wParam, lParam);
}

}  // namespace

void AttachHyperlink(HWND link, const ControlDef& def) {
    TakePlainFont(link, reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0)));
    SetWindowSubclass(link, LinkProc, 0, reinterpret_cast<DWORD_PTR>(&def));
}

// A high contrast theme has no colour for visited links: purple could vanish on its background.
COLORREF LinkColour(HWND link) {
    HIGHCONTRASTA contrast{sizeof contrast};
    const bool high = SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                      (contrast.dwFlags & HCF_HIGHCONTRASTON);
    return (Flags(link) & kVisited) && !high ? kVisitedColour : GetSysColor(COLOR_HOTLIGHT);
}

}  // namespace ui
