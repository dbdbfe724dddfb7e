#include "ui/logon_task.h"

#include <taskschd.h>

#include "core/owners.h"
#include "core/program_path.h"
#include "core/text_encoding.h"
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

// DOMAIN\name as Windows set it for this logon; empty when it did not.
std::string CurrentUserId() {
    char id[512] = {};
    const DWORD length = sys::ExpandEnvironmentStringsA("%USERDOMAIN%\\%USERNAME%", id, sizeof id);
    const std::string text = length == 0 || length > sizeof id ? std::string() : std::string(id);
    return text.find('%') == std::string::npos ? text : std::string();
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

bool Knows(ITaskFolder& folder, BSTR name) {
    return Obtain<IRegisteredTask>([&](IRegisteredTask** task) { return folder.GetTask(name, task); }) != nullptr;
}

}  // namespace

// Priority 5 is the scheduler's level for interactive tasks; its default, 7, is below normal.
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
           L"<ExecutionTimeLimit>PT0S</ExecutionTimeLimit><Priority>5</Priority><Enabled>true</Enabled></Settings>"
           L"<Actions Context=\"Author\"><Exec><Command>" +
           Escaped(command) +
           L"</Command>"
           L"<WorkingDirectory>" +
           Escaped(directory) + L"</WorkingDirectory></Exec></Actions></Task>";
}

bool RegisterLogonTask() {
    const std::string user = CurrentUserId();
    if (user.empty())
        return false;
    ComScope com;
    const TaskRoot root = ConnectRoot();
    if (!root.folder)
        return false;
    const Bstr name = MakeBstr(kLogonTaskName);
    const Bstr xml = MakeBstr(LogonTaskXml(WideText(user), WideText(ProgramPath()), WideText(ProgramDirectory())));
    const VARIANT none = {};
    return Obtain<IRegisteredTask>([&](IRegisteredTask** task) {
               return root.folder->RegisterTask(name.get(), xml.get(), TASK_CREATE_OR_UPDATE, none, none,
                                                TASK_LOGON_INTERACTIVE_TOKEN, none, task);
           }) != nullptr;
}

bool LogonTaskExists() {
    ComScope com;
    const TaskRoot root = ConnectRoot();
    const Bstr name = MakeBstr(kLogonTaskName);
    return root.folder && Knows(*root.folder, name.get());
}

bool RemoveLogonTask() {
    ComScope com;
    const TaskRoot root = ConnectRoot();
    if (!root.folder)
        return true;
    const Bstr name = MakeBstr(kLogonTaskName);
    root.folder->DeleteTask(name.get(), 0);
    return !Knows(*root.folder, name.get());
}
