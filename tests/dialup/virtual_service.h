// A dial-up service and clocks in virtual time, put into the binding table in place of the real
// rows: Sleep advances time at once and runs what a scenario scheduled meanwhile, so minutes
// of monitoring take milliseconds and every run is the same.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialup/ras_records.h"

namespace virtual_service {

struct Scheduled {
    std::uint64_t at;  // virtual milliseconds since the start
    std::function<void()> action;
};

struct Behaviour {
    int failingDials = 0;                // this many dials, the first ones, stop at authentication with 691
    DWORD dialRefusal = 0;               // RasDialA refuses every dial at once with this code, no handle
    DWORD dialMs = 250;                  // a successful dial is connected after this long
    std::uint64_t hangUpRefusedUntil = 0;  // hang-ups return 5 before this moment
    bool hangUpAnswers668 = false;       // a hang-up ends the link but answers 668
    DWORD hangUpCloseMs = 0;             // a hung-up link closes this long: listed, handle valid
    DWORD notificationRefusal = 0;       // RasConnectionNotificationA answers this code
};

// One journal line per dial, hang-up and adapter query ("301000 hangup 0x10"); repeated
// lines of one kind in a row are folded into "FIRST-LAST kind xCOUNT".
std::vector<std::string> Journal();

std::uint64_t Now();
// Steps for the scripts, run on the thread that sleeps.
void Connect(const std::u16string& entryName);  // a link comes up from elsewhere
void Drop(const std::u16string& entryName);     // every link of the entry drops
int Enumerations();
void ShiftWallClock(std::int64_t milliseconds);
// Marks the moment after which nothing may call the service or sleep any more.
void MarkQuit();
int CallsAfterQuit();

// Substitutes the rows and the tick source while it lives.
class Installation {
public:
    Installation(const Behaviour& behaviour, std::vector<Scheduled> script);
    ~Installation();
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;
};

}  // namespace virtual_service
