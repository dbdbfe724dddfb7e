#include "world/entry_name.h"

#include <windows.h>

#include <cctype>
#include <cstring>
#include <string_view>

#include "world/world.h"

namespace rassim {

bool IsValidEntryName(const char* name) {
    constexpr std::string_view kForbidden = "|><?*\\/:";
    const std::size_t length = std::strlen(name);
    if (length == 0 || length >= kNameCapacity || name[0] == '.')
        return false;
    bool hasLetterOrDigit = false;
    for (std::size_t i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (IsDBCSLeadByte(byte) && i + 1 < length) {
            hasLetterOrDigit = true;
            ++i;
        } else if (kForbidden.find(static_cast<char>(byte)) != std::string_view::npos) {
            return false;
        } else if (std::isalnum(byte)) {
            hasLetterOrDigit = true;
        }
    }
    return hasLetterOrDigit;
}

}  // namespace rassim
