// The bytes of one of the running program's resources.
#pragma once
#include <windows.h>

#include <cstdint>
#include <span>

// Empty when the program has no such resource.
inline std::span<const std::uint8_t> ResourceBytes(LPCSTR name, LPCSTR type) {
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC found = FindResourceA(module, name, type);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return {};
    return {static_cast<const std::uint8_t*>(data), SizeofResource(module, found)};
}
