// The program's text conversions between GBK (code page 936) and UTF-16, and the hexadecimal
// digits of every byte value.
#pragma once
#include <array>
#include <string>
#include <string_view>

// The GBK text of UTF-16LE bytes (no byte-order mark, no terminating NUL). Empty when the input
// is empty, has an odd byte count, holds a surrogate or a character that GBK lacks: a name is
// either converted whole or not at all.
std::string WideToGbk(std::string_view utf16leBytes);

// A GBK text of the program (path, user name) as the wide text COM takes.
std::wstring WideText(const std::string& text);

// Entry n is the byte value n as two upper-case hexadecimal digits.
inline constexpr std::array<std::array<char, 3>, 256> HexTable = [] {
    constexpr char digits[] = "0123456789ABCDEF";
    std::array<std::array<char, 3>, 256> table{};
    for (int value = 0; value < 256; ++value)
        table[value] = {digits[value >> 4], digits[value & 0xF], '\0'};
    return table;
}();
