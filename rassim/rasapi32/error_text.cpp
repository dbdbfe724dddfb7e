// RasGetErrorStringA with the service's Chinese texts (GBK once compiled) for the error codes
// a broadband dial meets.
#include <cstring>

#include "rasapi32/rasapi32.h"

namespace {

struct ErrorText {
    UINT code;
    const char* text;
};

constexpr ErrorText kErrorTexts[] = {
    {600, "操作挂起。"},
    {601, "检测到无效的端口句柄。"},
    {602, "指定的端口已经打开。"},
    {603, "调用方的缓冲区太小。"},
    {604, "指定了错误的信息。"},
    {606, "指定的端口未连接。"},
    {608, "设备不存在。"},
    {609, "设备类型不存在。"},
    {610, "指定的缓冲区无效。"},
    {615, "未找到端口。"},
    {616, "异步请求挂起。"},
    {617, "调制解调器(或其他连接设备)已经在断开连接。"},
    {618, "端口未打开。"},
    {619, "不能建立到远程计算机的连接，因此用于此连接的端口已关闭。"},
    {621, "系统无法打开电话簿文件。"},
    {622, "系统无法加载电话簿文件。"},
    {623, "系统无法找到此连接的电话簿项。"},
    {624, "系统无法更新电话簿文件。"},
    {625, "系统在电话簿文件中找到无效信息。"},
    {627, "找不到指定的项。"},
    {628, "在连接完成前，连接被远程计算机终止。"},
    {629, "远程计算机终止了连接。"},
    {630, "由于硬件故障，调制解调器(或其他连接设备)已断开连接。"},
    {631, "用户断开了调制解调器(或其他连接设备)的连接。"},
    {632, "检测到不正确的结构大小。"},
    {633, "调制解调器(或其他连接设备)已经在使用或没有正确配置。"},
    {635, "出现未知错误。"},
    {638, "远程服务器没有及时响应。"},
    {645, "出现内部身份验证错误。"},
    {646, "不允许此帐户在一天中的这个时间登录。"},
    {647, "此帐户已被禁用。"},
    {648, "此帐户的密码已过期。"},
    {649, "此帐户没有拨入的权限。"},
    {651, "调制解调器(或其他连接设备)报告了一个错误。"},
    {652, "调制解调器(或其他连接设备)发出了无法识别的响应。"},
    {668, "连接已中断。"},
    {676, "电话线路忙。"},
    {678, "远程计算机没有响应。"},
    {680, "没有拨号音。"},
    {691, "由于在此域上的用户名和/或密码无效，远程连接被拒绝。"},
    {718, "等待远程计算机的有效响应时，连接被终止。"},
    {720, "无法与远程计算机建立连接。可能需要更改此连接的网络设置。"},
    {734, "PPP 链路控制协议被终止。"},
    {756, "此连接已经在拨号。"},
    {769, "无法连接到指定目标。"},
    {797, "由于没有找到调制解调器(或其他连接设备)，无法建立到远程计算机的连接。"},
    {815, "无法建立宽带连接，因为远程服务器没有响应。"},
};

const char* FindText(UINT code) {
    for (const ErrorText& entry : kErrorTexts) {
        if (entry.code == code) return entry.text;
    }
    return nullptr;
}

}  // namespace

extern "C" DWORD WINAPI RasGetErrorStringA(UINT error, LPSTR text, DWORD textSize) {
    const char* found = FindText(error);
    if (!text || !found) return ERROR_INVALID_PARAMETER;
    const std::size_t length = std::strlen(found);
    if (textSize <= length) return ERROR_INSUFFICIENT_BUFFER;
    std::memcpy(text, found, length + 1);
    return ERROR_SUCCESS;
}
