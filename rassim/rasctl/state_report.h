#pragma once
#include <cstdio>

#include "world/world.h"

namespace rasctl {

// One line per account, entry, connection and armed fault, as key=value words; texts are quoted.
void PrintState(const rassim::World& world, std::FILE* out);

}  // namespace rasctl
