// RasGetErrorStringA: the service's texts, in GBK, and its answers to bad requests.
#include <raserror.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "sim_support.h"

namespace simtest {
namespace {

using SimErrorText = SimTest;

bool IsGbkWithChinese(const std::string& text) {
    WCHAR wide[512];
    const int length = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, text.c_str(), -1, wide, 512);
    return length > 0 && std::any_of(wide, wide + length, [](WCHAR c) { return c >= 0x4E00 && c <= 0x9FFF; });
}

std::string TextOf(UINT code) {
    char text[260] = {};
    EXPECT_EQ(Ras().RasGetErrorStringA(code, text, sizeof(text)), 0u) << code;
    return text;
}

TEST_F(SimErrorText, EveryCodeOfTheServiceRangeHasAChineseTextInGbk) {
    for (UINT code = 600; code <= 878; ++code) {
        const std::string text = TextOf(code);
        EXPECT_TRUE(IsGbkWithChinese(text)) << code << ": " << text;
    }
    EXPECT_NE(TextOf(691).find("密码"), std::string::npos);
    EXPECT_NE(TextOf(678).find("没有响应"), std::string::npos);
    EXPECT_NE(TextOf(623).find("电话簿"), std::string::npos);
}

TEST_F(SimErrorText, UnknownCodeIsAnInvalidParameterAndLeavesTheBufferAlone) {
    for (const UINT code : {0u, 5u, 87u, 599u, 879u, 999u, 1000u, 0xFFFFFFFFu}) {
        char text[260];
        std::memset(text, 'x', sizeof(text));
        EXPECT_EQ(Ras().RasGetErrorStringA(code, text, sizeof(text)), static_cast<DWORD>(ERROR_INVALID_PARAMETER))
            << code;
        EXPECT_EQ(text[0], 'x') << code;
    }
}

TEST_F(SimErrorText, BufferMustHoldTheTextAndItsTerminator) {
    const std::string text = TextOf(691);
    std::string buffer(text.size() + 1, 'x');
    EXPECT_EQ(Ras().RasGetErrorStringA(691, buffer.data(), static_cast<DWORD>(text.size())),
              static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(Ras().RasGetErrorStringA(691, buffer.data(), static_cast<DWORD>(text.size() + 1)), 0u);
    EXPECT_STREQ(buffer.c_str(), text.c_str());
    EXPECT_EQ(Ras().RasGetErrorStringA(691, nullptr, 260), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
}  // namespace simtest
