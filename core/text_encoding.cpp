#include "core/text_encoding.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace {

constexpr UINT kGbkCodePage = 936;

bool IsSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

}  // namespace

std::string WideToGbk(std::string_view utf16leBytes) {
    if (utf16leBytes.empty() || utf16leBytes.size() % 2 != 0 || utf16leBytes.size() / 2 > INT_MAX)
        return {};
    std::wstring units(utf16leBytes.size() / 2, L'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto low = static_cast<unsigned char>(utf16leBytes[2 * i]);
        const auto high = static_cast<unsigned char>(utf16leBytes[2 * i + 1]);
        units[i] = static_cast<wchar_t>(low | high << 8);
    }
    // The code page converter maps a lone or paired surrogate to the default character on some
    // systems and not on others; outside the Basic Multilingual Plane GBK has nothing anyway.
    if (std::ranges::any_of(units, IsSurrogate))
        return {};

    // No UTF-16 code unit needs more than two GBK bytes.
    std::string gbk(utf16leBytes.size(), '\0');
    BOOL usedDefault = FALSE;
    const int written =
        WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, units.data(), static_cast<int>(units.size()),
                            gbk.data(), static_cast<int>(gbk.size()), nullptr, &usedDefault);
    if (written <= 0 || usedDefault)
        return {};
    gbk.resize(written);
    return gbk;
}

std::wstring WideText(const std::string& text) {
    const int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(size > 0 ? size : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), size);
    wide.resize(wide.size() - 1);
    return wide;
}
