// The simulator's functions, bound the way the program binds them: from the DLLs in the
// system directory of the Wine prefix, never from a copy beside the test.
#pragma once
#include <windows.h>
// after windows.h, which it needs
#include <iptypes.h>

#include "rassim/iphlpapi/iphlpapi.h"
#include "rassim/rasapi32/rasapi32.h"

namespace simtest {

struct RasApi {
    HMODULE module;
    decltype(&::RasDialA) RasDialA;
    decltype(&::RasGetConnectStatusA) RasGetConnectStatusA;
    decltype(&::RasHangUpA) RasHangUpA;
    decltype(&::RasEnumConnectionsW) RasEnumConnectionsW;
    decltype(&::RasGetErrorStringA) RasGetErrorStringA;
    decltype(&::RasEnumEntriesA) RasEnumEntriesA;
    decltype(&::RasGetCredentialsA) RasGetCredentialsA;
    decltype(&::RasSetCredentialsA) RasSetCredentialsA;
    decltype(&::RasValidateEntryNameA) RasValidateEntryNameA;
    decltype(&::RasSetEntryPropertiesA) RasSetEntryPropertiesA;
    decltype(&::RasGetEntryPropertiesA) RasGetEntryPropertiesA;
    decltype(&::RasDeleteEntryA) RasDeleteEntryA;
    decltype(&::RasConnectionNotificationA) RasConnectionNotificationA;
};

struct IpHelperApi {
    HMODULE module;
    decltype(&::GetAdaptersInfo) GetAdaptersInfo;
    decltype(&::GetPerAdapterInfo) GetPerAdapterInfo;
};

// Loaded on first use; a missing DLL or function ends the process with a message.
const RasApi& Ras();
const IpHelperApi& IpHelper();

// A PPPoE entry record as the program writes it (the RASENTRYA version ending with
// dwNetworkOutageTime).
RASENTRYA PppoeEntryRecord();

}  // namespace simtest
