#include "DynamicLibrary.h"

#include <windows.h>

namespace platform {

void* OpenLibrary(const std::string& path) {
    return LoadLibraryA(path.c_str());
}

void CloseLibrary(void* handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
}

void* FindEntryPoint(void* handle, const std::string& name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name.c_str()));
}

std::string ProgramFolder() {
    char sz[MAX_PATH + 1];
    const DWORD n = GetModuleFileNameA(nullptr, sz, MAX_PATH);
    std::string path(sz, n);
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

const char* ModuleFileName() {
    return "qvPalvek.dll";
}

std::string WindowsFolder() {
    char sz[MAX_PATH + 1];
    const UINT n = GetWindowsDirectoryA(sz, MAX_PATH);
    return std::string(sz, n);
}

} // namespace platform
