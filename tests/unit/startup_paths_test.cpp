// The paths start-up works with: the program's own folder in GBK, the module paths the kernel
// reports for other processes, the description that marks a running copy; the logon task.
#include <aclapi.h>
#include <msxml2.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "core/instance_guard.h"
#include "core/owners.h"
#include "core/program_path.h"
#include "core/replace_rights.h"
#include "tests/support/file_name.h"
#include "tests/support/row_substitute.h"
#include "ui/auto_start.h"
#include "ui/logon_task.h"

namespace {

// Refuses module snapshots with ERROR_BAD_LENGTH `refusals` times, as while modules load.
struct LoadingProcess {
    static inline int refusals = 0;
    static HANDLE WINAPI Snapshot(DWORD flags, DWORD processId) {
        if (flags != TH32CS_SNAPMODULE || refusals-- <= 0)
            return CreateToolhelp32Snapshot(flags, processId);
        SetLastError(ERROR_BAD_LENGTH);
        return INVALID_HANDLE_VALUE;
    }
};

// Answers with the path it was asked for, and remembers each read.
struct ReadRecorder {
    static inline std::vector<std::string> reads;
    static std::optional<std::string> Read(const std::string& path) {
        reads.push_back(path);
        return path;
    }
};

// QueryFullProcessImageNameA as a process answers that will not be asked.
BOOL WINAPI RefuseImageName(HANDLE, DWORD, LPSTR, DWORD*) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

struct PathCase {
    const char* path;
    const char* directory;
    const char* fileName;
};

// 淺, 禱 and 籠 end in the byte 0x5C, the backslash.
constexpr PathCase kPathCases[] = {
    {"C:\\Tools\\Pordex.exe", "C:\\Tools", "Pordex.exe"},
    {"C:\\宽带淺\\Pordex.exe", "C:\\宽带淺", "Pordex.exe"},
    {"C:\\淺\\禱\\籠.exe", "C:\\淺\\禱", "籠.exe"},
    {"D:\\籠\\", "D:\\籠", ""},
    {"籠淺.exe", "籠淺.exe", "籠淺.exe"},
};

constexpr CLSID kDocument60 = {0x88d96a05, 0xf192, 0x11d4, {0xa6, 0x5f, 0x00, 0x40, 0x96, 0x32, 0x51, 0xe5}};
constexpr IID kDocumentInterface = {0x2933bf95, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

// The text at `path` (XPath, t: the task namespace); "(none)" where nothing is.
std::wstring TextAt(IXMLDOMDocument2& document, const std::wstring& path) {
    BSTR text = nullptr;
    const auto node = Obtain<IXMLDOMNode>([&](IXMLDOMNode** found) { return document.selectSingleNode(MakeBstr(path).get(), found); });
    return node && SUCCEEDED(node->get_text(&text)) ? Bstr(text).get() : L"(none)";
}

}  // namespace

TEST(LogonTask, TheDefinitionParsesAndStartsTheProgramElevatedAtTheUsersLogon) {
    const ComScope com;
    const auto document = Obtain<IXMLDOMDocument2>([&](IXMLDOMDocument2** created) {
        return CoCreateInstance(kDocument60, nullptr, CLSCTX_INPROC_SERVER, kDocumentInterface, reinterpret_cast<void**>(created));
    });
    ASSERT_TRUE(document);
    VARIANT_BOOL parsed = VARIANT_FALSE;
    document->loadXML(MakeBstr(LogonTaskXml(L"PC\\张三", L"C:\\A&B <1>\\Pordex.exe", L"C:\\A&B <1>")).get(), &parsed);
    ASSERT_EQ(parsed, VARIANT_TRUE);
    const Bstr prefix = MakeBstr(L"xmlns:t='http://schemas.microsoft.com/windows/2004/02/mit/task'");
    VARIANT namespaces = {};
    namespaces.vt = VT_BSTR;
    namespaces.bstrVal = prefix.get();
    document->setProperty(MakeBstr(L"SelectionNamespaces").get(), namespaces);
    constexpr std::pair<const wchar_t*, const wchar_t*> kExpected[] = {
        {L"t:Triggers/t:LogonTrigger/t:UserId", L"PC\\张三"},
        {L"t:Principals/t:Principal/t:LogonType", L"InteractiveToken"},
        {L"t:Principals/t:Principal/t:RunLevel", L"HighestAvailable"},
        {L"t:Settings/t:ExecutionTimeLimit", L"PT0S"},
        {L"t:Settings/t:DisallowStartIfOnBatteries", L"false"},
        {L"t:Settings/t:StopIfGoingOnBatteries", L"false"},
        {L"t:Settings/t:Priority", L"4"},
        {L"t:Actions/t:Exec/t:Command", L"C:\\A&B <1>\\Pordex.exe"},
        {L"t:Actions/t:Exec/t:WorkingDirectory", L"C:\\A&B <1>"},
    };
    for (const auto& [path, text] : kExpected)
        EXPECT_EQ(TextAt(*document, std::wstring(L"/t:Task/") + path), text) << path;
}

// Descriptors as Windows 10 gives them, the program file first and the drive's root last.
#define TI L"S-1-5-80-956008885-3418522649-1831038044-1856292015-2271478464"
#define USER L"S-1-5-21-1-2-3-1001"
constexpr const wchar_t* kAdminFile = L"O:BAD:(A;ID;FA;;;BA)(A;ID;FA;;;SY)(A;ID;0x1200a9;;;BU)";
constexpr const wchar_t* kAdminFolder = L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)(A;OICIIO;GA;;;CO)";
constexpr const wchar_t* kProgramFiles = L"O:" TI L"D:PAI(A;;FA;;;" TI L")(A;CIIO;GA;;;" TI L")(A;;0x1301bf;;;SY)"
                                         L"(A;;0x1301bf;;;BA)(A;;0x1200a9;;;BU)(A;OICIIO;GXGR;;;BU)(A;OICIIO;GA;;;CO)";
constexpr const wchar_t* kSystemDrive = L"O:" TI L"D:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)"
                                        L"(A;OICIIO;SDGXGWGR;;;AU)(A;;LC;;;AU)";
constexpr const wchar_t* kUsersFolder = L"O:SYD:PAI(A;;FA;;;SY)(A;;FA;;;BA)(A;;0x1200a9;;;BU)(A;;0x1200a9;;;WD)";
constexpr const wchar_t* kUserFolder = L"O:" USER L"D:(A;OICIID;FA;;;SY)(A;OICIID;FA;;;BA)(A;OICIID;FA;;;" USER L")";
constexpr const wchar_t* kDataDrive = L"O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICIIO;0x1301bf;;;AU)(A;;0x4;;;AU)";
constexpr const wchar_t* kDataFolder = L"O:BAD:AI(A;OICIID;FA;;;BA)(A;OICIID;FA;;;SY)(A;OICIID;0x1301bf;;;AU)";

struct ReplaceCase {
    const char* place;
    std::vector<const wchar_t*> chain;
    bool safe;
};

const ReplaceCase kReplaceCases[] = {
    {"C:\\Program Files\\Pordex", {kAdminFile, kAdminFolder, kProgramFiles, kSystemDrive}, true},
    {"the same, the file owned by the user", {L"O:" USER L"D:(A;;FA;;;BA)", kAdminFolder, kProgramFiles, kSystemDrive}, false},
    {"C:\\Users\\alice\\Desktop", {kUserFolder, kUserFolder, kUserFolder, kUsersFolder, kSystemDrive}, false},
    {"D:\\Pordex", {kDataFolder, kDataFolder, kDataDrive}, false},
    {"D:\\Pordex.exe", {kAdminFile, kDataDrive}, true},
    {"C:\\Users\\alice\\Downloads\\admin-only", {kAdminFile, kAdminFolder, kUserFolder, kUserFolder, kUsersFolder, kSystemDrive}, false},
    {"a folder whose rights cannot be read", {kAdminFile, nullptr, kSystemDrive}, false},
    {"a folder everyone may change", {kAdminFile, L"O:BAD:(A;;FA;;;BA)(A;;GW;;;WD)", kSystemDrive}, false},
};

using OwnedDescriptor = UniqueHandle<PSECURITY_DESCRIPTOR, LocalFree>;

OwnedDescriptor Descriptor(const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    EXPECT_TRUE(!sddl || ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr));
    return OwnedDescriptor(descriptor);
}

// GetNamedSecurityInfoW as every folder of the program's path would answer it.
struct AnsweredDescriptor {
    static inline const wchar_t* sddl = nullptr;
    static DWORD WINAPI Read(LPCWSTR, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID*, PSID*, PACL*, PACL*, PSECURITY_DESCRIPTOR* found) {
        return ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, found, nullptr) ? 0 : GetLastError();
    }
};

TEST(ReplaceRights, OnlyAdministratorsSystemAndTrustedInstallerMayChangeTheFileOrAnyFolderAboveIt) {
    for (const ReplaceCase& c : kReplaceCases) {
        std::vector<OwnedDescriptor> owned;
        std::vector<PSECURITY_DESCRIPTOR> chain;
        for (const wchar_t* sddl : c.chain)
            chain.push_back(owned.emplace_back(Descriptor(sddl)).get());
        EXPECT_EQ(OnlyAdministratorsCanReplace(chain), c.safe) << c.place;
    }
    EXPECT_EQ(PathChain(L"C:\\A\\P.exe"), (std::vector<std::wstring>{L"C:\\A\\P.exe", L"C:\\A", L"C:\\"}));
}

TEST(LogonTask, TheBoxShowsOnlyThisUsersTaskForThisVeryFileInAFolderOnlyAdministratorsCanChange) {
    EXPECT_EQ(WorkingDirectoryOf(L"E:\\Pordex.exe"), L"E:\\");
    EXPECT_EQ(WorkingDirectoryOf(L"E:\\宽带\\Pordex.exe"), L"E:\\宽带");
    EXPECT_TRUE(StartsProgram(L"\"c:\\a\\PORDEX.exe\"", L"S-1-5-21-9", L"C:\\A\\Pordex.exe", L"S-1-5-21-9"));
    EXPECT_FALSE(StartsProgram(L"C:\\B\\Pordex.exe", L"", L"C:\\A\\Pordex.exe", L"S-1-5-21-9"));
    EXPECT_FALSE(StartsProgram(L"", L"S-1-5-21-8", L"C:\\A\\Pordex.exe", L"S-1-5-21-9"));
    EXPECT_TRUE(StartsProgram(L"", L"", L"C:\\A\\Pordex.exe", L"S-1-5-21-9"));  // Wine keeps neither
    const std::wstring name = LogonTaskName();
    EXPECT_TRUE(name.starts_with(L"Pordex S-1-5-")) << name.size();
    // A task of earlier versions gives way to this user's where the folder is safe, and goes
    // with a notice where it is not; either way the box tells the truth.
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring tasks = std::wstring(system) + L"\\Tasks\\";  // Wine keeps each task as a file of its name
    const RowSubstitute rights(39, AnsweredDescriptor::Read);
    for (const bool safe : {true, false}) {
        AnsweredDescriptor::sddl = safe ? kAdminFolder : kUserFolder;
        ASSERT_TRUE(RegisterLogonTask());
        ASSERT_TRUE(MoveFileExW((tasks + name).c_str(), (tasks + kSharedTaskName).c_str(), MOVEFILE_REPLACE_EXISTING));
        const AutoStartState state = SettleAutoStart();
        EXPECT_EQ(state.installed, safe);
        EXPECT_EQ(state.notice, safe ? "" : std::string("已取消开机自动启动：") + kUnsafeFolderRefusal);
        EXPECT_EQ(FindProgramTasks().own, safe);
        EXPECT_FALSE(FindProgramTasks().shared);
    }
}

TEST(ProgramPath, TheLastSeparatorIsNeverTheSecondByteOfACharacter) {
    for (const PathCase& c : kPathCases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(DirectoryOf(c.path), c.directory);
        EXPECT_EQ(FileNameOf(c.path), c.fileName);
    }
}

TEST(ProgramPath, TheProgramDirectoryHoldsTheRunningProgram) {
    EXPECT_EQ(ProgramDirectory() + "\\" + FileNameOf(ProgramPath()), ProgramPath());
    EXPECT_EQ(FileNameOf(ProgramPath()), "unit_tests.exe");
}

TEST(InstanceGuard, ModulePathsAreNormalisedOnce) {
    struct Case {
        const char* reported;
        const char* normalised;
    };
    constexpr Case kCases[] = {
        {"\\SystemRoot\\System32\\smss.exe", "C:\\Windows\\System32\\smss.exe"},
        {"\\systemroot\\System32\\smss.exe", "\\systemroot\\System32\\smss.exe"},
        {"\\??\\C:\\Program Files\\x.exe", "C:\\Program Files\\x.exe"},
        {"\\??\\C:\\a\\??\\b.exe", "C:\\a\\??\\b.exe"},
        {"C:\\Tools\\Pordex.exe", "C:\\Tools\\Pordex.exe"},
        {"", ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.reported);
        EXPECT_EQ(NormaliseImagePath(c.reported, "C:\\Windows"), c.normalised);
    }
}

TEST(InstanceGuard, OnlyTheProgramCarriesTheProductDescription) {
    // The product lies three folders above the unit tests.
    const std::string product = DirectoryOf(DirectoryOf(DirectoryOf(ProgramDirectory()))) + "\\Pordex.exe";
    EXPECT_EQ(ReadFileDescription(product), std::optional<std::string>(kProductDescription));
    EXPECT_EQ(ReadFileDescription(ProgramPath()), std::nullopt);
    EXPECT_EQ(ReadFileDescription(ProgramDirectory() + "\\missing.exe"), std::nullopt);
}

TEST(InstanceGuard, TheOwnProcessIsListedButNeverCountsAsAnotherCopy) {
    const DWORD own = GetCurrentProcessId();
    const std::vector<PROCESSENTRY32> processes = ListProcesses();
    EXPECT_TRUE(std::ranges::any_of(processes, [own](const PROCESSENTRY32& p) { return p.th32ProcessID == own; }));
    EXPECT_TRUE(std::ranges::none_of(processes, [](const PROCESSENTRY32& p) { return p.th32ProcessID == 0; }));
    EXPECT_EQ(GetProcessImagePath(own), ProgramPath());
}

TEST(InstanceGuard, AModuleSnapshotRefusedWhileModulesLoadIsTakenAgainAFewTimes) {
    RowSubstitute<decltype(LoadingProcess::Snapshot)> row(22, LoadingProcess::Snapshot);
    LoadingProcess::refusals = 3;
    EXPECT_EQ(GetProcessImagePath(GetCurrentProcessId()), ProgramPath());
    LoadingProcess::refusals = 1000;
    EXPECT_EQ(GetProcessImagePath(GetCurrentProcessId()), "");
}

TEST(InstanceGuard, EachExecutableIsReadOnceWhateverTheLetterCaseOfItsPath) {
    // 乤 and 丄 differ only in a second byte that reads as "a" or "A".
    DescriptionCache descriptions(ReadRecorder::Read);
    ReadRecorder::reads.clear();
    EXPECT_EQ(descriptions.DescriptionOf("C:\\Tools\\Pordex.exe"), "C:\\Tools\\Pordex.exe");
    EXPECT_EQ(descriptions.DescriptionOf("c:\\TOOLS\\pordex.EXE"), "C:\\Tools\\Pordex.exe");
    EXPECT_EQ(descriptions.DescriptionOf("C:\\乤\\x.exe"), "C:\\乤\\x.exe");
    EXPECT_EQ(descriptions.DescriptionOf("C:\\丄\\x.exe"), "C:\\丄\\x.exe");
    EXPECT_EQ(ReadRecorder::reads, (std::vector<std::string>{"C:\\Tools\\Pordex.exe", "C:\\乤\\x.exe", "C:\\丄\\x.exe"}));
}

TEST(InstanceGuard, AProcessWhoseImageNameIsRefusedIsFoundThroughItsModules) {
    {
        RowSubstitute<decltype(RefuseImageName)> refused(34, RefuseImageName);
        EXPECT_EQ(QueryProcessImagePath(GetCurrentProcessId()), "");
        EXPECT_EQ(FindProcessImagePath(GetCurrentProcessId()), ProgramPath());
    }
    RowSubstitute<decltype(LoadingProcess::Snapshot)> modulesRefused(22, LoadingProcess::Snapshot);
    LoadingProcess::refusals = 1000;
    EXPECT_EQ(FindProcessImagePath(GetCurrentProcessId()), ProgramPath());
}
