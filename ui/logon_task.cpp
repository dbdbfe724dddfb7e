#include "ui/logon_task.h"

#include <taskschd.h>

#include "core/owners.h"
#include "core/program_path.h"
#include "dialup/system_functions.h"

namespace {

// Element text: a '&' in a folder name must not start an entity.
std::wstring Escaped(std::wstring_view text) {
    std::wstring escaped;
    for (const wchar_t c : text) {
        if (c == L'&')
            escaped += L"&amp;";
        else if (c == L'<')
            escaped += L"&lt;";
        else if (c == L'>')
            escaped += L"&gt;";
        else
            escaped += c;
    }
    return escaped;
}

using OwnedToken = UniqueHandle<HANDLE, sys::CloseHandle>;
using OwnedSidText = UniqueHandle<LPWSTR, LocalFree>;

// The SID of the process token's user as text: the same for every logon of this account,
// whatever its name or the code page.
std::wstring CurrentUserSid() {
    HANDLE raw = nullptr;
    if (!sys::OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw))
        return {};
    const OwnedToken token(raw);
    alignas(TOKEN_USER) BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE] = {};
    DWORD size = 0;
    if (!sys::GetTokenInformation(token.get(), TokenUser, buffer, sizeof buffer, &size))
        return {};
    LPWSTR text = nullptr;
    if (!sys::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &text))
        return {};
    return OwnedSidText(text).get();
}

std::wstring TaskNameOf(std::wstring_view sid) {
    return sid.empty() ? std::wstring() : std::wstring(kSharedTaskName) + L' ' + std::wstring(sid);
}

// The root folder of the local scheduler; it holds the connection it came from.
struct TaskRoot {
    ComPointer<ITaskService> service;
    ComPointer<ITaskFolder> folder;
};

TaskRoot ConnectRoot() {
    TaskRoot root;
    root.service = Obtain<ITaskService>([](ITaskService** service) {
        return CoCreateInstance(__uuidof(TaskScheduler), nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskService),
                                reinterpret_cast<void**>(service));
    });
    const VARIANT local = {};
    if (!root.service || FAILED(root.service->Connect(local, local, local, local)))
        return {};
    const Bstr path = MakeBstr(L"\\");
    root.folder =
        Obtain<ITaskFolder>([&](ITaskFolder** folder) { return root.service->GetFolder(path.get(), folder); });
    return root;
}

ComPointer<IRegisteredTask> FindTask(ITaskFolder& folder, std::wstring_view name) {
    const Bstr text = MakeBstr(name);
    return Obtain<IRegisteredTask>([&](IRegisteredTask** task) { return folder.GetTask(text.get(), task); });
}

// A text the scheduler hands out, empty when it has none.
template <typename Read>
std::wstring TextOf(Read&& read) {
    BSTR raw = nullptr;
    const Bstr text(SUCCEEDED(read(&raw)) ? raw : nullptr);
    return text ? std::wstring(text.get(), SysStringLen(text.get())) : std::wstring();
}

// The program the task's first action runs, and the user it runs as.
struct TaskIdentity {
    std::wstring command;
    std::wstring userId;
};

TaskIdentity IdentityOf(IRegisteredTask& task) {
    const auto definition =
        Obtain<ITaskDefinition>([&](ITaskDefinition** found) { return task.get_Definition(found); });
    if (!definition)
        return {};
    TaskIdentity identity;
    if (const auto principal = Obtain<IPrincipal>([&](IPrincipal** found) { return definition->get_Principal(found); }))
        identity.userId = TextOf([&](BSTR* text) { return principal->get_UserId(text); });
    const auto actions =
        Obtain<IActionCollection>([&](IActionCollection** found) { return definition->get_Actions(found); });
    const auto action =
        actions ? Obtain<IAction>([&](IAction** found) { return actions->get_Item(1, found); }) : nullptr;
    const auto exec = action ? Obtain<IExecAction>([&](IExecAction** found) {
        return action->QueryInterface(__uuidof(IExecAction), reinterpret_cast<void**>(found));
    })
                             : nullptr;
    if (exec)
        identity.command = TextOf([&](BSTR* text) { return exec->get_Path(text); });
    return identity;
}

bool SameText(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

std::wstring_view Unquoted(std::wstring_view text) {
    return text.size() >= 2 && text.front() == L'"' && text.back() == L'"' ? text.substr(1, text.size() - 2) : text;
}

}  // namespace

// Priority 4 is the only level with normal CPU, I/O and memory priority; the default, 7, and
// the interactive 5 lower at least one of them.
std::wstring LogonTaskXml(std::wstring_view userId, std::wstring_view command, std::wstring_view directory) {
    const std::wstring user = Escaped(userId);
    return L"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">"
           L"<Triggers><LogonTrigger><Enabled>true</Enabled><UserId>" +
           user +
           L"</UserId></LogonTrigger></Triggers>"
           L"<Principals><Principal id=\"Author\"><UserId>" +
           user +
           L"</UserId>"
           L"<LogonType>InteractiveToken</LogonType><RunLevel>HighestAvailable</RunLevel></Principal></Principals>"
           L"<Settings><MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>"
           L"<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>"
           L"<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>"
           L"<ExecutionTimeLimit>PT0S</ExecutionTimeLimit><Priority>4</Priority><Enabled>true</Enabled></Settings>"
           L"<Actions Context=\"Author\"><Exec><Command>" +
           Escaped(command) +
           L"</Command>"
           L"<WorkingDirectory>" +
           Escaped(directory) + L"</WorkingDirectory></Exec></Actions></Task>";
}

std::wstring WorkingDirectoryOf(std::wstring_view programPath) {
    const std::wstring_view folder = programPath.substr(0, programPath.find_last_of(L'\\'));
    return folder.size() == 2 && folder[1] == L':' ? std::wstring(folder) + L'\\' : std::wstring(folder);
}

bool StartsProgram(std::wstring_view command, std::wstring_view userId, std::wstring_view programPath,
                   std::wstring_view ownSid) {
    if (!command.empty() && !SameText(Unquoted(command), programPath))
        return false;
    return !userId.starts_with(L"S-1-") || SameText(userId, ownSid);
}

std::wstring LogonTaskName() { return TaskNameOf(CurrentUserSid()); }

bool RegisterLogonTask() {
    const std::wstring sid = CurrentUserSid();
    if (sid.empty())
        return false;
    ComScope com;
    const TaskRoot root = ConnectRoot();
    if (!root.folder)
        return false;
    const std::wstring program = WideProgramPath();
    const Bstr name = MakeBstr(TaskNameOf(sid));
    const Bstr xml = MakeBstr(LogonTaskXml(sid, program, WorkingDirectoryOf(program)));
    const VARIANT none = {};
    IRegisteredTask* raw = nullptr;
    const HRESULT result = root.folder->RegisterTask(name.get(), xml.get(), TASK_CREATE_OR_UPDATE, none, none,
                                                     TASK_LOGON_INTERACTIVE_TOKEN, none, &raw);
    const ComPointer<IRegisteredTask> task(SUCCEEDED(result) ? raw : nullptr);
    return result == S_OK;
}

ProgramTasks FindProgramTasks() {
    const std::wstring sid = CurrentUserSid();
    ComScope com;
    const TaskRoot root = ConnectRoot();
    if (sid.empty() || !root.folder)
        return {};
    const std::wstring program = WideProgramPath();
    const auto starts = [&](std::wstring_view name) {
        const auto found = FindTask(*root.folder, name);
        const TaskIdentity identity = found ? IdentityOf(*found) : TaskIdentity();
        return found && StartsProgram(identity.command, identity.userId, program, sid);
    };
    return {starts(TaskNameOf(sid)), starts(kSharedTaskName)};
}

bool RemoveLogonTask(std::wstring_view name) {
    const std::wstring task = name.empty() ? LogonTaskName() : std::wstring(name);
    ComScope com;
    const TaskRoot root = ConnectRoot();
    if (!root.folder || task.empty())
        return true;
    root.folder->DeleteTask(MakeBstr(task).get(), 0);
    return !FindTask(*root.folder, task);
}
