// The Task Scheduler task that starts the program when this user logs on. The program asks
// for elevation, and Windows does not start such a program from the Startup folder; a task
// with the highest run level may start it elevated without a prompt.
#pragma once
#include <string>
#include <string_view>

// The one task of earlier versions, shared by every user of the PC.
inline constexpr wchar_t kSharedTaskName[] = L"Pordex";

// The task's definition: `userId`'s logon starts `command` in `directory`, elevated, with no
// time limit and whatever the power source.
std::wstring LogonTaskXml(std::wstring_view userId, std::wstring_view command, std::wstring_view directory);

// The folder of `programPath` as a working directory: a drive's root keeps its backslash, as
// "E:" alone names the drive's current directory.
std::wstring WorkingDirectoryOf(std::wstring_view programPath);

// Whether a task whose action runs `command` as `userId` starts `programPath` for the user of
// SID `ownSid`. A scheduler that keeps no action (Wine's) answers empty texts, which leave it to
// the task's name; a user named otherwise than by SID is the name's to vouch for.
bool StartsProgram(std::wstring_view command, std::wstring_view userId, std::wstring_view programPath,
                   std::wstring_view ownSid);

// This user's task name: "Pordex " and the SID of the process token's user; empty when the
// token does not tell.
std::wstring LogonTaskName();

// Registers (or re-points) this user's task at the running program; true when the scheduler
// answered S_OK, which alone means that the logon trigger will start it.
bool RegisterLogonTask();
// Whether this user's task, and the shared one of earlier versions, start this very program for
// this user; a scheduler that cannot be reached has neither.
struct ProgramTasks {
    bool own = false;
    bool shared = false;
};
ProgramTasks FindProgramTasks();
// Deletes the task `name` (this user's by default); true when the scheduler no longer knows it.
bool RemoveLogonTask(std::wstring_view name = {});
