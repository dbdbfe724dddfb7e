// Where the running program lies. Paths are GBK texts, whose double-byte characters may
// carry a backslash byte as their second byte.
#pragma once
#include <string>
#include <string_view>

// Full path of the program's executable.
std::string ProgramPath();
// The same in UTF-16, which holds any name the file system does.
std::wstring WideProgramPath();
// Its directory, without a trailing backslash.
std::string ProgramDirectory();
// Whether `path` lies inside `folder`, letters compared without regard to case.
bool IsInsideFolder(std::wstring_view path, std::wstring_view folder);
// Whether the program runs from the user's temporary folder, as a double click in an opened
// zip starts it: its settings and everything pointing at it would go with the next clean-up.
bool RunsFromTemporaryFolder();
// `path` up to its last separator; a second byte 0x5C of a double-byte character is no
// separator. The whole path when it holds none.
std::string DirectoryOf(std::string_view path);
