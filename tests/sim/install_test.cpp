// The prefix loads the simulator in place of Wine's DLLs, and Wine's programs keep working.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "sim_support.h"

namespace simtest {
namespace {

using SimInstall = SimTest;

HMODULE ModuleOf(FARPROC function) {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(function), &module);
    return module;
}

TEST_F(SimInstall, SystemDirectoryDllsAreTheSimulators) {
    // Wine's own rasapi32 also exports the wide dial function; the simulator does not.
    EXPECT_EQ(GetProcAddress(Ras().module, "RasDialW"), nullptr);
    EXPECT_EQ(ModuleOf(GetProcAddress(IpHelper().module, "GetAdaptersInfo")), IpHelper().module);
    EXPECT_EQ(ModuleOf(GetProcAddress(IpHelper().module, "GetPerAdapterInfo")), IpHelper().module);
}

TEST_F(SimInstall, EveryOtherIpHelperFunctionIsWinesOwnAndWorks) {
    const FARPROC function = GetProcAddress(IpHelper().module, "GetNumberOfInterfaces");
    ASSERT_NE(function, nullptr);
    EXPECT_EQ(ModuleOf(function), GetModuleHandleA("realiphlp.dll"));
    DWORD interfaces = 0;
    EXPECT_EQ(reinterpret_cast<DWORD(WINAPI*)(DWORD*)>(reinterpret_cast<void*>(function))(&interfaces), NO_ERROR);
    EXPECT_GT(interfaces, 0u);
}

TEST_F(SimInstall, WinsockAndWinesNetworkProgramsStillWork) {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    char host[256];
    EXPECT_EQ(gethostname(host, sizeof(host)), 0);
    addrinfo* found = nullptr;
    EXPECT_EQ(getaddrinfo("localhost", "80", nullptr, &found), 0);
    if (found) freeaddrinfo(found);
    WSACleanup();

    const ControlRun ipconfig = RunProgram("ipconfig.exe /all");
    EXPECT_EQ(ipconfig.exitCode, 0u) << ipconfig.output;
}

}  // namespace
}  // namespace simtest
