// The phonebook entries in the Main window's connection list, and the user name the system
// stores for an entry.
#pragma once
#include <string>
#include <string_view>
#include <vector>

struct PhonebookEntry {
    std::string name;
    std::string phonebookPath;  // empty when the system's records do not carry it
};

// The entries of `phonebook` (null: the default phonebook) in the system's order; empty when
// there are none or the system call fails.
std::vector<PhonebookEntry> ListPhonebookEntries(const char* phonebook = nullptr);

// Refills 组合框1, selects the saved entry (else the first) and fills the account boxes.
void FillConnectionList();

// The user name the system stores for the entry; empty when none or on failure.
std::string GetEntryUserName(std::string_view entryName);

// 组合框1's item-chosen event.
void OnConnectionSelected();
