#include "rasctl/arguments.h"

#include <algorithm>
#include <cerrno>
#include <cwctype>
#include <cstdio>
#include <cstdlib>

namespace rasctl {
namespace {

// Options that stand alone; every other option takes the next word as its value.
bool IsFlag(const std::string& option) { return option == "--with-handle"; }

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
    if (text.empty() || text[0] == '-')
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0')
        return std::nullopt;
    return static_cast<DWORD>(value);
}

std::optional<std::wstring> DecodeWideText(const std::string& text) {
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length == 0 && size != 0)
        return std::nullopt;
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    std::wstring decoded;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (wide.compare(i, 2, L"\\u") != 0) {
            decoded.push_back(wide[i]);
            continue;
        }
        const std::wstring digits = wide.substr(i + 2, 4);
        if (digits.size() != 4 ||
            !std::all_of(digits.begin(), digits.end(), [](wchar_t c) { return std::iswxdigit(c); }))
            return std::nullopt;
        decoded.push_back(static_cast<wchar_t>(std::wcstoul(digits.c_str(), nullptr, 16)));
        i += 5;
    }
    return decoded;
}

bool IsIpv4Address(const std::string& text) {
    unsigned parts[4];
    char extra;
    if (std::sscanf(text.c_str(), "%3u.%3u.%3u.%3u%c", &parts[0], &parts[1], &parts[2], &parts[3], &extra) != 4) {
        return false;
    }
    for (unsigned part : parts) {
        if (part > 255)
            return false;
    }
    return true;
}

}  // namespace rasctl
