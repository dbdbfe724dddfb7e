// What a dial shows while it runs: each connection state by name, or the dial's error text.
#pragma once
#include <string>

#include "dialup/ras_records.h"

// The notifier of every dial: writes the state's name, or "拨号：" and the error text, into
// the connection pane. The opening state without an error leaves the pane as it is.
void WINAPI OnDialProgress(UINT message, RASCONNSTATE state, DWORD error);

// The last error the notifier was given since the previous call; 0 when none. The notifier is
// not told which dial it reports on, so this is process-wide.
DWORD TakeNotifiedError();

// The display text of a state; "未知错误：" and the decimal value for one not in the table.
std::string ConnectionStateName(RASCONNSTATE state);

// The dial-up service's text for an error code; empty when it knows none.
std::string GetDialErrorText(DWORD error);
