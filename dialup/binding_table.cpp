#include "dialup/binding_table.h"

#include <atomic>
#include <cstdlib>
#include <string>

namespace binding {
namespace {

struct BoundRow {
    std::atomic<void*> address{nullptr};
    // The module the address was found in: the row's record keeps it, and it is never freed.
    std::atomic<HMODULE> module{nullptr};
};

BoundRow gBound[kRowCount];
ModuleLoader gLoader = kSystemLoader;

HMODULE LoadFromSystemDirectory(const char* library) { return LoadSystemLibrary(library); }

// The system directory, a backslash and the file name; a bare name gets ".dll" as the
// loader's own search would add it.
std::string SystemLibraryPath(std::string_view library) {
    char directory[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    std::string path = std::string(directory, length).append("\\").append(library);
    if (library.find('.') == std::string_view::npos)
        path.append(".dll");
    return path;
}

void* FindExport(HMODULE module, const char* function) {
    if (function[0] == '#')
        return reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(std::atoi(function + 1) & 0xFFFF)));
    return reinterpret_cast<void*>(GetProcAddress(module, function));
}

void ReleaseModule(HMODULE module) { FreeLibrary(module); }

std::string MissingExportMessage(const BindingRow& row) {
    std::string message = "无法找到指定DLL库文件";
    if (row.library[0] != '\0')
        message.append("“").append(row.library).append("”");
    return message.append("中的输出命令“").append(row.function).append("”");
}

void* BindFromFallbacks(const char* function, HMODULE& module, const ModuleLoader& loader) {
    for (const char* library : kFallbackLibraries) {
        HMODULE candidate = loader.load(library);
        if (!candidate)
            continue;
        if (void* address = loader.find(candidate, function)) {
            module = candidate;
            return address;
        }
        loader.release(candidate);
    }
    return nullptr;
}

}  // namespace

const ModuleLoader kSystemLoader = {LoadFromSystemDirectory, FindExport, ReleaseModule};

HMODULE LoadSystemLibrary(const char* library, LoadLibraryExFunction loadLibraryEx) {
    if (HMODULE module = loadLibraryEx(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return module;
    if (GetLastError() != ERROR_INVALID_PARAMETER)
        return nullptr;
    const std::string path = SystemLibraryPath(library);
    // The altered search path looks for the library's own dependencies in the system directory
    // too, never beside the program.
    return path.empty() ? nullptr : loadLibraryEx(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void* BindRow(const BindingRow& row, HMODULE& module, const ModuleLoader& loader) {
    void* address = nullptr;
    if (row.library[0] == '\0') {
        address = BindFromFallbacks(row.function, module, loader);
    } else if (HMODULE loaded = loader.load(row.library)) {
        address = loader.find(loaded, row.function);
        if (address)
            module = loaded;
        else
            loader.release(loaded);
    }
    if (!address && !row.mayBeAbsent)
        FatalRuntimeError(0, MissingExportMessage(row));
    return address;
}

void* BindSystemFunction(std::size_t index) {
    BoundRow& bound = gBound[index];
    if (void* address = bound.address.load(std::memory_order_acquire))
        return address;
    // Two threads may bind the same row at once; both store the same address and the
    // library's reference count keeps the module loaded either way.
    HMODULE module = nullptr;
    void* address = BindRow(kBindingRows[index], module, gLoader);
    bound.module.store(module, std::memory_order_relaxed);
    bound.address.store(address, std::memory_order_release);
    return address;
}

std::string FormatFatalText(DWORD code, std::string_view message) {
    std::string text = "运行时出错!\r\n\r\n";
    if (code != 0)
        text.append("错误代码：").append(std::to_string(code)).append("\r\n\r\n");
    if (!message.empty())
        text.append("错误信息：").append(message).append("\r\n");
    return text;
}

void FatalRuntimeError(DWORD code, std::string_view message) {
    MessageBoxA(nullptr, FormatFatalText(code, message).c_str(), "错误", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(0xFFFFFFFF);
}

void SubstituteRow(std::size_t index, void* address) {
    gBound[index].module.store(nullptr, std::memory_order_relaxed);
    gBound[index].address.store(address, std::memory_order_release);
}

void SetModuleLoader(const ModuleLoader& loader) { gLoader = loader; }

}  // namespace binding
