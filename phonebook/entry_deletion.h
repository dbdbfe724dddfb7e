// Deleting the entry selected in the Main window's connection list.
#pragma once
#include <string_view>

// 按钮3 ("删除连接"): one click deletes, no question asked.
void OnDeleteEntry();

// Deletes `name` from the default phonebook; true on success.
bool DeletePhonebookEntry(std::string_view name);
