// Every text of the program and every key of kdset.ini is GBK. Under another ANSI code page
// the profile functions convert those bytes otherwise: under UTF-8 "宽带密码" and "连接名称"
// both become eight U+FFFD and one key overwrites the other.
#pragma once
#include <windows.h>

#include <string>

// The message for a system whose ANSI code page is `codePage`, in Chinese and English; empty
// where the program can run. UTF-16, so that it reads right whatever the code page.
std::wstring CodePageRefusal(UINT codePage);
