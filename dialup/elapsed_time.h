// Real elapsed time for the connection operations' limits and intervals: a millisecond count
// that neither wraps nor follows changes of the wall clock.
#pragma once
#include <windows.h>

#include <cstdint>

std::uint64_t TickMilliseconds();

// Test seam: the source of TickMilliseconds; null restores the system's.
using TickSource = ULONGLONG(WINAPI*)();
void SetTickSource(TickSource source);
