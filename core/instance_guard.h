// Another running copy of the program is recognised by the FileDescription of its executable,
// wherever it lies and however it is named.
#pragma once
#include <windows.h>
#include <tlhelp32.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* kProductDescription = "QelvoPordex";

bool FindRunningInstance(DWORD ownProcessId);
// The running processes in snapshot order, without the record of process id 0.
std::vector<PROCESSENTRY32> ListProcesses();
// Full path of a process's executable; empty when its modules cannot be read.
std::string GetProcessImagePath(DWORD processId);
// A module path as the kernel may report it ("\SystemRoot\...", "\??\C:\...") made usable.
std::string NormaliseImagePath(std::string_view path, std::string_view systemRoot);
// The FileDescription of a file's version resource; nothing when it has no resource.
std::optional<std::string> ReadFileDescription(const std::string& path);
// Lets the guard read the modules of other users' processes; failures are of no concern.
void EnableDebugPrivilege();
