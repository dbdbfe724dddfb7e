#include "dialup/connection_states.h"

#include <atomic>
#include <string_view>

#include "core/status_display.h"
#include "dialup/record_text.h"
#include "dialup/system_functions.h"

namespace {

struct StateName {
    RASCONNSTATE state;
    std::string_view text;
};

constexpr StateName kStateNames[] = {
    {0, "正在打开端口"},
    {1, "端口打开"},
    {2, "正在连接设备"},
    {3, "完成设备连接"},
    {4, "所有设备已连接上"},
    {5, "开始认证"},
    {6, "认证通知"},
    {7, "认证测试"},
    {8, "CallbackRequested"},
    {9, "ChangePasswordRequested"},
    {10, "开始发送"},
    {11, "LinkSpeedCalculation"},
    {12, "认证通过"},
    {13, "ReauthenticationStarted"},
    {14, "通过身份验证"},
    {15, "PreparationForCallback"},
    {16, "WaitingForModemReset"},
    {17, "WaitingForCallback"},
    {18, "发送完成"},
    {19, "StartAuthentication"},
    {20, "CallbackComplete"},
    {21, "正在登录网络"},
    {0x1000, "Interactive"},
    {0x1001, "RetryAuthentication"},
    {0x1002, "CallbackSetByCaller"},
    {0x1003, "PasswordExpired"},
    {0x2000, "连接成功"},
    {0x2001, "断开连接"},
    {24, "重试身份验证"},
};

// The service refuses a buffer that is too small outright; 512 bytes hold any of its texts.
constexpr DWORD kErrorTextBytes = 512;

std::atomic<DWORD> gNotifiedError{0};

}  // namespace

void WINAPI OnDialProgress(UINT, RASCONNSTATE state, DWORD error) {
    if (error != 0) {
        gNotifiedError = error;
        SetConnectionPane("拨号：" + GetDialErrorText(error));
    } else if (state != RASCS_OpenPort)
        SetConnectionPane(ConnectionStateName(state));
}

DWORD TakeNotifiedError() { return gNotifiedError.exchange(0); }

std::string ConnectionStateName(RASCONNSTATE state) {
    for (const StateName& name : kStateNames)
        if (name.state == state)
            return std::string(name.text);
    return "未知错误：" + std::to_string(state);
}

std::string GetDialErrorText(DWORD error) {
    char text[kErrorTextBytes] = {};
    sys::RasGetErrorStringA(error, text, kErrorTextBytes);
    // The last byte stays NUL whatever the service wrote.
    return TextOf(text, kErrorTextBytes - 1);
}
