#include "probe/dial_request.h"

#include <algorithm>
#include <cstring>

#include "dialup/system_functions.h"

namespace {

// Copies `text` cut to capacity - 1 bytes; the rest of the member stays NUL.
template <std::size_t Capacity>
void CopyCut(char (&member)[Capacity], std::string_view text) {
    std::memcpy(member, text.data(), std::min(text.size(), Capacity - 1));
}

}  // namespace

HRASCONN DialEntry(std::string_view entryName, std::string_view userName, std::string_view password,
                   RasDialFunc notifier) {
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
    // A refused dial may still have opened a connection, which must be released.
    if (handle)
        sys::RasHangUpA(handle);
    return nullptr;
}
