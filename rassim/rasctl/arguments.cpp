#include "rasctl/arguments.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace rasctl {
namespace {

// Options that stand alone; every other option takes the next word as its value.
bool IsFlag(const std::string& option) {
    return option == "--with-handle";
}

}  // namespace

bool ParseArguments(int argc, char** argv, int first, Arguments& arguments) {
    for (int i = first; i < argc; ++i) {
        const std::string word = argv[i];
        if (word.rfind("--", 0) != 0) {
            arguments.words.push_back(word);
        } else if (IsFlag(word)) {
            arguments.options[word] = "";
        } else if (i + 1 < argc) {
            arguments.options[word] = argv[++i];
        } else {
            return false;
        }
    }
    return true;
}

std::optional<DWORD> ParseNumber(const std::string& text) {
    if (text.empty() || text[0] == '-') return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0') return std::nullopt;
    return static_cast<DWORD>(value);
}

bool IsIpv4Address(const std::string& text) {
    unsigned parts[4];
    char extra;
    if (std::sscanf(text.c_str(), "%3u.%3u.%3u.%3u%c", &parts[0], &parts[1], &parts[2], &parts[3], &extra) != 4) {
        return false;
    }
    for (unsigned part : parts) {
        if (part > 255) return false;
    }
    return true;
}

}  // namespace rasctl
