#include "dialup/connection_states.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/row_substitute.h"

namespace {

constexpr std::size_t kErrorStringRow = 13;

struct NamedState {
    RASCONNSTATE state;
    const char* name;
};

void PrintTo(const NamedState& named, std::ostream* out) {
    *out << named.state;
}

class StateNameTest : public testing::TestWithParam<NamedState> {};

const std::string kTextOf300Bytes = [] { std::string t; while (t.size() < 300) t += "拒绝访问，密码无效。"; return t; }();

struct FakeErrorText {
    static inline UINT asked = 0;
    static DWORD WINAPI RasGetErrorString(UINT error, LPSTR buffer, DWORD size) {
        asked = error;
        if (error == 691 && size <= kTextOf300Bytes.size())
            return ERROR_INSUFFICIENT_BUFFER;
        if (error == 691)
            std::strcpy(buffer, kTextOf300Bytes.c_str());
        else if (error == 999)
            std::memset(buffer, 'x', size);  // a service that leaves no NUL
        return error == 691 ? 0 : ERROR_INVALID_PARAMETER;
    }
};

}  // namespace

TEST_P(StateNameTest, NamesTheState) {
    EXPECT_EQ(ConnectionStateName(GetParam().state), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StateNameTest,
    testing::Values(NamedState{0, "正在打开端口"}, NamedState{5, "开始认证"}, NamedState{8, "CallbackRequested"},
                    NamedState{18, "发送完成"}, NamedState{21, "正在登录网络"}, NamedState{22, "未知错误：22"},
                    NamedState{23, "未知错误：23"}, NamedState{24, "重试身份验证"},
                    NamedState{0x1003, "PasswordExpired"}, NamedState{0x1004, "未知错误：4100"},
                    NamedState{0x2000, "连接成功"}, NamedState{0x2001, "断开连接"},
                    NamedState{0xFFFFFFFF, "未知错误：4294967295"}));

TEST(DialErrorText, IsTheServiceTextOrEmptyAndAlwaysEnds) {
    RowSubstitute<decltype(FakeErrorText::RasGetErrorString)> row(kErrorStringRow, FakeErrorText::RasGetErrorString);
    EXPECT_EQ(GetDialErrorText(691), kTextOf300Bytes);
    EXPECT_EQ(GetDialErrorText(12345), "");
    EXPECT_EQ(FakeErrorText::asked, 12345u);
    EXPECT_EQ(GetDialErrorText(999), std::string(511, 'x'));
}
