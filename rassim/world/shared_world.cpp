#include "world/shared_world.h"

#include <cctype>
#include <cstring>
#include <string>

#include "world/handle.h"

namespace rassim {
namespace {

constexpr DWORD kMagic = 0x4D495352;  // "RSIM"

class View {
public:
    explicit View(void* address) : address_(address) {}
    ~View() {
        if (address_)
            UnmapViewOfFile(address_);
    }
    View(const View&) = delete;
    View& operator=(const View&) = delete;
    void* get() const { return address_; }

private:
    void* address_;
};

// The RASSIM_WORLD name, reduced to characters that are safe in file and object names.
std::string WorldName() {
    const DWORD size = GetEnvironmentVariableA("RASSIM_WORLD", nullptr, 0);
    if (size == 0)
        return "";
    std::string name(size, '\0');
    name.resize(GetEnvironmentVariableA("RASSIM_WORLD", name.data(), size));
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '.')
            c = '_';
    }
    return name;
}

std::string WorldFile(const std::string& name) {
    char directory[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(directory, MAX_PATH);
    return std::string(directory, length) + (name.empty() ? "\\rassim.dat" : "\\rassim-" + name + ".dat");
}

std::string ObjectName(const std::string& name, const char* kind) {
    return "PordexRasSim." + (name.empty() ? std::string("default") : name) + "." + kind;
}

HANDLE OpenWorldFile(const std::string& name) {
    return CreateFileA(WorldFile(name).c_str(), GENERIC_READ | GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

class SharedWorld {
public:
    static SharedWorld& Instance() {
        static SharedWorld instance(WorldName());
        return instance;
    }

    HANDLE mutex() const { return mutex_.get(); }
    World& world() const { return *static_cast<World*>(view_.get()); }

private:
    explicit SharedWorld(const std::string& name)
        : mutex_(CreateMutexA(nullptr, FALSE, ObjectName(name, "lock").c_str())),
          file_(OpenWorldFile(name)),
          mapping_(CreateFileMappingA(file_.get(), nullptr, PAGE_READWRITE, 0, sizeof(World),
                                      ObjectName(name, "map").c_str())),
          view_(mapping_.get() ? MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(World)) : nullptr) {
        if (!mutex_.get() || !view_.get())
            FatalAppExitA(0, "rassim: cannot open the simulated dial-up world");
    }

    Handle mutex_;
    Handle file_;
    Handle mapping_;
    View view_;
};

// A new file, or one written by an older build, starts as an empty world.
void InitialiseIfNeeded(World& world) {
    if (world.magic == kMagic && world.layoutSize == sizeof(World))
        return;
    std::memset(&world, 0, sizeof(world));
    world.magic = kMagic;
    world.layoutSize = sizeof(World);
    ResetWorld(world);
}

}  // namespace

WorldLock::WorldLock() : world_(SharedWorld::Instance().world()) {
    // WAIT_ABANDONED also hands the mutex over: its last owner died, the world stays usable.
    WaitForSingleObject(SharedWorld::Instance().mutex(), INFINITE);
    InitialiseIfNeeded(world_);
    // Closing connections go lazily: whoever looks at the world next no longer sees them.
    RemoveClosedConnections(world_, GetTickCount64());
}

WorldLock::~WorldLock() { ReleaseMutex(SharedWorld::Instance().mutex()); }

}  // namespace rassim
