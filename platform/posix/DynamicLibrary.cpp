#include "DynamicLibrary.h"

#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

namespace platform {

void* OpenLibrary(const std::string& path) {
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void CloseLibrary(void* handle) {
    dlclose(handle);
}

// ELF carries no stdcall decoration: "_Name@40" is exported as "Name".
void* FindEntryPoint(void* handle, const std::string& name) {
    std::string plain = name;
    const size_t at = plain.rfind('@');
    if (!plain.empty() && plain[0] == '_' && at != std::string::npos)
        plain = plain.substr(1, at - 1);
    return dlsym(handle, plain.c_str());
}

std::string ProgramFolder() {
    char sz[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", sz, sizeof(sz) - 1);
    if (n <= 0)
        return std::string();
    std::string path(sz, static_cast<size_t>(n));
    return path.substr(0, path.find_last_of('/') + 1);
}

const char* ModuleFileName() {
    return "qvPalvek.so";
}

std::string WindowsFolder() {
    const char* psz = std::getenv("WINDIR");
    return psz != nullptr ? psz : "";
}

} // namespace platform
