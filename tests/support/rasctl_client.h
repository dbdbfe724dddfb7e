// The control tool of the simulated dial-up service, run as a child process by tests.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "dialup/ras_records.h"

namespace rasctl_client {

struct ControlRun {
    DWORD exitCode;
    std::string output;  // standard output and error, GBK
};

// Runs a program (found on the path, the system directory included) and waits for it.
ControlRun RunProgram(const std::string& commandLine);
// Runs `rasctl ARGUMENTS` from the system directory.
ControlRun Rasctl(const std::string& arguments);
// The same, adding a test failure unless rasctl succeeds; returns its output.
std::string RasctlOk(const std::string& arguments);
// `rasctl up ARGUMENTS`: a connection brought up by another process; the handle it printed.
HRASCONN UpFromControl(const std::string& arguments);
// The lines of `rasctl state` that begin with `kind` ("entry", "connection" ...).
std::vector<std::string> StateLines(const std::string& kind);

}  // namespace rasctl_client
