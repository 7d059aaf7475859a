#include "PlatformApi.h"
#include "SystemCall.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

bool SameText(const std::string& a, const char* b) {
    const size_t n = std::strlen(b);
    if (a.size() != n)
        return false;
    for (size_t i = 0; i < n; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// A file name without a folder lies in the Windows folder.
std::string ProfilePath(const char* pszFileName) {
    if (std::strchr(pszFileName, '/') != nullptr || std::strchr(pszFileName, '\\') != nullptr)
        return pszFileName;
    const char* pszWindows = std::getenv("WINDIR");
    if (pszWindows == nullptr || *pszWindows == '\0')
        return std::string();
    return std::string(pszWindows) + "/" + pszFileName;
}

bool FindValue(const std::string& path, const char* pszSection, const char* pszKey,
               std::string& value) {
    if (path.empty())
        return false;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    bool bInSection = false;
    while (std::getline(in, line)) {
        const std::string text = Trim(line);
        if (!text.empty() && text[0] == '[') {
            const size_t close = text.find(']');
            bInSection =
                close != std::string::npos && SameText(text.substr(1, close - 1), pszSection);
            continue;
        }
        const size_t eq = text.find('=');
        if (!bInSection || eq == std::string::npos || !SameText(Trim(text.substr(0, eq)), pszKey))
            continue;
        value = Trim(text.substr(eq + 1));
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
            value = value.substr(1, value.size() - 2);
        return true;
    }
    return false;
}

DWORD ReadProfileString(const char* pszSection, const char* pszKey, const char* pszDefault,
                        char* pszReturned, DWORD nSize, const char* pszFileName) {
    std::string value;
    if (pszSection == nullptr || pszKey == nullptr || pszFileName == nullptr ||
        !FindValue(ProfilePath(pszFileName), pszSection, pszKey, value)) {
        value = pszDefault != nullptr ? pszDefault : "";
        while (!value.empty() && value.back() == ' ')
            value.pop_back();
    }
    const size_t n = value.size() < nSize - 1 ? value.size() : nSize - 1;
    std::memcpy(pszReturned, value.data(), n);
    pszReturned[n] = '\0';
    return static_cast<DWORD>(n);
}

} // namespace

DWORD GetPrivateProfileStringA(const char* pszSection, const char* pszKey, const char* pszDefault,
                               char* pszReturned, DWORD nSize, const char* pszFileName) {
    if (pszReturned == nullptr || nSize == 0)
        return 0;
    // Without memory to read the file, the answer is the default.
    const DWORD n = SystemCall<DWORD>(0xFFFFFFFF, [&]() -> DWORD {
        return ReadProfileString(pszSection, pszKey, pszDefault, pszReturned, nSize, pszFileName);
    });
    if (n != 0xFFFFFFFF)
        return n;
    lstrcpynA(pszReturned, pszDefault != nullptr ? pszDefault : "", static_cast<int>(nSize));
    return static_cast<DWORD>(lstrlenA(pszReturned));
}

DWORD GetProfileStringA(const char* pszSection, const char* pszKey, const char* pszDefault,
                        char* pszReturned, DWORD nSize) {
    return GetPrivateProfileStringA(pszSection, pszKey, pszDefault, pszReturned, nSize, "win.ini");
}
