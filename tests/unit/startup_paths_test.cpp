// The paths start-up works with: the program's own folder in GBK, the module paths the kernel
// reports for other processes, the description that marks a running copy; the logon task.
#include <msxml2.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "core/instance_guard.h"
#include "core/owners.h"
#include "core/program_path.h"
#include "tests/support/file_name.h"
#include "tests/support/row_substitute.h"
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
        {L"t:Actions/t:Exec/t:Command", L"C:\\A&B <1>\\Pordex.exe"},
        {L"t:Actions/t:Exec/t:WorkingDirectory", L"C:\\A&B <1>"},
    };
    for (const auto& [path, text] : kExpected)
        EXPECT_EQ(TextAt(*document, std::wstring(L"/t:Task/") + path), text) << path;
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
