// Small helpers for the fixed-size text fields and versioned records of the dial-up service.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace rassim {

// Copies `source` into `dest`, cut so that it always ends with a NUL.
inline void CopyText(char* dest, std::size_t capacity, const char* source) {
    const std::size_t length = std::min(std::strlen(source), capacity - 1);
    std::memcpy(dest, source, length);
    dest[length] = '\0';
}

template <std::size_t N>
void CopyText(char (&dest)[N], const char* source) {
    CopyText(dest, N, source);
}

// True when `size` is the dwSize of one of a record's published versions.
template <std::size_t N>
constexpr bool IsPublishedSize(DWORD size, const DWORD (&sizes)[N]) {
    return std::find(sizes, sizes + N, size) != sizes + N;
}

template <std::size_t N>
constexpr DWORD NewestSize(const DWORD (&sizes)[N]) {
    return sizes[N - 1];
}

}  // namespace rassim
