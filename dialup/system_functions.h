// Typed calls of the bound system functions: sys::RasDialA(...) reads like the plain call and
// goes through the binding table row of that function.
#pragma once
#include <windows.h>
#include <iptypes.h>
#include <aclapi.h>
#include <tlhelp32.h>

#include "dialup/binding_table.h"
#include "dialup/ras_records.h"

namespace sys {

template <std::size_t Row, typename Result, typename... Args>
struct BoundFunction {
    static_assert(Row < binding::kRowCount && !binding::kBindingRows[Row].mayBeAbsent);
    using Pointer = Result(WINAPI*)(Args...);
    Result operator()(Args... args) const {
        return reinterpret_cast<Pointer>(binding::BindSystemFunction(Row))(args...);
    }
};

// A row the program does without: Bound() is null where the system lacks the function.
template <std::size_t Row, typename Result, typename... Args>
struct OptionalFunction {
    static_assert(Row < binding::kRowCount && binding::kBindingRows[Row].mayBeAbsent);
    using Pointer = Result(WINAPI*)(Args...);
    Pointer Bound() const { return reinterpret_cast<Pointer>(binding::BindSystemFunction(Row)); }
};

inline constexpr BoundFunction<0, void, DWORD> Sleep{};
inline constexpr BoundFunction<1, void, SYSTEMTIME*> GetLocalTime{};
inline constexpr BoundFunction<2, DWORD, void*, LPCSTR, RASDIALPARAMSA*, DWORD, RasDialFunc, HRASCONN*> RasDialA{};
inline constexpr BoundFunction<5, DWORD, HRASCONN, RASCONNSTATUSA*> RasGetConnectStatusA{};
inline constexpr BoundFunction<6, DWORD, RASCONNW*, DWORD*, DWORD*> RasEnumConnectionsW{};
inline constexpr BoundFunction<8, ULONG, IP_ADAPTER_INFO*, ULONG*> GetAdaptersInfo{};
inline constexpr BoundFunction<12, DWORD, HRASCONN> RasHangUpA{};
inline constexpr BoundFunction<13, DWORD, UINT, LPSTR, DWORD> RasGetErrorStringA{};
inline constexpr BoundFunction<14, DWORD, LPCSTR, LPCSTR, RASCREDENTIALSA*> RasGetCredentialsA{};
inline constexpr BoundFunction<16, DWORD> GetCurrentProcessId{};
inline constexpr BoundFunction<17, HANDLE, DWORD, BOOL, DWORD> OpenProcess{};
inline constexpr BoundFunction<18, BOOL, HANDLE, DWORD, HANDLE*> OpenProcessToken{};
inline constexpr BoundFunction<19, BOOL, LPCSTR, LPCSTR, LUID*> LookupPrivilegeValueA{};
inline constexpr BoundFunction<20, BOOL, HANDLE, BOOL, TOKEN_PRIVILEGES*, DWORD, TOKEN_PRIVILEGES*, DWORD*>
    AdjustTokenPrivileges{};
inline constexpr BoundFunction<21, BOOL, HANDLE> CloseHandle{};
inline constexpr BoundFunction<22, HANDLE, DWORD, DWORD> CreateToolhelp32Snapshot{};
inline constexpr BoundFunction<23, BOOL, HANDLE, PROCESSENTRY32*> Process32Next{};
inline constexpr BoundFunction<24, BOOL, HANDLE, MODULEENTRY32*> Module32First{};
inline constexpr BoundFunction<25, DWORD, LPCSTR, LPSTR, DWORD> ExpandEnvironmentStringsA{};
inline constexpr BoundFunction<26, DWORD, LPCSTR, LPCSTR, RASENTRYNAMEA*, DWORD*, DWORD*> RasEnumEntriesA{};
inline constexpr BoundFunction<27, DWORD, LPCSTR, LPCSTR> RasDeleteEntryA{};
inline constexpr BoundFunction<28, DWORD, LPCSTR, LPCSTR> RasValidateEntryNameA{};
inline constexpr BoundFunction<29, DWORD, LPCSTR, LPCSTR, RASENTRYA*, DWORD, BYTE*, DWORD> RasSetEntryPropertiesA{};
inline constexpr BoundFunction<30, DWORD, LPCSTR, LPCSTR, RASCREDENTIALSA*, BOOL> RasSetCredentialsA{};
inline constexpr BoundFunction<31, DWORD, HRASCONN, DWORD, void*, DWORD*> RasGetProjectionInfoA{};
inline constexpr OptionalFunction<32, DWORD, HRASCONN, HANDLE, DWORD> RasConnectionNotificationA{};
inline constexpr BoundFunction<33, DWORD, HANDLE, DWORD> WaitForSingleObject{};
inline constexpr BoundFunction<34, BOOL, HANDLE, DWORD, LPSTR, DWORD*> QueryFullProcessImageNameA{};
inline constexpr BoundFunction<35, DWORD, LPCSTR, DWORD*> GetFileVersionInfoSizeA{};
inline constexpr BoundFunction<36, BOOL, LPCSTR, DWORD, DWORD, void*> GetFileVersionInfoA{};
inline constexpr BoundFunction<37, BOOL, const void*, LPCSTR, void**, UINT*> VerQueryValueA{};
inline constexpr OptionalFunction<38, BOOL, DWORD> SetDefaultDllDirectories{};
inline constexpr BoundFunction<39, DWORD, LPCWSTR, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID*, PSID*, PACL*, PACL*,
                               PSECURITY_DESCRIPTOR*>
    GetNamedSecurityInfoW{};
inline constexpr BoundFunction<40, BOOL, HANDLE, TOKEN_INFORMATION_CLASS, void*, DWORD, DWORD*> GetTokenInformation{};
inline constexpr BoundFunction<41, BOOL, PSID, LPWSTR*> ConvertSidToStringSidW{};
// Windows 10 1607 and later; before, a window's DPI is the system's.
inline constexpr OptionalFunction<42, UINT, HWND> GetDpiForWindow{};
inline constexpr OptionalFunction<43, BOOL, UINT, UINT, void*, UINT, UINT> SystemParametersInfoForDpi{};
inline constexpr OptionalFunction<44, BOOL, RECT*, DWORD, BOOL, DWORD, UINT> AdjustWindowRectExForDpi{};

}  // namespace sys
