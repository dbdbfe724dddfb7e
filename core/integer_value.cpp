#include "core/integer_value.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

constexpr unsigned char kFullWidthRow = 0xA3;  // GBK row of the full-width ASCII forms
constexpr unsigned char kSymbolRow = 0xA1;     // GBK row holding the ideographic space
constexpr unsigned char kIdeographicSpace = 0xA1;

// One character of the text, full-width forms folded to ASCII; leaves `at` after it.
// A double-byte character without an ASCII form comes back as 0.
char NextCharacter(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x81 || at + 1 >= text.size()) {
        ++at;
        return static_cast<char>(lead);
    }
    const auto trail = static_cast<unsigned char>(text[at + 1]);
    at += 2;
    if (lead == kFullWidthRow && trail >= 0xA1 && trail <= 0xFE)
        return static_cast<char>(trail - 0x80);
    if (lead == kSymbolRow && trail == kIdeographicSpace)
        return ' ';
    return 0;
}

}  // namespace

std::int32_t IntegerValue(std::string_view gbkText) {
    std::size_t at = 0;
    char c = 0;
    do {
        if (at >= gbkText.size())
            return 0;
        c = NextCharacter(gbkText, at);
    } while (c == ' ' || c == '\t');

    const bool negative = c == '-';
    if (c == '-' || c == '+') {
        if (at >= gbkText.size())
            return 0;
        c = NextCharacter(gbkText, at);
    }
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    while (c >= '0' && c <= '9') {
        magnitude = std::min(magnitude * 10 + (c - '0'), kLimit);
        if (at >= gbkText.size())
            break;
        c = NextCharacter(gbkText, at);
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}
