#include "ui/gui_thread.h"

#include <atomic>

#include "ui/gui.h"
#include "ui/window_registry.h"

namespace ui {
namespace {

constexpr char kCourierClass[] = "PordexCourier";
constexpr UINT kRunTask = WM_APP + 1;

std::atomic<DWORD> gGuiThread{0};
std::atomic<HWND> gCourier{nullptr};

bool MainWindowOpen() { return WindowHandle(WindowKind::Main) != nullptr; }

LRESULT CALLBACK CourierProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kRunTask)
        return DefWindowProcA(window, message, wParam, lParam);
    if (MainWindowOpen())
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
    return 0;
}

void RegisterCourierClass() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = CourierProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kCourierClass;
    RegisterClassA(&windowClass);
}

}  // namespace

void StartGuiThread() {
    gGuiThread.store(GetCurrentThreadId());
    if (gCourier.load())
        return;
    RegisterCourierClass();
    gCourier.store(CreateWindowExA(0, kCourierClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleA(nullptr), nullptr));
}

void EndGuiThread() {
    if (const HWND courier = gCourier.exchange(nullptr))
        DestroyWindow(courier);
    PostQuitMessage(0);
}

bool OnGuiThread() { return GetCurrentThreadId() == gGuiThread.load(); }

}  // namespace ui

namespace gui {

// SendMessage blocks the calling worker until the GUI thread has run the task, and the GUI
// thread runs it from whatever loop it is in (its own, a message box's, a menu's), so it
// never needs to wait for the worker in return.
void Invoke(const std::function<void()>& task) {
    if (ui::OnGuiThread()) {
        if (ui::MainWindowOpen())
            task();
        return;
    }
    if (const HWND courier = ui::gCourier.load()) {
        SendMessageA(courier, ui::kRunTask, 0, reinterpret_cast<LPARAM>(&task));
    }
}

void HandleMessage(MSG& message) {
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (ui::IsOpenWindow(root) && IsDialogMessageA(root, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

int RunMessageLoop() {
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        HandleMessage(message);
    return static_cast<int>(message.wParam);
}

}  // namespace gui
