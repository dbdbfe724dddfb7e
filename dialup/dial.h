// Dialing the configured entry: the one sequence every dialing path repeats, and the manual
// dial of the tray menu.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "dialup/ras_records.h"

// The log texts of one dialing path.
struct DialTexts {
    std::string_view start;
    std::string_view success;  // followed by AddressText
    std::string_view failure;
};

inline constexpr DialTexts kManualDialTexts{"手动操作：开始拨号", "手动操作：拨号成功，", "手动操作：拨号失败"};
inline constexpr DialTexts kMonitorDialTexts{"开始拨号", "拨号成功，", "拨号失败"};

// "当前IP：" and the address: the connection pane once a link is up, and the end of its log line.
std::string AddressText(std::string_view address);

enum class DialResult { Connected, Failed, Ended };

struct DialOutcome {
    DialResult result;
    std::uint64_t connectedTick = 0;  // TickMilliseconds() when the link was confirmed
    HRASCONN handle = nullptr;        // the confirmed link's
};

// Dials the configured entry, confirms the link within about ten seconds and reports the new
// address, or reports the failure and hangs the half-open connection up. Ended: the Main
// window went away during a wait, and nothing more was done.
DialOutcome DialAndConfirm(const DialTexts& texts);

// The tray menu's "拨号".
void StartManualDial();
void ManualDial();
