// The two functions the simulated iphlpapi.dll implements itself; every other export is
// forwarded to Wine's own IP Helper (see forward_def.cmake). Tests take the types of their
// function pointers from here.
#pragma once
#include <windows.h>
// after windows.h, which it needs
#include <iptypes.h>

extern "C" {
ULONG WINAPI GetAdaptersInfo(IP_ADAPTER_INFO* adapterInfo, ULONG* size);
DWORD WINAPI GetPerAdapterInfo(ULONG interfaceIndex, IP_PER_ADAPTER_INFO* perAdapterInfo, ULONG* size);
}
