#include "tests/support/process_footprint.h"

namespace process_footprint {
namespace {

// Handle values are 16-bit table indices; Wine also takes one without its generation bits.
constexpr ULONG_PTR kHandleValues = 0x10000;

}  // namespace

std::size_t KernelHandles(HANDLE process) {
    std::size_t count = 0;
    for (ULONG_PTR value = 4; value < kHandleValues; value += 4) {
        HANDLE copy = nullptr;
        if (DuplicateHandle(process, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0, FALSE,
                            DUPLICATE_SAME_ACCESS)) {
            CloseHandle(copy);
            ++count;
        }
    }
    return count;
}

std::size_t PrivateBytes(HANDLE process) {
    std::size_t bytes = 0;
    MEMORY_BASIC_INFORMATION region = {};
    for (const char* address = nullptr; VirtualQueryEx(process, address, &region, sizeof region) == sizeof region;
         address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            bytes += region.RegionSize;
    }
    return bytes;
}

std::size_t GdiObjects() {
    std::size_t count = 0;
    for (ULONG_PTR value = 1; value < kHandleValues; ++value)
        count += GetObjectType(reinterpret_cast<HGDIOBJ>(value)) != 0;
    return count;
}

std::size_t IconObjects() {
    std::size_t count = 0;
    for (ULONG_PTR value = 2; value < kHandleValues; value += 2) {
        ICONINFO icon = {};
        if (!GetIconInfo(reinterpret_cast<HICON>(value), &icon))
            continue;
        DeleteObject(icon.hbmMask);
        if (icon.hbmColor)
            DeleteObject(icon.hbmColor);
        ++count;
    }
    return count;
}

}  // namespace process_footprint
