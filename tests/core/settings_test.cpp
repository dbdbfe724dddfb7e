#include "core/settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

class SettingsFileTest : public testing::Test {
protected:
    void SetUp() override { DeleteFileA(SettingsPath().c_str()); }
    void TearDown() override { DeleteFileA(SettingsPath().c_str()); }
};

}  // namespace

TEST_F(SettingsFileTest, APasswordIsStoredInPlainTextExactlyAsTyped) {
    SaveSetting("账号", "宽带密码", "p@ss;#=[词]\"x");
    EXPECT_EQ(FileBytes(SettingsPath()), "[账号]\r\n宽带密码=p@ss;#=[词]\"x\r\n");
    EXPECT_EQ(LoadSetting("账号", "宽带密码"), "p@ss;#=[词]\"x");
}

TEST_F(SettingsFileTest, ValuesTheProfileFunctionsWouldTrimReadBackUnchanged) {
    for (const char* password : {" secret", "secret ", "\tsecret", "\"secret\"", "'secret'", "\" \"", "  "}) {
        SaveSetting("账号", "宽带密码", password);
        EXPECT_EQ(LoadSetting("账号", "宽带密码"), password);
    }
    SaveSetting("账号", "宽带密码", "");
    EXPECT_EQ(LoadSetting("账号", "宽带密码"), "");
}

TEST_F(SettingsFileTest, AMissingFileOrKeyReadsAsEmptyText) {
    EXPECT_EQ(LoadSetting("设置", "永不掉线"), "");
    SaveSetting("设置", "最小化", "是");
    EXPECT_EQ(LoadSetting("设置", "永不掉线"), "");
    EXPECT_EQ(LoadSetting("账号", "最小化"), "");
}

TEST(AccountSettings, ReadersAlwaysSeeOneWholeAccountWhileItIsReplaced) {
    const AccountSettings first{std::string(300, 'a'), std::string(300, 'a'), std::string(300, 'a')};
    const AccountSettings second{"b", "b", "b"};
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    std::thread reader([&] {
        while (!stop) {
            AccountSettings seen = CurrentAccount();
            if (!(seen.entryName == seen.userName && seen.userName == seen.password))
                ++torn;
        }
    });
    for (int round = 0; round < 20000; ++round)
        ReplaceAccount(round % 2 ? first : second);
    stop = true;
    reader.join();
    EXPECT_EQ(torn, 0);
}

TEST_F(SettingsFileTest, EachAccountKeyLoadsIntoItsOwnField) {
    SaveSetting("账号", "宽带账号", "用户");
    SaveSetting("账号", "宽带密码", "密码");
    SaveSetting("账号", "连接名称", "宽带连接");
    LoadSettings();
    const AccountSettings loaded = CurrentAccount();
    EXPECT_EQ(loaded.userName, "用户");
    EXPECT_EQ(loaded.password, "密码");
    EXPECT_EQ(loaded.entryName, "宽带连接");
}
