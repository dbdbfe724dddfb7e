#include "probe/link_check.h"

#include <optional>

#include "dialup/system_functions.h"

namespace {

DWORD QueryStatus(HRASCONN handle, RASCONNSTATUSA& status) {
    status = {};
    status.dwSize = sizeof status;
    return sys::RasGetConnectStatusA(handle, &status);
}

std::optional<RASCONNSTATUSA> ConnectStatus(HRASCONN handle) {
    RASCONNSTATUSA status;
    if (QueryStatus(handle, status) != 0)
        return std::nullopt;
    return status;
}

}  // namespace

bool IsLinkUp(HRASCONN handle) {
    // A failed dial ends in RASCS_Disconnected with its error while the handle is still
    // valid; only a clean RASCS_Connected counts as up.
    const auto status = ConnectStatus(handle);
    return status && status->dwError == 0 && status->rasconnstate == RASCS_Connected;
}

DWORD LinkError(HRASCONN handle) {
    const auto status = ConnectStatus(handle);
    return status ? status->dwError : 0;
}

bool HasLinkEnded(HRASCONN handle) {
    const auto status = ConnectStatus(handle);
    return status && status->rasconnstate == RASCS_Disconnected;
}

bool IsHandleClosed(HRASCONN handle) {
    RASCONNSTATUSA status;
    return QueryStatus(handle, status) == ERROR_INVALID_HANDLE;
}
