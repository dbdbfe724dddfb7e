#pragma once
#include <span>

#include "rasctl/arguments.h"

namespace rasctl {

inline constexpr int kDone = 0;
inline constexpr int kRefused = 1;  // the world does not allow it (no such entry, table full ...)
inline constexpr int kBadUsage = 2;

struct Command {
    const char* words;    // the words that select the command, "entry add"
    const char* usage;    // what follows them
    const char* options;  // the --options it takes, separated by blanks
    int minArguments;
    int maxArguments;
    int (*run)(const Arguments& arguments);
};

std::span<const Command> Commands();

}  // namespace rasctl
