// Where the running program lies. Paths are GBK texts, whose double-byte characters may
// carry a backslash byte as their second byte.
#pragma once
#include <string>
#include <string_view>

// Full path of the program's executable.
std::string ProgramPath();
// Its directory, without a trailing backslash.
std::string ProgramDirectory();
// `path` up to its last separator; a second byte 0x5C of a double-byte character is no
// separator. The whole path when it holds none.
std::string DirectoryOf(std::string_view path);
