#include "core/replace_rights.h"

#include <aclapi.h>

#include <algorithm>
#include <cstring>

#include "core/owners.h"
#include "core/program_path.h"
#include "dialup/system_functions.h"

namespace {

// Rights with which another account could put a different file at the program's path.
constexpr ACCESS_MASK kFileRights = FILE_WRITE_DATA | FILE_APPEND_DATA | DELETE | WRITE_DAC | WRITE_OWNER;
// On a folder: add a file, delete (and so rename) what it holds, or the folder itself.
// FILE_ADD_SUBDIRECTORY is not among them: a drive's root grants it to every user.
constexpr ACCESS_MASK kFolderRights = FILE_ADD_FILE | FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER;

// Generic rights in an entry stand for these file rights.
ACCESS_MASK Mapped(ACCESS_MASK mask) {
    if (mask & GENERIC_ALL)
        mask |= FILE_ALL_ACCESS;
    if (mask & GENERIC_WRITE)
        mask |= FILE_GENERIC_WRITE;
    return mask;
}

// The sub-authorities, under the NT authority, of SYSTEM, Administrators and TrustedInstaller.
constexpr DWORD kSystem[] = {SECURITY_LOCAL_SYSTEM_RID};
constexpr DWORD kAdministrators[] = {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS};
constexpr DWORD kTrustedInstaller[] = {
    SECURITY_SERVICE_ID_BASE_RID, 956008885, 3418522649, 1831038044, 1856292015, 2271478464};
constexpr std::span<const DWORD> kTrusted[] = {kSystem, kAdministrators, kTrustedInstaller};

bool IsTrusted(const BYTE* sid) {
    const SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    const auto* head = reinterpret_cast<const SID*>(sid);
    if (!sid || std::memcmp(&head->IdentifierAuthority, &nt, sizeof nt) != 0)
        return false;
    const std::span<const DWORD> rids(reinterpret_cast<const DWORD*>(sid + 8), head->SubAuthorityCount);
    return std::ranges::any_of(kTrusted,
                               [&](std::span<const DWORD> trusted) { return std::ranges::equal(trusted, rids); });
}

// A part of a self-relative descriptor at `offset`, null where the offset is 0.
const BYTE* Part(const SECURITY_DESCRIPTOR_RELATIVE& descriptor, DWORD offset) {
    return offset == 0 ? nullptr : reinterpret_cast<const BYTE*>(&descriptor) + offset;
}

// Whether an allowing entry that applies to the object itself gives an untrusted account any
// of `rights`. A missing list lets everyone in.
bool GrantsOthers(const BYTE* list, ACCESS_MASK rights) {
    if (!list)
        return true;
    const auto* acl = reinterpret_cast<const ACL*>(list);
    const BYTE* entry = list + sizeof(ACL);
    for (WORD i = 0; i < acl->AceCount; ++i, entry += reinterpret_cast<const ACE_HEADER*>(entry)->AceSize) {
        const auto* header = reinterpret_cast<const ACE_HEADER*>(entry);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE))
            continue;
        const auto* allowed = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(entry);
        if ((Mapped(allowed->Mask) & rights) && !IsTrusted(reinterpret_cast<const BYTE*>(&allowed->SidStart)))
            return true;
    }
    return false;
}

// The owner may always rewrite the list, so an untrusted owner counts like a granted right.
bool OthersMayChange(PSECURITY_DESCRIPTOR raw, ACCESS_MASK rights) {
    if (!raw)
        return true;
    const auto& descriptor = *static_cast<const SECURITY_DESCRIPTOR_RELATIVE*>(raw);
    if (!(descriptor.Control & SE_SELF_RELATIVE) || !IsTrusted(Part(descriptor, descriptor.Owner)))
        return true;
    return !(descriptor.Control & SE_DACL_PRESENT) || GrantsOthers(Part(descriptor, descriptor.Dacl), rights);
}

using OwnedDescriptor = UniqueHandle<PSECURITY_DESCRIPTOR, LocalFree>;

OwnedDescriptor DescriptorOf(const std::wstring& path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD result =
        sys::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                   nullptr, nullptr, nullptr, nullptr, &descriptor);
    return OwnedDescriptor(result == ERROR_SUCCESS ? descriptor : nullptr);
}

}  // namespace

bool OnlyAdministratorsCanReplace(std::span<const PSECURITY_DESCRIPTOR> chain) {
    if (chain.empty() || OthersMayChange(chain.front(), kFileRights))
        return false;
    return std::ranges::none_of(chain.subspan(1),
                                [](PSECURITY_DESCRIPTOR folder) { return OthersMayChange(folder, kFolderRights); });
}

std::vector<std::wstring> PathChain(std::wstring path) {
    std::vector<std::wstring> chain{path};
    for (auto cut = path.find_last_of(L'\\'); cut != std::wstring::npos && cut > 0; cut = path.find_last_of(L'\\')) {
        path.resize(cut);
        chain.push_back(path.size() == 2 && path[1] == L':' ? path + L'\\' : path);
    }
    return chain;
}

bool ProgramOnlyAdministratorsCanReplace() {
    std::vector<OwnedDescriptor> owned;
    std::vector<PSECURITY_DESCRIPTOR> chain;
    for (const std::wstring& path : PathChain(WideProgramPath())) {
        owned.push_back(DescriptorOf(path));
        chain.push_back(owned.back().get());
    }
    return OnlyAdministratorsCanReplace(chain);
}
