// The command line of rasctl: positional words and --options.
#pragma once
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace rasctl {

struct Arguments {
    std::vector<std::string> words;              // after the command's own words
    std::map<std::string, std::string> options;  // "--address" -> "10.0.0.1"; flags map to ""
};

// Splits argv; false when an option that takes a value has none.
bool ParseArguments(int argc, char** argv, int first, Arguments& arguments);

// A decimal or 0x-prefixed hexadecimal 32-bit number.
std::optional<DWORD> ParseNumber(const std::string& text);

// Text in the ANSI code page in which "\\uXXXX" stands for one UTF-16 code unit, so that a command
// line can name what the code page lacks (an emoji: "\\uD83D\\uDE00"); nothing when malformed.
std::optional<std::wstring> DecodeWideText(const std::string& text);

// Dotted IPv4 text of four numbers 0..255.
bool IsIpv4Address(const std::string& text);

}  // namespace rasctl
