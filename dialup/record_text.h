// GBK texts in and out of the fixed-size text members of the dial-up records.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

// Copies `text` cut to capacity - 1 bytes; the rest of the member stays as it was (NUL).
template <std::size_t Capacity>
void CopyCut(char (&member)[Capacity], std::string_view text) {
    std::memcpy(member, text.data(), std::min(text.size(), Capacity - 1));
}

// The text of `bytes` bytes at `text`, up to the first NUL.
inline std::string TextOf(const char* text, std::size_t bytes) { return std::string(text, strnlen(text, bytes)); }

// The text of a fixed-size member, which need not end in NUL.
template <std::size_t Capacity>
std::string TextOf(const char (&member)[Capacity]) {
    return TextOf(member, Capacity);
}
