#include "core/code_page.h"

namespace {

constexpr UINT kChineseSimplified = 936;

}  // namespace

std::wstring CodePageRefusal(UINT codePage) {
    if (codePage == kChineseSimplified)
        return {};
    return L"Pordex 需要把“非 Unicode 程序的语言”（系统区域设置）设为“中文(简体，中国)”，"
           L"并且不勾选“使用 Unicode UTF-8 提供全球语言支持”。请在“控制面板 → 区域 → 管理”中更改，"
           L"重新启动电脑后再运行 Pordex。\r\n\r\n"
           L"Pordex needs the language for non-Unicode programs (the system locale) set to "
           L"Chinese (Simplified, China), with \"Use Unicode UTF-8 for worldwide language support\" "
           L"turned off. Change it in Control Panel > Region > Administrative, restart the PC and "
           L"run Pordex again. (ANSI code page now: " +
           std::to_wstring(codePage) + L")";
}
