#include "sim_api.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace simtest {
namespace {

HMODULE LoadFromSystemDirectory(const char* name) {
    HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) {
        std::fprintf(stderr, "cannot load %s from the system directory\n", name);
        std::exit(3);
    }
    return module;
}

template <typename Function>
void Bind(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (!function) {
        std::fprintf(stderr, "no export %s\n", name);
        std::exit(3);
    }
}

RasApi LoadRasApi() {
    RasApi api{};
    api.module = LoadFromSystemDirectory("rasapi32.dll");
    Bind(api.module, "RasDialA", api.RasDialA);
    Bind(api.module, "RasGetConnectStatusA", api.RasGetConnectStatusA);
    Bind(api.module, "RasHangUpA", api.RasHangUpA);
    Bind(api.module, "RasEnumConnectionsW", api.RasEnumConnectionsW);
    Bind(api.module, "RasGetErrorStringA", api.RasGetErrorStringA);
    Bind(api.module, "RasEnumEntriesA", api.RasEnumEntriesA);
    Bind(api.module, "RasGetCredentialsA", api.RasGetCredentialsA);
    Bind(api.module, "RasSetCredentialsA", api.RasSetCredentialsA);
    Bind(api.module, "RasValidateEntryNameA", api.RasValidateEntryNameA);
    Bind(api.module, "RasSetEntryPropertiesA", api.RasSetEntryPropertiesA);
    Bind(api.module, "RasGetEntryPropertiesA", api.RasGetEntryPropertiesA);
    Bind(api.module, "RasDeleteEntryA", api.RasDeleteEntryA);
    Bind(api.module, "RasConnectionNotificationA", api.RasConnectionNotificationA);
    return api;
}

IpHelperApi LoadIpHelperApi() {
    IpHelperApi api{};
    api.module = LoadFromSystemDirectory("iphlpapi.dll");
    Bind(api.module, "GetAdaptersInfo", api.GetAdaptersInfo);
    Bind(api.module, "GetPerAdapterInfo", api.GetPerAdapterInfo);
    return api;
}

}  // namespace

const RasApi& Ras() {
    static const RasApi api = LoadRasApi();
    return api;
}

const IpHelperApi& IpHelper() {
    static const IpHelperApi api = LoadIpHelperApi();
    return api;
}

RASENTRYA PppoeEntryRecord() {
    RASENTRYA entry{};
    entry.dwSize = sizeof(entry);
    entry.dwfOptions = 0x3D0D0310;
    entry.dwCountryID = 86;
    entry.dwCountryCode = 86;
    entry.dwfNetProtocols = 4;
    entry.dwFramingProtocol = 1;
    std::strcpy(entry.szDeviceType, "PPPoE");
    std::strcpy(entry.szDeviceName, "WAN Miniport (PPPOE)");
    entry.dwType = 5;
    entry.dwRedialCount = 3;
    entry.dwRedialPause = 60;
    return entry;
}

}  // namespace simtest
