// The stored credentials of phonebook entries. Like the real service, RasGetCredentialsA never
// returns a saved password, only a handle that stands for it.
#include <raserror.h>

#include <cstring>

#include "rasapi32/rasapi32.h"
#include "world/shared_world.h"
#include "world/text.h"

namespace rassim {
namespace {

constexpr DWORD kStoredMembers = RASCM_UserName | RASCM_Password | RASCM_Domain;

// The checks both functions make before they touch an entry; 0 when the call may go on.
DWORD CheckRequest(LPCSTR phonebook, LPCSTR entryName, const RASCREDENTIALSA* credentials) {
    if (!credentials || !entryName)
        return ERROR_INVALID_PARAMETER;
    if (!IsPublishedSize(credentials->dwSize, kRasCredentialsSizes))
        return ERROR_INVALID_SIZE;
    if (!IsDefaultPhonebook(phonebook))
        return ERROR_CANNOT_OPEN_PHONEBOOK;
    return 0;
}

template <std::size_t N>
void Store(Credentials& stored, DWORD member, char (&field)[N], const char* value, bool clear) {
    CopyText(field, clear ? "" : value);
    stored.mask = clear ? stored.mask & ~member : stored.mask | member;
}

RASCREDENTIALSA Retrieve(const Credentials& stored, DWORD size, DWORD wanted) {
    RASCREDENTIALSA out{};
    out.dwSize = size;
    out.dwMask = wanted & stored.mask & kStoredMembers;
    if (out.dwMask & RASCM_UserName)
        CopyText(out.szUserName, stored.userName);
    if (out.dwMask & RASCM_Password)
        CopyText(out.szPassword, kSavedPasswordHandle);
    if (out.dwMask & RASCM_Domain)
        CopyText(out.szDomain, stored.domain);
    return out;
}

}  // namespace
}  // namespace rassim

using namespace rassim;

extern "C" DWORD WINAPI RasGetCredentialsA(LPCSTR phonebook, LPCSTR entryName, RASCREDENTIALSA* credentials) {
    if (const DWORD error = CheckRequest(phonebook, entryName, credentials))
        return error;
    WorldLock world;
    const Entry* entry = FindEntry(*world, entryName);
    if (!entry)
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    *credentials = Retrieve(entry->credentials, credentials->dwSize, credentials->dwMask);
    return ERROR_SUCCESS;
}

extern "C" DWORD WINAPI RasSetCredentialsA(LPCSTR phonebook, LPCSTR entryName, RASCREDENTIALSA* credentials,
                                           BOOL clearCredentials) {
    if (const DWORD error = CheckRequest(phonebook, entryName, credentials))
        return error;
    WorldLock world;
    Entry* entry = FindEntry(*world, entryName);
    if (!entry)
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    Credentials& stored = entry->credentials;
    const DWORD mask = credentials->dwMask;
    const bool clear = clearCredentials != FALSE;
    if (mask & RASCM_UserName)
        Store(stored, RASCM_UserName, stored.userName, credentials->szUserName, clear);
    if (mask & RASCM_Domain)
        Store(stored, RASCM_Domain, stored.domain, credentials->szDomain, clear);
    // The handle of the saved password leaves the password as it is.
    const bool keepsPassword = !clear && std::strcmp(credentials->szPassword, kSavedPasswordHandle) == 0;
    if ((mask & RASCM_Password) && !keepsPassword) {
        Store(stored, RASCM_Password, stored.password, credentials->szPassword, clear);
    }
    return ERROR_SUCCESS;
}
