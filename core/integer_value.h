// The integer value of a control's text, as the number boxes of the Main window are read.
#pragma once
#include <cstdint>
#include <string_view>

// The leading decimal integer of a GBK text: optional blanks, an optional sign, digits.
// Full-width characters count as their half-width forms. 0 when the text does not begin with
// a number; values beyond 32 bits are held at the nearest 32-bit limit.
std::int32_t IntegerValue(std::string_view gbkText);
