#include "tests/support/tray_tooltip_watch.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace tray_tooltip_watch {
namespace {

using NotifyIcon = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);

NotifyIcon gShellNotifyIcon = nullptr;
std::mutex gLock;
std::string gTooltip;

BOOL WINAPI NoteNotifyIcon(DWORD action, PNOTIFYICONDATAA data) {
    const BOOL done = gShellNotifyIcon(action, data);
    const std::lock_guard lock(gLock);
    if (action == NIM_DELETE)
        gTooltip.clear();
    else if ((data->uFlags & NIF_ICON) && (data->uFlags & NIF_TIP))
        gTooltip = data->szTip;
    return done;
}

// The entry of the executable's import table through which its code calls `function`.
void** ImportSlot(const char* library, const char* function) {
    auto* const base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* dll = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); dll->Name; ++dll) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + dll->Name), library) != 0)
            continue;
        const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* named = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(named->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

// Before main, so that no call goes unnoticed; without the import every test of the icon
// would read an empty tooltip, so the program stops instead.
struct Watch {
    Watch() {
        void** slot = ImportSlot("shell32.dll", "Shell_NotifyIconA");
        if (!slot) {
            std::fputs("tray_tooltip_watch: the program does not import Shell_NotifyIconA\n", stderr);
            std::abort();
        }
        DWORD protection = 0;
        VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
        gShellNotifyIcon = reinterpret_cast<NotifyIcon>(*slot);
        *slot = reinterpret_cast<void*>(NoteNotifyIcon);
        VirtualProtect(slot, sizeof *slot, protection, &protection);
    }
} gWatch;

}  // namespace

std::string TrayTooltip() {
    const std::lock_guard lock(gLock);
    return gTooltip;
}

}  // namespace tray_tooltip_watch
