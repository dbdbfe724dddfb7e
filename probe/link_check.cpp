#include "probe/link_check.h"

#include <optional>

#include "dialup/system_functions.h"

namespace {

// Days from 1970-01-01 to the given civil date (proleptic Gregorian calendar).
std::int64_t DaysSinceEpoch(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

constexpr std::int64_t kBaseSecondOfDay = 8 * 3600;

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

bool HasLinkEnded(HRASCONN handle) {
    const auto status = ConnectStatus(handle);
    return status && status->rasconnstate == RASCS_Disconnected;
}

bool IsHandleClosed(HRASCONN handle) {
    RASCONNSTATUSA status;
    return QueryStatus(handle, status) == ERROR_INVALID_HANDLE;
}

std::int64_t ClockSeconds() {
    SYSTEMTIME now = {};
    sys::GetLocalTime(&now);
    const std::int64_t secondOfDay = now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
    return DaysSinceEpoch(now.wYear, now.wMonth, now.wDay) * 86400 + secondOfDay - kBaseSecondOfDay;
}
