// The file name at the end of a GBK path: what follows the separator DirectoryOf cuts at, the
// whole path when it holds none.
#pragma once
#include <string>
#include <string_view>

#include "core/program_path.h"

inline std::string FileNameOf(std::string_view path) {
    const std::size_t directory = DirectoryOf(path).size();
    return std::string(directory == path.size() ? path : path.substr(directory + 1));
}
