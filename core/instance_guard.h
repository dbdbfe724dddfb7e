// Another running copy of the program is recognised by the FileDescription of its executable,
// wherever it lies and however it is named.
#pragma once
#include <windows.h>
#include <tlhelp32.h>

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

inline constexpr const char* kProductDescription = "QelvoPordex";

bool FindRunningInstance(DWORD ownProcessId);
// The running processes in snapshot order, without the record of process id 0.
std::vector<PROCESSENTRY32> ListProcesses();
// Full path of a process's executable; empty when its modules cannot be read.
std::string GetProcessImagePath(DWORD processId);
// Full path of a process's executable as the kernel names it, read with the least access a
// process grants; empty where even that is refused.
std::string QueryProcessImagePath(DWORD processId);
// The image path asked of the kernel, without reading the process's memory; where the process
// cannot be opened for that, from its module snapshot.
std::string FindProcessImagePath(DWORD processId);
// A module path as the kernel may report it ("\SystemRoot\...", "\??\C:\...") made usable.
std::string NormaliseImagePath(std::string_view path, std::string_view systemRoot);
// The FileDescription of a file's version resource; nothing when it has no resource.
std::optional<std::string> ReadFileDescription(const std::string& path);

// Reads each executable's description once, however many processes run it and in whatever
// letter case their paths come.
class DescriptionCache {
public:
    using Reader = std::optional<std::string> (*)(const std::string& path);
    explicit DescriptionCache(Reader read = ReadFileDescription) : read_(read) {}
    const std::optional<std::string>& DescriptionOf(const std::string& path);

private:
    Reader read_;
    std::unordered_map<std::wstring, std::optional<std::string>> known_;
};

// Lets the guard read the modules of other users' processes; failures are of no concern.
void EnableDebugPrivilege();
