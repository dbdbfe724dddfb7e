#include "ui/desktop_shell.h"

#include <exdisp.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include <string>

#include "core/owners.h"

namespace ui {
namespace {

template <typename Interface>
ComPointer<Interface> Query(IUnknown& object) {
    return Obtain<Interface>(
        [&](Interface** found) { return object.QueryInterface(__uuidof(Interface), reinterpret_cast<void**>(found)); });
}

// The desktop window's browser, found among the shell's windows.
ComPointer<IShellBrowser> DesktopBrowser() {
    const auto windows = Obtain<IShellWindows>([](IShellWindows** found) {
        return CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, __uuidof(IShellWindows),
                                reinterpret_cast<void**>(found));
    });
    VARIANT none = {};
    long window = 0;
    const auto desktop = windows ? Obtain<IDispatch>([&](IDispatch** found) {
        return windows->FindWindowSW(&none, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, found);
    })
                                 : nullptr;
    const auto services = desktop ? Query<IServiceProvider>(*desktop) : nullptr;
    return services ? Obtain<IShellBrowser>([&](IShellBrowser** found) {
        return services->QueryService(SID_STopLevelBrowser, __uuidof(IShellBrowser), reinterpret_cast<void**>(found));
    })
                    : nullptr;
}

// The shell object behind the desktop's view: its ShellExecute runs in the desktop's process.
ComPointer<IShellDispatch2> DesktopShell() {
    const auto browser = DesktopBrowser();
    const auto view = browser
                          ? Obtain<IShellView>([&](IShellView** found) { return browser->QueryActiveShellView(found); })
                          : nullptr;
    const auto background = view ? Obtain<IDispatch>([&](IDispatch** found) {
        return view->GetItemObject(SVGIO_BACKGROUND, __uuidof(IDispatch), reinterpret_cast<void**>(found));
    })
                                 : nullptr;
    const auto folderView = background ? Query<IShellFolderViewDual>(*background) : nullptr;
    const auto application =
        folderView ? Obtain<IDispatch>([&](IDispatch** found) { return folderView->get_Application(found); }) : nullptr;
    return application ? Query<IShellDispatch2>(*application) : nullptr;
}

std::wstring Wide(const char* text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    return wide;
}

}  // namespace

bool OpenThroughDesktop(const char* file) {
    ComScope com;
    const auto shell = DesktopShell();
    if (!shell)
        return false;
    const Bstr verb = MakeBstr(L"open");
    VARIANT none = {};
    VARIANT operation = {};
    operation.vt = VT_BSTR;
    operation.bstrVal = verb.get();
    VARIANT show = {};
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    return SUCCEEDED(shell->ShellExecute(MakeBstr(Wide(file)).get(), none, none, operation, show));
}

}  // namespace ui
