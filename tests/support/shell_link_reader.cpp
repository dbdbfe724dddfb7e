#include "tests/support/shell_link_reader.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace e2e {
namespace {

constexpr std::size_t kHeaderSize = 0x4C;
constexpr std::size_t kFlagsOffset = 0x14;
constexpr std::size_t kShowCommandOffset = 0x3C;
constexpr DWORD kHasTargetIdList = 0x1;
constexpr DWORD kHasLinkInfo = 0x2;
constexpr DWORD kHasName = 0x4;
constexpr DWORD kHasWorkingDir = 0x10;
constexpr DWORD kHasArguments = 0x20;
// The link class {00021401-0000-0000-C000-000000000046} as stored.
constexpr unsigned char kLinkClass[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                          0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

template <typename Number>
std::optional<Number> NumberAt(const std::string& bytes, std::size_t offset) {
    if (offset + sizeof(Number) > bytes.size())
        return std::nullopt;
    Number value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

std::string TextAt(const std::string& bytes, std::size_t offset) {
    if (offset >= bytes.size())
        return {};
    return std::string(bytes.c_str() + offset, strnlen(bytes.c_str() + offset, bytes.size() - offset));
}

// LinkInfo: size, header size, flags, volume id, local base path, network link, suffix offsets.
std::optional<std::string> LinkInfoPath(const std::string& bytes, std::size_t start) {
    const auto basePath = NumberAt<DWORD>(bytes, start + 16);
    const auto suffix = NumberAt<DWORD>(bytes, start + 24);
    if (!basePath || !suffix)
        return std::nullopt;
    return TextAt(bytes, start + *basePath) + TextAt(bytes, start + *suffix);
}

}  // namespace

std::optional<ShellLinkFile> ReadShellLink(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(file), {});
    if (NumberAt<DWORD>(bytes, 0) != kHeaderSize || bytes.size() < kHeaderSize ||
        std::memcmp(bytes.data() + 4, kLinkClass, sizeof kLinkClass) != 0)
        return std::nullopt;
    const DWORD flags = *NumberAt<DWORD>(bytes, kFlagsOffset);
    std::size_t offset = kHeaderSize;
    if (flags & kHasTargetIdList) {
        const auto listSize = NumberAt<WORD>(bytes, offset);
        if (!listSize)
            return std::nullopt;
        offset += 2 + *listSize;
    }
    std::string target;
    if (flags & kHasLinkInfo) {
        const auto infoSize = NumberAt<DWORD>(bytes, offset);
        const auto infoPath = LinkInfoPath(bytes, offset);
        if (!infoSize || !infoPath)
            return std::nullopt;
        target = *infoPath;
    }
    return ShellLinkFile{target, *NumberAt<DWORD>(bytes, kShowCommandOffset), (flags & kHasArguments) != 0,
                         (flags & kHasWorkingDir) != 0, (flags & kHasName) != 0};
}

}  // namespace e2e
