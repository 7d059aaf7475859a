#include "PlatformApi.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

int lstrcmpA(const char* a, const char* b) {
    const int n = std::strcmp(a != nullptr ? a : "", b != nullptr ? b : "");
    return n < 0 ? -1 : (n > 0 ? 1 : 0);
}

// Copies at most nMax - 1 characters and always ends the copy with a NUL.
char* lstrcpynA(char* pszDest, const char* pszSource, int nMax) {
    if (pszDest == nullptr || nMax <= 0)
        return pszDest;
    int i = 0;
    if (pszSource != nullptr) {
        for (; i < nMax - 1 && pszSource[i] != '\0'; ++i)
            pszDest[i] = pszSource[i];
    }
    pszDest[i] = '\0';
    return pszDest;
}

char* lstrcpyA(char* pszDest, const char* pszSource) {
    return std::strcpy(pszDest, pszSource);
}

char* lstrcatA(char* pszDest, const char* pszSource) {
    return std::strcat(pszDest, pszSource);
}

int lstrlenA(const char* psz) {
    return psz != nullptr ? static_cast<int>(std::strlen(psz)) : 0;
}

// wsprintf writes at most 1024 characters.
int wsprintfA(char* pszBuffer, const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    const int n = std::vsnprintf(pszBuffer, 1025, pszFormat, args);
    va_end(args);
    return n > 1024 ? 1024 : n;
}

// Lower-casing of the ANSI code page 1252.
char* CharLowerA(char* psz) {
    for (unsigned char* p = reinterpret_cast<unsigned char*>(psz); *p != 0; ++p) {
        const unsigned char c = *p;
        if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
            *p = static_cast<unsigned char>(c + 0x20);
        else if (c == 0x8A || c == 0x8C || c == 0x8E)
            *p = static_cast<unsigned char>(c + 0x10);
        else if (c == 0x9F)
            *p = 0xFF;
    }
    return psz;
}

// A single-byte code page: every character is one byte.
char* CharNextA(const char* psz) {
    return const_cast<char*>(*psz != '\0' ? psz + 1 : psz);
}
