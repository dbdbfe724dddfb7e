// Owners of handles and COM objects: each releases what it holds when it goes, and COM for the
// calling thread while a scope lives.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <memory>
#include <string_view>
#include <type_traits>

// `Release` is the function that frees this kind of handle: a system function or a typed
// wrapper of one.
template <typename Handle, auto Release>
struct HandleDeleter {
    void operator()(Handle handle) const { Release(handle); }
};

template <typename Handle, auto Release>
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<Handle>, HandleDeleter<Handle, Release>>;

using UniqueFont = UniqueHandle<HFONT, DeleteObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, DeleteObject>;
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

template <typename Interface>
void ReleaseObject(Interface* object) {
    object->Release();
}
template <typename Interface>
using ComPointer = UniqueHandle<Interface*, ReleaseObject<Interface>>;

// The interface that `call(Interface**)` hands out, null when the call fails.
template <typename Interface, typename Call>
ComPointer<Interface> Obtain(Call&& call) {
    Interface* raw = nullptr;
    const HRESULT result = call(&raw);
    return ComPointer<Interface>(SUCCEEDED(result) ? raw : nullptr);
}

using Bstr = UniqueHandle<BSTR, SysFreeString>;

inline Bstr MakeBstr(std::wstring_view text) {
    return Bstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

// COM for the calling thread while this lives; a thread that already has it keeps it.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (initialised_)
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};
