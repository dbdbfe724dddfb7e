#include "core/program_path.h"

#include <windows.h>

namespace {

// GBK lead bytes; each is followed by one trail byte, which may be any of 0x40 to 0xFE.
constexpr bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

std::string_view::size_type LastSeparator(std::string_view path) {
    std::string_view::size_type last = std::string_view::npos;
    for (std::string_view::size_type i = 0; i < path.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(path[i])))
            ++i;
        else if (path[i] == '\\')
            last = i;
    }
    return last;
}

}  // namespace

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}

std::string ProgramDirectory() { return DirectoryOf(ProgramPath()); }

std::string DirectoryOf(std::string_view path) { return std::string(path.substr(0, LastSeparator(path))); }
