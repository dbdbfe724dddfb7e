#include "core/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "core/code_page.h"
#include "core/integer_value.h"

namespace {

std::string Utf16le(const std::u16string& text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

struct Conversion {
    const char* name;
    std::string input;
    std::string gbk;
};

void PrintTo(const Conversion& conversion, std::ostream* out) {
    *out << conversion.name;
}

class WideToGbkTest : public testing::TestWithParam<Conversion> {};

}  // namespace

TEST_P(WideToGbkTest, ConvertsWholeOrNotAtAll) {
    EXPECT_EQ(WideToGbk(GetParam().input), GetParam().gbk);
}

INSTANTIATE_TEST_SUITE_P(
    Names, WideToGbkTest,
    testing::Values(Conversion{"Chinese", Utf16le(u"宽带连接"), "宽带连接"},
                    Conversion{"Ascii", Utf16le(u"PPPoE"), "PPPoE"},
                    Conversion{"LatinWithAGbkForm", Utf16le(u"é"), "\xA8\xA6"},
                    Conversion{"Empty", "", ""},
                    Conversion{"OddByteCount", Utf16le(u"PPPoE") + "P", ""},
                    Conversion{"EmojiAfterChinese", Utf16le(u"宽带😀"), ""},
                    Conversion{"LoneSurrogate", Utf16le(u"a\xD800" u"b"), ""},
                    Conversion{"CharacterGbkLacks", Utf16le(u"宽\u3400"), ""},
                    Conversion{"NoBestFitForKorean", Utf16le(u"\uAC00"), ""},
                    Conversion{"QuestionMarkIsNotAFailure", Utf16le(u"?宽"), "?宽"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HexTable, HoldsTwoUpperCaseDigitsPerByte) {
    EXPECT_STREQ(HexTable[0].data(), "00");
    EXPECT_STREQ(HexTable[10].data(), "0A");
    EXPECT_STREQ(HexTable[171].data(), "AB");
    EXPECT_STREQ(HexTable[255].data(), "FF");
}

namespace {

struct Number {
    const char* text;
    std::int32_t value;
};

void PrintTo(const Number& number, std::ostream* out) {
    *out << '"' << number.text << '"';
}

class IntegerValueTest : public testing::TestWithParam<Number> {};

}  // namespace

TEST_P(IntegerValueTest, ReadsTheLeadingInteger) {
    EXPECT_EQ(IntegerValue(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IntegerValueTest,
    testing::Values(Number{"5", 5}, Number{"120", 120}, Number{"  42abc", 42}, Number{"\t-7", -7},
                    Number{"+8", 8}, Number{"", 0}, Number{"abc", 0}, Number{"-", 0}, Number{"- 3", 0},
                    Number{"１２", 12}, Number{"　３分", 3}, Number{"－４", -4}, Number{"1２3", 123},
                    Number{"分5", 0}, Number{"99999999999", 2147483647}, Number{"-99999999999", -2147483647 - 1}));

TEST(CodePage, OnlyUnderChineseSimplifiedDoesTheProgramRunAndTheRefusalIsUtf16) {
    EXPECT_EQ(CodePageRefusal(936), L"");
    for (const UINT page : {65001u, 1252u, 950u}) {
        const std::wstring text = CodePageRefusal(page);
        EXPECT_NE(text.find(L"中文(简体，中国)"), std::wstring::npos) << page;
        EXPECT_NE(text.find(L"Chinese (Simplified, China)"), std::wstring::npos) << page;
    }
}
