// What the shell link and the Task Scheduler calls share: owners for COM pointers and BSTRs,
// COM for the calling thread, and the wide text both interfaces take.
#pragma once
#include <objbase.h>
#include <oleauto.h>

#include <memory>
#include <string>
#include <string_view>

template <typename Interface>
struct ComRelease {
    void operator()(Interface* object) const { object->Release(); }
};
template <typename Interface>
using ComPointer = std::unique_ptr<Interface, ComRelease<Interface>>;

// The interface that `call(Interface**)` hands out, null when the call fails.
template <typename Interface, typename Call>
ComPointer<Interface> Obtain(Call&& call) {
    Interface* raw = nullptr;
    const HRESULT result = call(&raw);
    return ComPointer<Interface>(SUCCEEDED(result) ? raw : nullptr);
}

struct BstrFree {
    void operator()(BSTR text) const { SysFreeString(text); }
};
using Bstr = std::unique_ptr<OLECHAR, BstrFree>;

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

// A GBK text of the program (path, user name) as the wide text COM takes.
inline std::wstring WideText(const std::string& text) {
    const int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(size > 0 ? size : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), size);
    wide.resize(wide.size() - 1);
    return wide;
}
