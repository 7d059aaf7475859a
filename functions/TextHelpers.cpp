// Text routines shared by the script functions. Byte strings, no locale.
// Each runs in one pass over its text.
#include "qvPalvek.h"

#include <algorithm>
#include <cstring>

int32_t CqvPalvek::NormalizeLineBreaks(std::string& strText) {
    // The kind of line break: CR LF, else CR, else LF.
    const bool bCrLf = strText.find("\r\n") != std::string::npos;
    if (!bCrLf) {
        if (strText.find('\r') != std::string::npos) // CR: the text stays as it is
            return static_cast<int32_t>(std::count(strText.begin(), strText.end(), '\r'));
        int32_t nCount = 0;
        for (char& c : strText) { // LF: each becomes a CR
            if (c == '\n') {
                c = '\r';
                ++nCount;
            }
        }
        return nCount; // 0 when there is no line break at all: the text is unchanged
    }

    // CR LF: each pair becomes one CR, searching on right behind the inserted CR;
    // a lone CR or LF stays. One forward pass that copies within the text.
    char* const p = strText.data();
    const size_t n = strText.size();
    int32_t nCount = 0;
    size_t nIn = 0, nOut = 0;
    for (;;) {
        const void* pCr = std::memchr(p + nIn, '\r', n - nIn);
        const size_t nCr =
            pCr != nullptr ? static_cast<size_t>(static_cast<const char*>(pCr) - p) : n;
        if (nOut != nIn)
            std::memmove(p + nOut, p + nIn, nCr - nIn);
        nOut += nCr - nIn;
        if (nCr == n)
            break;
        p[nOut++] = '\r';
        if (nCr + 1 < n && p[nCr + 1] == '\n') {
            nIn = nCr + 2;
            ++nCount;
        } else {
            nIn = nCr + 1;
        }
    }
    strText.resize(nOut);
    return nCount;
}

std::string CqvPalvek::TrimSpaces(std::string& strText) {
    // Spaces off both ends, keeping at least one character.
    size_t nBegin = 0;
    while (strText.size() - nBegin > 1 && strText[nBegin] == ' ')
        ++nBegin;
    size_t nEnd = strText.size();
    while (nEnd - nBegin > 1 && strText[nEnd - 1] == ' ')
        --nEnd;
    strText.erase(nEnd);
    strText.erase(0, nBegin);
    return strText;
}

std::string CqvPalvek::StripQuotes(std::string strText) {
    // One pair of enclosing double quotes; a lone double quote gives the empty text.
    if (!strText.empty() && strText.front() == '"' && strText.back() == '"') {
        strText.pop_back();
        if (!strText.empty())
            strText.erase(0, 1);
        return strText;
    }
    return strText;
}
