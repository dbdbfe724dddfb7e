// A new broadband (PPPoE) entry of the default phonebook, from the New-connection window.
#pragma once
#include <string>
#include <string_view>

// The New-connection window's "确定".
void OnCreateEntry();

// Empty when the system accepts `name` for a new entry, else why it does not.
std::string ValidateEntryName(std::string_view name);

// Writes the PPPoE entry `name`; true on success. The account is stored as the entry's
// credentials; a failure to store it does not undo the entry.
bool CreatePppoeEntry(std::string_view name, std::string_view userName, std::string_view password);
