#include "phonebook/entry_listing.h"

#include <algorithm>
#include <cstddef>

#include "core/settings.h"
#include "dialup/record_text.h"
#include "dialup/system_functions.h"
#include "ui/gui.h"

namespace {

using namespace ui::main_window;

// Records of this size or more carry the phonebook path.
constexpr DWORD kRecordWithPath = sizeof(RASENTRYNAMEA);

PhonebookEntry EntryAt(const char* record, DWORD recordSize) {
    const auto* entry = reinterpret_cast<const RASENTRYNAMEA*>(record);
    PhonebookEntry read{TextOf(entry->szEntryName, sizeof entry->szEntryName), {}};
    if (recordSize >= kRecordWithPath)
        read.phonebookPath = TextOf(entry->szPhonebookPath, recordSize - offsetof(RASENTRYNAMEA, szPhonebookPath));
    return read;
}

int IndexOf(const std::vector<PhonebookEntry>& entries, const std::string& name) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].name == name)
            return static_cast<int>(i);
    }
    return 0;
}

}  // namespace

std::vector<PhonebookEntry> ListPhonebookEntries(const char* phonebook) {
    DWORD byteCount = 0;
    DWORD entryCount = 0;
    sys::RasEnumEntriesA(nullptr, phonebook, nullptr, &byteCount, &entryCount);
    if (byteCount == 0)
        return {};
    // Bytes without an entry count: the published record, and the listing call tells the count.
    const DWORD recordSize = entryCount == 0 ? sizeof(RASENTRYNAMEA) : byteCount / entryCount;
    // A record must at least hold the entry name.
    if (recordSize < offsetof(RASENTRYNAMEA, dwFlags))
        return {};
    // Room for one record at least; DWORD elements keep the records aligned as the service expects.
    byteCount = std::max(byteCount, recordSize);
    std::vector<DWORD> buffer((byteCount + sizeof(DWORD) - 1) / sizeof(DWORD));
    auto* records = reinterpret_cast<RASENTRYNAMEA*>(buffer.data());
    records->dwSize = recordSize;
    if (sys::RasEnumEntriesA(nullptr, phonebook, records, &byteCount, &entryCount) != 0)
        return {};

    std::vector<PhonebookEntry> entries;
    const auto* bytes = reinterpret_cast<const char*>(buffer.data());
    const std::size_t capacity = buffer.size() * sizeof(DWORD) / recordSize;
    for (std::size_t i = 0; i < entryCount && i < capacity; ++i)
        entries.push_back(EntryAt(bytes + i * recordSize, recordSize));
    return entries;
}

void FillConnectionList() {
    gui::ClearItems(组合框1);
    const std::vector<PhonebookEntry> entries = ListPhonebookEntries();
    for (const PhonebookEntry& entry : entries)
        gui::AddItem(组合框1, entry.name);
    const AccountSettings saved = CurrentAccount();
    if (!entries.empty())
        gui::SelectItem(组合框1, IndexOf(entries, saved.entryName));

    const std::string selected = gui::GetSelectedText(组合框1);
    if (selected == saved.entryName) {
        gui::SetText(编辑框1, saved.userName);
        gui::SetText(编辑框2, saved.password);
    } else if (const std::string stored = GetEntryUserName(selected); !stored.empty()) {
        gui::SetText(编辑框1, stored);
    }
}

std::string GetEntryUserName(std::string_view entryName) {
    RASCREDENTIALSA credentials = {};
    credentials.dwSize = sizeof credentials;
    credentials.dwMask = RASCM_UserName | RASCM_Password;
    const std::string name(entryName);
    const DWORD result = sys::RasGetCredentialsA(nullptr, name.c_str(), &credentials);
    const std::string userName = result == 0 ? TextOf(credentials.szUserName, sizeof credentials.szUserName) : "";
    SecureZeroMemory(&credentials, sizeof credentials);
    return userName;
}

void OnConnectionSelected() { gui::SetText(编辑框1, GetEntryUserName(gui::GetSelectedText(组合框1))); }
