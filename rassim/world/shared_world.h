// Access to the one world of the Wine prefix. The world is a file in the Windows directory,
// mapped by every process that uses it and guarded by a named mutex. The environment variable
// RASSIM_WORLD=NAME selects a separate world (file rassim-NAME.dat), which isolates test runs.
#pragma once
#include "world/world.h"

namespace rassim {

// Holds the world's mutex from construction to destruction. Never call out of the simulator
// (a dial notifier, say) while holding one.
class WorldLock {
public:
    WorldLock();
    ~WorldLock();
    WorldLock(const WorldLock&) = delete;
    WorldLock& operator=(const WorldLock&) = delete;

    World& operator*() const { return world_; }
    World* operator->() const { return &world_; }

private:
    World& world_;
};

}  // namespace rassim
