// Test-only: stands in for the browser. Writes the image name of the process that started it
// to link_probe.txt beside itself.
#include <windows.h>
#include <tlhelp32.h>

#include <fstream>
#include <string>

namespace {

PROCESSENTRY32 Entry(HANDLE snapshot, DWORD processId) {
    PROCESSENTRY32 entry = {sizeof entry};
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (entry.th32ProcessID == processId) return entry;
    return {};
}

}  // namespace

int main() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    const PROCESSENTRY32 parent = Entry(snapshot, Entry(snapshot, GetCurrentProcessId()).th32ParentProcessID);
    CloseHandle(snapshot);
    char path[MAX_PATH] = {};
    const std::string file(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    std::ofstream(file.substr(0, file.find_last_of('\\')) + "\\link_probe.txt") << parent.szExeFile;
}
