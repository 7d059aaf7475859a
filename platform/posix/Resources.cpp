// The module's string table and version block, from the generated resource data.
#include "PlatformApi.h"
#include "ResourceData.h"
#include "SystemCall.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>

namespace {

const char kBlockMagic[4] = {'Q', 'V', 'V', 'B'};

// The version block: magic, translation word, then key NUL value NUL pairs, then a NUL.
std::string BuildVersionBlock() {
    std::string block(kBlockMagic, sizeof(kBlockMagic));
    block.append(reinterpret_cast<const char*>(&g_dwVersionTranslation), sizeof(uint32_t));
    for (unsigned i = 0; i < g_nVersionStrings; ++i) {
        block.append(g_aVersionStrings[i].pszKey).push_back('\0');
        block.append(g_aVersionStrings[i].pszValue).push_back('\0');
    }
    block.push_back('\0');
    return block;
}

bool IsOwnModule(const char* pszFileName) {
    char szOwn[PATH_MAX];
    if (pszFileName == nullptr || GetModuleFileNameA(nullptr, szOwn, sizeof(szOwn)) == 0)
        return false;
    char szA[PATH_MAX], szB[PATH_MAX];
    return realpath(pszFileName, szA) != nullptr && realpath(szOwn, szB) != nullptr &&
           std::strcmp(szA, szB) == 0;
}

} // namespace

int LoadStringA(HMODULE, UINT nId, char* pszBuffer, int nBufferMax) {
    if (pszBuffer == nullptr || nBufferMax <= 0)
        return 0;
    for (unsigned i = 0; i < g_nStringTableSize; ++i) {
        if (g_aStringTable[i].nId != nId)
            continue;
        lstrcpynA(pszBuffer, g_aStringTable[i].pszText, nBufferMax);
        return lstrlenA(pszBuffer);
    }
    pszBuffer[0] = '\0';
    return 0;
}

DWORD GetFileVersionInfoSizeA(const char* pszFileName, DWORD* pdwHandle) {
    if (pdwHandle != nullptr)
        *pdwHandle = 0;
    return SystemCall<DWORD>(0, [&]() -> DWORD {
        return IsOwnModule(pszFileName) ? static_cast<DWORD>(BuildVersionBlock().size()) : 0;
    });
}

BOOL GetFileVersionInfoA(const char* pszFileName, DWORD, DWORD dwLength, void* pData) {
    return SystemCall<BOOL>(0, [&]() -> BOOL {
        if (pData == nullptr || !IsOwnModule(pszFileName))
            return 0;
        const std::string block = BuildVersionBlock();
        if (dwLength < block.size())
            return 0;
        std::memcpy(pData, block.data(), block.size());
        return 1;
    });
}

BOOL VerQueryValueA(const void* pBlock, const char* pszSubBlock, void** ppBuffer, UINT* pnLength) {
    const char* pb = static_cast<const char*>(pBlock);
    if (pb == nullptr || pszSubBlock == nullptr || std::memcmp(pb, kBlockMagic, 4) != 0)
        return 0;
    const char* pTranslation = pb + 4;
    if (strcasecmp(pszSubBlock, "\\VarFileInfo\\Translation") == 0) {
        *ppBuffer = const_cast<char*>(pTranslation);
        *pnLength = 4;
        return 1;
    }
    uint32_t dwTranslation;
    std::memcpy(&dwTranslation, pTranslation, 4);
    char szPrefix[40];
    wsprintfA(szPrefix, "\\StringFileInfo\\%04x%04x\\", dwTranslation & 0xFFFF,
              dwTranslation >> 16);
    const size_t nPrefix = std::strlen(szPrefix);
    if (strncasecmp(pszSubBlock, szPrefix, nPrefix) != 0)
        return 0;
    const char* pszKey = pszSubBlock + nPrefix;
    for (const char* p = pTranslation + 4; *p != '\0';) {
        const char* pszValue = p + std::strlen(p) + 1;
        if (strcasecmp(p, pszKey) == 0) {
            *ppBuffer = const_cast<char*>(pszValue);
            *pnLength = static_cast<UINT>(std::strlen(pszValue) + 1);
            return 1;
        }
        p = pszValue + std::strlen(pszValue) + 1;
    }
    return 0;
}
