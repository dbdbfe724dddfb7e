// Whether a link is up, has ended, or has closed after its hang-up.
#pragma once
#include "dialup/ras_records.h"

// True only for a connection that reports RASCS_Connected without an error.
bool IsLinkUp(HRASCONN handle);

// The error the handle's status reports: why its dial failed or its link ended; 0 for none, and
// when the service does not know the handle.
DWORD LinkError(HRASCONN handle);

// True for a handle the service still holds for a link that has ended (dropped or failed):
// it reports RASCS_Disconnected and waits for its hang-up.
bool HasLinkEnded(HRASCONN handle);

// True once the service no longer knows the handle (ERROR_INVALID_HANDLE): a hung-up link has
// really closed, and its port is free again.
bool IsHandleClosed(HRASCONN handle);
