#include "PlatformApi.h"
#include "SystemCall.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID pReserved);

namespace {
char s_cModuleAnchor; // an address inside this module: its handle

// The attach notification, after the module's static initialisers.
__attribute__((constructor(2000))) void NotifyAttach() {
    DllMain(&s_cModuleAnchor, DLL_PROCESS_ATTACH, nullptr);
}
} // namespace

static DWORD ModuleFileName(HMODULE hModule, char* pszFileName, DWORD nSize) {
    Dl_info info;
    if (nSize == 0 || dladdr(hModule != nullptr ? hModule : &s_cModuleAnchor, &info) == 0 ||
        info.dli_fname == nullptr)
        return 0;
    // Always a full path, as Windows gives it.
    char szFull[PATH_MAX];
    const char* pszPath = realpath(info.dli_fname, szFull) != nullptr ? szFull : info.dli_fname;
    const size_t nLength = std::strlen(pszPath);
    if (nLength >= nSize) {
        std::memcpy(pszFileName, pszPath, nSize - 1);
        pszFileName[nSize - 1] = '\0';
        return nSize;
    }
    std::memcpy(pszFileName, pszPath, nLength + 1);
    return static_cast<DWORD>(nLength);
}

DWORD GetModuleFileNameA(HMODULE hModule, char* pszFileName, DWORD nSize) {
    return SystemCall<DWORD>(0, [&] { return ModuleFileName(hModule, pszFileName, nSize); });
}

void _splitpath(const char* pszPath, char* pszDrive, char* pszDir, char* pszName, char* pszExt) {
    const char* pszStart = pszPath;
    if (pszPath[0] != '\0' && pszPath[1] == ':')
        pszStart = pszPath + 2;
    const char* pszBase = pszStart;
    for (const char* p = pszStart; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\')
            pszBase = p + 1;
    }
    const char* pszDot = std::strrchr(pszBase, '.');
    if (pszDot == nullptr)
        pszDot = pszBase + std::strlen(pszBase);
    auto copy = [](char* pszOut, const char* pszFrom, const char* pszTo) {
        if (pszOut == nullptr)
            return;
        std::memcpy(pszOut, pszFrom, static_cast<size_t>(pszTo - pszFrom));
        pszOut[pszTo - pszFrom] = '\0';
    };
    copy(pszDrive, pszPath, pszStart);
    copy(pszDir, pszStart, pszBase);
    copy(pszName, pszBase, pszDot);
    copy(pszExt, pszDot, pszDot + std::strlen(pszDot));
}
