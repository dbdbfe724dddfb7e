// rasctl: what it shows of the world, and how it refuses bad requests.
#include <regex>
#include <string>
#include <vector>

#include "sim_support.h"

namespace simtest {
namespace {

using SimControl = SimTest;

// rasctl writes its console text with CR LF line ends.
std::string Unix(std::string text) {
    std::erase(text, '\r');
    return text;
}

TEST_F(SimControl, StateShowsWhatOtherProcessesMade) {
    EXPECT_EQ(StateLines("account"), std::vector<std::string>{"account any"});
    CreateEntry("宽带连接");
    RasctlOk("account add 账号 密码");
    RasctlOk("dial fail 691 5");
    RasctlOk("dial refuse 633 --with-handle");
    RasctlOk("dial time 800");
    RasctlOk("dial address 10.1.2.3");
    RasctlOk("hangup fail 2 668");
    RasctlOk("hangup delay 0");
    RasctlOk("enum fail 1 8");
    const HRASCONN handle = UpFromControl("宽带连接 --address 10.0.0.5");

    EXPECT_EQ(StateLines("account"), std::vector<std::string>{"account user=\"账号\" password=\"密码\""});
    const std::vector<std::string> entries = StateLines("entry");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(std::regex_search(
        entries[0],
        std::regex(
            "^entry name=\"\xBF\xED\xB4\xF8\xC1\xAC\xBD\xD3\" guid=\\{[0-9A-F-]{36}\\} size=2948 device=\"PPPoE\"$")))
        << entries[0];
    const std::vector<std::string> connections = StateLines("connection");
    ASSERT_EQ(connections.size(), 1u);
    char expected[64];
    std::snprintf(expected, sizeof(expected), "handle=0x%lX ",
                  static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(handle)));
    EXPECT_NE(connections[0].find(expected), std::string::npos) << connections[0];
    EXPECT_NE(connections[0].find(" link=connected state=8192 error=0 address=10.0.0.5 "), std::string::npos)
        << connections[0];
    EXPECT_EQ(StateLines("dial-fail"), std::vector<std::string>{"dial-fail code=691 state=5"});
    EXPECT_EQ(StateLines("dial-refuse"), std::vector<std::string>{"dial-refuse code=633 handle=yes"});
    EXPECT_EQ(StateLines("dial-time"), std::vector<std::string>{"dial-time ms=800"});
    EXPECT_EQ(StateLines("dial-address"), std::vector<std::string>{"dial-address address=10.1.2.3"});
    EXPECT_EQ(StateLines("hangup-fail"), std::vector<std::string>{"hangup-fail count=2 code=668"});
    EXPECT_EQ(StateLines("hangup-delay"), std::vector<std::string>{"hangup-delay ms=0"});
    EXPECT_EQ(StateLines("enum-fail"), std::vector<std::string>{"enum-fail count=1 code=8"});

    RasctlOk("reset");
    EXPECT_EQ(Unix(RasctlOk("state")), "account any\n") << "reset empties the world, the hang-up delay is the default";
}

struct BadRequest {
    const char* arguments;
    DWORD exitCode;
};

TEST_F(SimControl, RefusesBadRequestsWithoutChangingTheWorld) {
    RasctlOk("entry add ADSL");
    const std::string before = RasctlOk("state");
    const BadRequest requests[] = {
        {"", 2},
        {"frobnicate", 2},
        {"entry", 2},
        {"entry add", 2},
        {"entry add a b c d", 2},
        {"up ADSL --adress 1.2.3.4", 2},
        {"up ADSL --address 1.2.3", 2},
        {"up ADSL --address 1.2.3.256", 2},
        {"up ADSL --listed-as 宽带\\uD83D\\uDE0", 2},
        {"up ADSL --listed-as \\u-001", 2},
        {"up ADSL --count 2", 2},
        {"up ADSL --phonebook C:\\other.pbk --count 0", 2},
        {"dial fail 0 5", 2},
        {"dial fail x 5", 2},
        {"dial time -5", 2},
        {"hangup fail two 668", 2},
        {"hangup delay soon", 2},
        {"drop", 2},
        {"drop ADSL --handle 0x1000", 2},
        {"entry add a|b", 1},
        {"entry add ADSL", 1},
        {"entry remove nothing", 1},
        {"account remove nobody", 1},
        {"up nothing", 1},
        {"up ADSL --phonebook C:\\other.pbk --count 321", 1},
        {"drop ADSL", 1},
        {"drop --handle 0x1", 1},
    };
    for (const BadRequest& request : requests) {
        const ControlRun run = Rasctl(request.arguments);
        EXPECT_EQ(run.exitCode, request.exitCode) << request.arguments << "\n" << run.output;
        EXPECT_FALSE(run.output.empty()) << request.arguments << " should say why";
    }
    EXPECT_EQ(RasctlOk("state"), before);
    RasctlOk("up ADSL");
    EXPECT_EQ(Rasctl("up ADSL").exitCode, 1u) << "connected already";
}

}  // namespace
}  // namespace simtest
