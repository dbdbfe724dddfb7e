// Starting an asynchronous dial of one phonebook entry.
#pragma once
#include <string_view>

#include "dialup/ras_records.h"

// The new connection's handle, or null when the dial-up service refused the request; then
// `refusal`, when given, receives RasDialA's code. Progress and the outcome arrive through
// `notifier` and the link check.
HRASCONN DialEntry(std::string_view entryName, std::string_view userName, std::string_view password,
                   RasDialFunc notifier, DWORD* refusal = nullptr);
