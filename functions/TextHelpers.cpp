// Text routines shared by the script functions. Byte strings, no locale.
#include "qvPalvek.h"

int32_t CqvPalvek::NormalizeLineBreaks(std::string& strText) {
    const char* pszBreak = nullptr;
    if (strText.find("\r\n") != std::string::npos)
        pszBreak = "\r\n";
    else if (strText.find('\r') != std::string::npos)
        pszBreak = "\r";
    else if (strText.find('\n') != std::string::npos)
        pszBreak = "\n";
    else
        return 0;

    const size_t nBreak = pszBreak[1] != '\0' ? 2 : 1;
    int32_t nCount = 0;
    // One pass: copy forward in place, writing one CR for each chosen line break.
    size_t nOut = 0;
    for (size_t nIn = 0; nIn < strText.size();) {
        if (strText.compare(nIn, nBreak, pszBreak, nBreak) == 0) {
            strText[nOut++] = '\r';
            nIn += nBreak;
            ++nCount;
        } else {
            strText[nOut++] = strText[nIn++];
        }
    }
    strText.resize(nOut);
    return nCount;
}

std::string CqvPalvek::TrimSpaces(std::string& strText) {
    size_t nBegin = 0;
    while (strText.size() - nBegin > 1 && strText[nBegin] == ' ')
        ++nBegin;
    size_t nEnd = strText.size();
    while (nEnd - nBegin > 1 && strText[nEnd - 1] == ' ')
        --nEnd;
    if (nBegin > 0 || nEnd < strText.size())
        strText = strText.substr(nBegin, nEnd - nBegin);
    return strText;
}

std::string CqvPalvek::StripQuotes(std::string strText) {
    if (!strText.empty() && strText.front() == '"' && strText.back() == '"')
        return strText.size() > 1 ? strText.substr(1, strText.size() - 2) : std::string();
    return strText;
}
