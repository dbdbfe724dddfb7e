// Ending a dial-up connection: one request, retries within a time limit, the check whether
// the link's interface is gone, and the manual hang-up of the tray menu.
#pragma once
#include <string_view>

#include "dialup/ras_records.h"

// One hang-up request; true when it succeeded or the connection was already gone (668).
bool HangUpConnection(HRASCONN handle);

// Repeats the request 100 ms apart while it fails, until more than 15 s have really passed;
// once one succeeds, waits until the handle has closed (at most 3 s). False when the Main window
// went away meanwhile: the calling operation must end at once.
bool HangUpWithRetry(HRASCONN handle);

// Polls until the hung-up handle has closed, for at most 3 s; false when the Main window went away
// meanwhile (it still waits: the program must not end before the link has closed).
bool WaitUntilClosed(HRASCONN handle);

// Called when the Main window has gone while an operation had `handle` in hand: ends that link
// with one request and waits until it has closed.
void EndLinkAtQuit(HRASCONN handle);

// Held by an operation while it has a link in hand that the program must end, or see closed,
// before the process ends: a dial under way, a hang-up under way.
class LinkHold {
public:
    LinkHold();
    ~LinkHold();
    LinkHold(const LinkHold&) = delete;
    LinkHold& operator=(const LinkHold&) = delete;
};

// Called once the Main window has gone: waits until no operation holds a link, for about as long
// as one can take to notice the end, hang up and see its handle close.
void WaitForHeldLinks();

enum class HangUpResult { Ended, Gone, Present };

// HangUpWithRetry, then the presence check: when the interface has gone, the flag and the
// status display show offline (Gone). Ended: the Main window went away during a wait.
HangUpResult HangUpEntry(HRASCONN handle, std::string_view entryName);

// Whether the network interface of the entry's connection is still among the adapters.
bool IsEntryInterfacePresent(std::string_view entryName);

// True while the Main window exists. Every wait of the connection operations asks it after
// each sleep and ends the operation, silently, once it answers false.
bool MainWindowAlive();

// Sleeps through the bound Sleep; then whether the Main window still exists.
bool SleepWhileAlive(DWORD milliseconds);

// The tray menu's "断线".
void StartManualHangUp();
void ManualHangUp();

// Puts "永不掉线" back as it was before the last "断线" switched it off, once: without it, nothing
// would guard the link that a manual dial brings up afterwards.
void RestoreNeverDrop();

// The hang-up of "断线" and "重播" between their two log lines, with "永不掉线" switched off first
// so that a running monitor does not dial again. `goneText`, unless empty, goes to the connection
// pane once the interface has gone. False when the Main window went away meanwhile.
bool HangUpByHand(HRASCONN handle, std::string_view entryName, std::string_view goneText);
