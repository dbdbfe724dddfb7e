#include "probe/dial_request.h"

#include "dialup/record_text.h"
#include "dialup/system_functions.h"

HRASCONN DialEntry(std::string_view entryName, std::string_view userName, std::string_view password,
                   RasDialFunc notifier, DWORD* refusal) {
    RASDIALPARAMSA params = {};
    params.dwSize = sizeof params;
    CopyCut(params.szEntryName, entryName);
    CopyCut(params.szUserName, userName);
    CopyCut(params.szPassword, password);

    HRASCONN handle = nullptr;
    DWORD result = sys::RasDialA(nullptr, nullptr, &params, 0, notifier, &handle);
    SecureZeroMemory(&params, sizeof params);
    if (result == 0)
        return handle;
    if (refusal)
        *refusal = result;
    // A refused dial may still have opened a connection, which must be released.
    if (handle)
        sys::RasHangUpA(handle);
    return nullptr;
}
