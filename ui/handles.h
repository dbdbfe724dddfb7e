// Owners for the GDI and USER handles that the windows keep.
#pragma once
#include <windows.h>

#include <memory>
#include <type_traits>

namespace ui {

template <typename Handle, auto Release>
struct HandleDeleter {
    void operator()(Handle handle) const { Release(handle); }
};

template <typename Handle, auto Release>
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<Handle>, HandleDeleter<Handle, Release>>;

using UniqueFont = UniqueHandle<HFONT, DeleteObject>;
using UniqueMenu = UniqueHandle<HMENU, DestroyMenu>;
using UniqueMemoryDc = UniqueHandle<HDC, DeleteDC>;
using UniqueIcon = UniqueHandle<HICON, DestroyIcon>;

// Selects `object` into `dc` for the lifetime of this guard.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc_, previous_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace ui
