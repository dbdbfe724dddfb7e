// An independent reader of the shell-link (.lnk) binary format: what a shortcut file holds,
// read from its bytes without the shell.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

struct ShellLinkFile {
    std::string targetPath;  // local base path and common suffix of the link information
    DWORD showCommand;
    bool hasArguments;
    bool hasWorkingDirectory;
    bool hasDescription;
};

// Nothing when the file is missing or not a shell link.
std::optional<ShellLinkFile> ReadShellLink(const std::string& path);

}  // namespace e2e
