#include "PlatformApi.h"
#include "SystemCall.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool IsFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string Folder(const std::string& path) {
    const size_t cut = path.find_last_of('/');
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string ExecutableFolder() {
    char sz[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", sz, sizeof(sz) - 1);
    if (n <= 0)
        return std::string();
    sz[n] = '\0';
    return Folder(sz);
}

std::string CurrentFolder() {
    char sz[PATH_MAX];
    return getcwd(sz, sizeof(sz)) != nullptr ? std::string(sz) : std::string();
}

// The search order for a name without a folder: the program's folder, the current folder,
// the system folder, the Windows folder, then every folder of PATH.
std::vector<std::string> SearchFolders() {
    std::vector<std::string> folders{ExecutableFolder(), CurrentFolder()};
    if (const char* pszWindows = std::getenv("WINDIR")) {
        folders.push_back(std::string(pszWindows) + "/system32");
        folders.push_back(pszWindows);
    }
    if (const char* pszPath = std::getenv("PATH")) {
        std::string rest = pszPath;
        size_t start = 0;
        while (start <= rest.size()) {
            const size_t end = rest.find(':', start);
            folders.push_back(
                rest.substr(start, end == std::string::npos ? std::string::npos : end - start));
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
    }
    return folders;
}

DWORD FindFile(const char* pszFileName, DWORD nBufferLength, char* pszBuffer, char** ppszFilePart) {
    if (pszFileName == nullptr || *pszFileName == '\0')
        return 0;
    std::string found;
    if (std::strchr(pszFileName, '/') != nullptr) {
        if (IsFile(pszFileName))
            found = pszFileName[0] == '/' ? std::string(pszFileName)
                                          : CurrentFolder() + "/" + pszFileName;
    } else {
        for (const std::string& folder : SearchFolders()) {
            if (folder.empty())
                continue;
            const std::string candidate = folder + "/" + pszFileName;
            if (IsFile(candidate)) {
                found = candidate;
                break;
            }
        }
    }
    if (found.empty())
        return 0;
    if (found.size() + 1 > nBufferLength)
        return static_cast<DWORD>(found.size() + 1);
    std::memcpy(pszBuffer, found.c_str(), found.size() + 1);
    if (ppszFilePart != nullptr)
        *ppszFilePart = pszBuffer + found.find_last_of('/') + 1;
    return static_cast<DWORD>(found.size());
}

} // namespace

DWORD SearchPathA(const char* pszPath, const char* pszFileName, const char* pszExtension,
                  DWORD nBufferLength, char* pszBuffer, char** ppszFilePart) {
    (void)pszPath;
    (void)pszExtension;
    return SystemCall<DWORD>(
        0, [&] { return FindFile(pszFileName, nBufferLength, pszBuffer, ppszFilePart); });
}
