// What the simulated service knows of the dial-up interface beyond what the program passes: the
// states a dial goes through, the notifier's message, the notification and credential bits the
// program never asks for, and the dwSize of every published version of each record.
#pragma once
#include "dialup/ras_records.h"

// The states between RASCS_OpenPort and the final ones that a PPPoE dial reports.
inline constexpr RASCONNSTATE RASCS_PortOpened = 1;
inline constexpr RASCONNSTATE RASCS_ConnectDevice = 2;
inline constexpr RASCONNSTATE RASCS_DeviceConnected = 3;
inline constexpr RASCONNSTATE RASCS_AllDevicesConnected = 4;
inline constexpr RASCONNSTATE RASCS_Authenticate = 5;
inline constexpr RASCONNSTATE RASCS_AuthNotify = 6;
inline constexpr RASCONNSTATE RASCS_AuthProject = 10;
inline constexpr RASCONNSTATE RASCS_AuthAck = 12;
inline constexpr RASCONNSTATE RASCS_Authenticated = 14;
inline constexpr RASCONNSTATE RASCS_Projected = 18;

// The message number that notifications of a dial carry.
inline constexpr UINT WM_RASDIALEVENT = 0xCCCD;

// The other events RasConnectionNotification signals an event object for.
inline constexpr DWORD RASCN_Connection = 0x1;
inline constexpr DWORD RASCN_BandwidthAdded = 0x4;
inline constexpr DWORD RASCN_BandwidthRemoved = 0x8;

// The RASCREDENTIALSA::dwMask bit of szDomain.
inline constexpr DWORD RASCM_Domain = 0x4;

// Published sizes of every version, oldest first: what the service accepts in dwSize. Only the
// records that hold a pointer-sized field differ between 32-bit and 64-bit Windows.
inline constexpr DWORD kRasDialParamsSizes[] = {1052, kWin64 ? 1064u : 1060u, kWin64 ? 1068u : 1064u,
                                                kWin64 ? 1076u : 1068u};
inline constexpr DWORD kRasConnStatusSizes[] = {160, 288, 332};
inline constexpr DWORD kRasConnSizes[] = {kWin64 ? 820u : 816u, kWin64 ? 1344u : 1340u, kWin64 ? 1360u : 1356u,
                                          sizeof(RASCONNW), kWin64 ? 1388u : 1384u};
inline constexpr DWORD kRasCredentialsSizes[] = {540};
inline constexpr DWORD kRasEntryNameSizes[] = {264, 532};
inline constexpr DWORD kRasEntrySizes[] = {1768, 1796, 2088, 2884, 2924, 2948, 3480};
inline constexpr DWORD kRasPppIpSizes[] = {24, 40, sizeof(RASPPPIPA)};
