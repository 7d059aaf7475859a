// Resource data of the module, generated from the resource sources at build time.
#pragma once

#include <cstdint>

struct ResourceString {
    unsigned nId;
    const char* pszText;
};

struct VersionString {
    const char* pszKey;
    const char* pszValue;
};

extern const ResourceString g_aStringTable[];
extern const unsigned g_nStringTableSize;
extern const VersionString g_aVersionStrings[];
extern const unsigned g_nVersionStrings;
extern const uint32_t g_dwVersionTranslation; // language in the low word, code page in the high
