// The dial-up service's records in the versions this program passes, laid out as published.
// <ras.h> is never included: MinGW's copy lacks several of these versions. The published header
// packs every record to 4 bytes, which matters on 64-bit Windows only: a handle there sits at
// offset 4, not 8. The sizes are checked for the 32-bit product and for the 64-bit build.
#pragma once
#include <windows.h>
#include <cstddef>

inline constexpr bool kWin64 = sizeof(void*) == 8;

using HRASCONN = HANDLE;
using RASCONNSTATE = DWORD;

// The opening state, which the dial's notifier leaves unshown, and the two final ones.
inline constexpr RASCONNSTATE RASCS_OpenPort = 0;
inline constexpr RASCONNSTATE RASCS_Connected = 0x2000;
inline constexpr RASCONNSTATE RASCS_Disconnected = 0x2001;

// The event the monitor asks RasConnectionNotification to signal.
inline constexpr DWORD RASCN_Disconnection = 0x2;

// The notifier type 0 callback of RasDialA.
using RasDialFunc = void(WINAPI*)(UINT message, RASCONNSTATE state, DWORD error);

#pragma pack(push, 4)

// The first version, ending with szDomain.
struct RASDIALPARAMSA {
    DWORD dwSize;
    CHAR szEntryName[257];
    CHAR szPhoneNumber[129];
    CHAR szCallbackNumber[129];
    CHAR szUserName[257];
    CHAR szPassword[257];
    CHAR szDomain[16];
};
static_assert(sizeof(RASDIALPARAMSA) == 1052);
static_assert(offsetof(RASDIALPARAMSA, szUserName) == 519 && offsetof(RASDIALPARAMSA, szDomain) == 1033);

struct RASTUNNELENDPOINT {
    DWORD dwType;
    BYTE address[16];
};

// The version with the tunnel end points and the connection sub-state.
struct RASCONNSTATUSA {
    DWORD dwSize;
    RASCONNSTATE rasconnstate;
    DWORD dwError;
    CHAR szDeviceType[17];
    CHAR szDeviceName[129];
    CHAR szPhoneNumber[129];
    RASTUNNELENDPOINT localEndPoint;
    RASTUNNELENDPOINT remoteEndPoint;
    DWORD rasconnsubstate;
};
static_assert(sizeof(RASCONNSTATUSA) == 332);
static_assert(offsetof(RASCONNSTATUSA, localEndPoint) == 288);

// The version ending with dwSubEntry, guidEntry, dwFlags and luid.
struct RASCONNW {
    DWORD dwSize;
    HRASCONN hrasconn;
    WCHAR szEntryName[257];
    WCHAR szDeviceType[17];
    WCHAR szDeviceName[129];
    WCHAR szPhonebook[260];
    DWORD dwSubEntry;
    GUID guidEntry;
    DWORD dwFlags;
    LUID luid;
};
static_assert(sizeof(RASCONNW) == (kWin64 ? 1372 : 1368));
static_assert(offsetof(RASCONNW, hrasconn) == 4);
static_assert(offsetof(RASCONNW, szEntryName) == (kWin64 ? 12 : 8));
static_assert(offsetof(RASCONNW, guidEntry) == (kWin64 ? 1344 : 1340));

struct RASCREDENTIALSA {
    DWORD dwSize;
    DWORD dwMask;
    CHAR szUserName[257];
    CHAR szPassword[257];
    CHAR szDomain[16];
};
static_assert(sizeof(RASCREDENTIALSA) == 540);

// The version with dwFlags and szPhonebookPath.
struct RASENTRYNAMEA {
    DWORD dwSize;
    CHAR szEntryName[257];
    DWORD dwFlags;
    CHAR szPhonebookPath[261];
};
static_assert(sizeof(RASENTRYNAMEA) == 532);
static_assert(offsetof(RASENTRYNAMEA, szPhonebookPath) == 268);

struct RASIPADDR {
    BYTE a, b, c, d;
};

// The version ending with dwNetworkOutageTime.
struct RASENTRYA {
    DWORD dwSize;
    DWORD dwfOptions;
    DWORD dwCountryID;
    DWORD dwCountryCode;
    CHAR szAreaCode[11];
    CHAR szLocalPhoneNumber[129];
    DWORD dwAlternateOffset;
    RASIPADDR ipaddr;
    RASIPADDR ipaddrDns;
    RASIPADDR ipaddrDnsAlt;
    RASIPADDR ipaddrWins;
    RASIPADDR ipaddrWinsAlt;
    DWORD dwFrameSize;
    DWORD dwfNetProtocols;
    DWORD dwFramingProtocol;
    CHAR szScript[MAX_PATH];
    CHAR szAutodialDll[MAX_PATH];
    CHAR szAutodialFunc[MAX_PATH];
    CHAR szDeviceType[17];
    CHAR szDeviceName[129];
    CHAR szX25PadType[33];
    CHAR szX25Address[201];
    CHAR szX25Facilities[201];
    CHAR szX25UserData[201];
    DWORD dwChannels;
    DWORD dwReserved1;
    DWORD dwReserved2;
    DWORD dwSubEntries;
    DWORD dwDialMode;
    DWORD dwDialExtraPercent;
    DWORD dwDialExtraSampleSeconds;
    DWORD dwHangUpExtraPercent;
    DWORD dwHangUpExtraSampleSeconds;
    DWORD dwIdleDisconnectSeconds;
    DWORD dwType;
    DWORD dwEncryptionType;
    DWORD dwCustomAuthKey;
    GUID guidId;
    CHAR szCustomDialDll[MAX_PATH];
    DWORD dwVpnStrategy;
    DWORD dwfOptions2;
    DWORD dwfOptions3;
    CHAR szDnsSuffix[256];
    DWORD dwTcpWindowSize;
    CHAR szPrerequisitePbk[MAX_PATH];
    CHAR szPrerequisiteEntry[257];
    DWORD dwRedialCount;
    DWORD dwRedialPause;
    BYTE ipv6addrDns[16];
    BYTE ipv6addrDnsAlt[16];
    DWORD dwIPv4InterfaceMetric;
    DWORD dwIPv6InterfaceMetric;
    BYTE ipv6addr[16];
    DWORD dwIPv6PrefixLength;
    DWORD dwNetworkOutageTime;
};
static_assert(sizeof(RASENTRYA) == 2948);
static_assert(offsetof(RASENTRYA, szDeviceType) == 972 && offsetof(RASENTRYA, dwType) == 1796);
static_assert(offsetof(RASENTRYA, guidId) == 1808 && offsetof(RASENTRYA, dwRedialPause) == 2880);

// The version with the server address and the IPCP options.
struct RASPPPIPA {
    DWORD dwSize;
    DWORD dwError;
    CHAR szIpAddress[16];
    CHAR szServerIpAddress[16];
    DWORD dwOptions;
    DWORD dwServerOptions;
};
static_assert(sizeof(RASPPPIPA) == 48);

#pragma pack(pop)

// RASPROJECTION of the IP control protocol.
inline constexpr DWORD RASP_PppIp = 0x8021;

// RASCREDENTIALSA::dwMask bits.
inline constexpr DWORD RASCM_UserName = 0x1;
inline constexpr DWORD RASCM_Password = 0x2;
