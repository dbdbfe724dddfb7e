// What a process holds, counted directly. Wine answers GetProcessHandleCount, GetGuiResources and
// the PrivateUsage of GetProcessMemoryInfo with 0, so each figure is counted from its objects.
#pragma once
#include <windows.h>

#include <cstddef>

namespace process_footprint {

// Kernel handles of `process` (which needs PROCESS_DUP_HANDLE): the handle values it accepts.
std::size_t KernelHandles(HANDLE process);
// Committed private memory of `process` (which needs PROCESS_QUERY_INFORMATION), in bytes.
std::size_t PrivateBytes(HANDLE process);
// GDI objects and icons of the calling process.
std::size_t GdiObjects();
std::size_t IconObjects();

}  // namespace process_footprint
