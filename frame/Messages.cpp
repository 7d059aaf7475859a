#include "Messages.h"

#include "ExtHost.h"

#include <cerrno>
#include <cstdlib>
#include <new>

HMODULE g_hModule;

int32_t g_nLangState;
char g_szLangFile[260];
char g_szLangSection[260];
char g_szMessage[256];

const char g_szLangFilePrefix[] = "TBXELANG";
const char g_szIniDefault[] = "XXX";
const char g_szMainSection[] = "MAIN";
const char g_szIntlSection[] = "INTL";
const char g_szHostIni[] = "TBXROVAN.INI";

namespace {

// Leaves the module's folder, with its closing separator, in pszFolder (empty when unknown).
void GetModuleFolder(char* pszFolder, DWORD nSize) {
    const DWORD nLength = GetModuleFileNameA(g_hModule, pszFolder, nSize);
    if (nLength == 0 || nLength >= nSize) {
        pszFolder[0] = '\0';
        return;
    }
    char* pszCut = nullptr;
    for (char* p = pszFolder; *p != '\0'; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/')
            pszCut = p + 1;
    }
    if (pszCut == nullptr)
        pszFolder[0] = '\0';
    else
        *pszCut = '\0';
}

bool Fits(const char* a, const char* b, const char* c, const char* d) {
    return lstrlenA(a) + lstrlenA(b) + lstrlenA(c) + lstrlenA(d) < 260;
}

} // namespace

void ReadLanguageSettings(const char* pszModuleName) {
    g_nLangState = LANG_STATE_NO_FILE;
    g_szLangFile[0] = '\0';

    char szCode[20];
    GetPrivateProfileStringA(g_szMainSection, "Language", g_szIniDefault, szCode, sizeof(szCode),
                             g_szHostIni);
    if (lstrcmpA(szCode, g_szIniDefault) == 0)
        GetProfileStringA(g_szIntlSection, "sLanguage", "enu", szCode, sizeof(szCode));

    // A name that would not fit 260 characters counts as not found.
    GetModuleFolder(g_szLangFile, sizeof(g_szLangFile));
    char szFound[260];
    bool bFound = false;
    if (Fits(g_szLangFile, g_szLangFilePrefix, ".", szCode)) {
        lstrcatA(g_szLangFile, g_szLangFilePrefix);
        lstrcatA(g_szLangFile, ".");
        lstrcatA(g_szLangFile, szCode);
        const DWORD n =
            SearchPathA(nullptr, g_szLangFile, nullptr, sizeof(szFound), szFound, nullptr);
        bFound = n != 0 && n < sizeof(szFound);
    }
    if (!bFound) {
        wsprintfA(g_szLangFile, "%s.%s", g_szLangFilePrefix, szCode);
        const DWORD n =
            SearchPathA(nullptr, g_szLangFile, nullptr, sizeof(szFound), szFound, nullptr);
        if (n == 0 || n >= sizeof(szFound))
            return;
        lstrcpynA(g_szLangFile, szFound, sizeof(g_szLangFile));
    }

    char szSection[258 + sizeof(" Extender")];
    lstrcpynA(szSection, pszModuleName, 259);
    lstrcatA(szSection, " Extender");
    lstrcpynA(g_szLangSection, szSection, sizeof(g_szLangSection));
    g_nLangState = LANG_STATE_FOUND;
}

int32_t ReadFileVersion() {
    int32_t nVersion = EXT_DEFAULT_VERSION;
    char szPath[260];
    if (GetModuleFileNameA(g_hModule, szPath, sizeof(szPath)) == 0)
        return nVersion;
    DWORD dwHandle = 0;
    const DWORD nSize = GetFileVersionInfoSizeA(szPath, &dwHandle);
    if (nSize == 0)
        return nVersion;
    char* pBlock = new (std::nothrow) char[nSize];
    if (pBlock == nullptr)
        return nVersion;
    if (!GetFileVersionInfoA(szPath, 0, nSize, pBlock)) {
        delete[] pBlock;
        return nVersion;
    }

    unsigned nLanguage = 0x0409, nCodePage = 0x04B0;
    void* pTranslation = nullptr;
    UINT nTranslationSize = 0;
    if (VerQueryValueA(pBlock, "\\VarFileInfo\\Translation", &pTranslation, &nTranslationSize) &&
        nTranslationSize >= 4) {
        const DWORD dwWord = *static_cast<const DWORD*>(pTranslation);
        nLanguage = dwWord & 0xFFFF;
        nCodePage = dwWord >> 16;
    }

    char szSubBlock[64];
    wsprintfA(szSubBlock, "\\StringFileInfo\\%04x%04x\\%s", nLanguage, nCodePage, "FileVersion");
    void* pText = nullptr;
    UINT nTextSize = 0;
    if (VerQueryValueA(pBlock, szSubBlock, &pText, &nTextSize)) {
        const int nSavedErrno = errno;
        errno = 0;
        const long nValue = atol(static_cast<const char*>(pText));
        const int nErrno = errno;
        errno = nSavedErrno;
        if (nErrno != ERANGE && nErrno != EINVAL)
            nVersion = static_cast<int32_t>(nValue);
    }
    delete[] pBlock;
    return nVersion;
}
