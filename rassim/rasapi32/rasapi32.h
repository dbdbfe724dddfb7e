// The functions the simulated rasapi32.dll exports (see rasapi32.def), with their published
// argument lists. Tests take the types of their function pointers from here.
#pragma once
#include <windows.h>

#include "dialup/ras_records.h"

extern "C" {
DWORD WINAPI RasDialA(void* dialExtensions, LPCSTR phonebook, RASDIALPARAMSA* dialParams, DWORD notifierType,
                      void* notifier, HRASCONN* connection);
DWORD WINAPI RasGetConnectStatusA(HRASCONN connection, RASCONNSTATUSA* status);
DWORD WINAPI RasHangUpA(HRASCONN connection);
DWORD WINAPI RasEnumConnectionsW(RASCONNW* connections, DWORD* byteCount, DWORD* connectionCount);
DWORD WINAPI RasGetErrorStringA(UINT error, LPSTR text, DWORD textSize);
DWORD WINAPI RasEnumEntriesA(LPCSTR reserved, LPCSTR phonebook, RASENTRYNAMEA* names, DWORD* byteCount,
                             DWORD* entryCount);
DWORD WINAPI RasGetCredentialsA(LPCSTR phonebook, LPCSTR entryName, RASCREDENTIALSA* credentials);
DWORD WINAPI RasSetCredentialsA(LPCSTR phonebook, LPCSTR entryName, RASCREDENTIALSA* credentials,
                                BOOL clearCredentials);
DWORD WINAPI RasValidateEntryNameA(LPCSTR phonebook, LPCSTR entryName);
DWORD WINAPI RasSetEntryPropertiesA(LPCSTR phonebook, LPCSTR entryName, RASENTRYA* entry, DWORD entrySize,
                                    BYTE* deviceInfo, DWORD deviceInfoSize);
DWORD WINAPI RasGetEntryPropertiesA(LPCSTR phonebook, LPCSTR entryName, RASENTRYA* entry, DWORD* entrySize,
                                    BYTE* deviceInfo, DWORD* deviceInfoSize);
DWORD WINAPI RasDeleteEntryA(LPCSTR phonebook, LPCSTR entryName);
DWORD WINAPI RasGetProjectionInfoA(HRASCONN connection, DWORD projection, void* record, DWORD* recordSize);
DWORD WINAPI RasConnectionNotificationA(HRASCONN connection, HANDLE event, DWORD events);
}
