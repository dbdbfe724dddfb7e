// The Task Scheduler task that starts the program when this user logs on. The program asks
// for elevation, and Windows does not start such a program from the Startup folder; a task
// with the highest run level may start it elevated without a prompt.
#pragma once
#include <string>
#include <string_view>

inline constexpr wchar_t kLogonTaskName[] = L"Pordex";

// The task's definition: `userId`'s logon starts `command` in `directory`, elevated, with no
// time limit and whatever the power source.
std::wstring LogonTaskXml(std::wstring_view userId, std::wstring_view command, std::wstring_view directory);

// Registers (or replaces) the task for the running program and this user; true when done.
bool RegisterLogonTask();
// Whether the scheduler knows the task; a scheduler that cannot be reached knows none.
bool LogonTaskExists();
// Deletes the task; true when the scheduler no longer knows it.
bool RemoveLogonTask();
