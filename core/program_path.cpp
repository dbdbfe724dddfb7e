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

// The long form of `path`, as the temporary folder may be named in 8.3 form; `path` itself when
// the system cannot tell.
std::wstring LongPath(const std::wstring& path) {
    std::wstring full(32768, L'\0');
    const DWORD length = GetLongPathNameW(path.c_str(), full.data(), static_cast<DWORD>(full.size()));
    if (length == 0 || length >= full.size())
        return path;
    full.resize(length);
    return full;
}

}  // namespace

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
}

std::wstring WideProgramPath() {
    // Paths beyond MAX_PATH are cut by the system; the buffer grows until one is not.
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size())
        path.resize(path.size() * 2);
    path.resize(length);
    return path;
}

std::string ProgramDirectory() { return DirectoryOf(ProgramPath()); }

std::string DirectoryOf(std::string_view path) { return std::string(path.substr(0, LastSeparator(path))); }

bool IsInsideFolder(std::wstring_view path, std::wstring_view folder) {
    std::wstring prefix(folder);
    if (!prefix.ends_with(L'\\'))
        prefix += L'\\';
    const int length = static_cast<int>(prefix.size());
    return path.size() > prefix.size() &&
           CompareStringOrdinal(path.data(), length, prefix.data(), length, TRUE) == CSTR_EQUAL;
}

bool RunsFromTemporaryFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    return length != 0 && length <= MAX_PATH && IsInsideFolder(LongPath(WideProgramPath()), LongPath(temp));
}
