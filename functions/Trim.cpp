// pkStrTrim: blanks, tabs, CR and LF off both ends of a text, keeping at least one character.
#include "MessageIds.h"
#include "qvPalvek.h"

#include <cstring>

namespace {

bool IsTrimmed(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

int32_t CqvPalvek::pkStrTrim(ExtOpaque, ExtOpaque, ExtOpaque, ExtValue* pArgs, int32_t) {
    return RunGuarded(EXT_STATUS_TEXT_ERROR, IDS_SYSTEM_ERROR, [&]() -> int32_t {
        const char* pszText = pArgs[0].pszValue != nullptr ? pArgs[0].pszValue : "";
        const size_t nLength = std::strlen(pszText);
        if (nLength == 0) {
            SetErrorDetail("Empty String.");
            return ReportError(EXT_STATUS_TEXT_ERROR, IDS_TRIM_ERROR);
        }
        // The front first, then the back, each stopping at one character left; one copy.
        size_t nBegin = 0;
        while (nLength - nBegin > 1 && IsTrimmed(pszText[nBegin]))
            ++nBegin;
        size_t nEnd = nLength;
        while (nEnd - nBegin > 1 && IsTrimmed(pszText[nEnd - 1]))
            --nEnd;
        const std::string strTrimmed(pszText + nBegin, nEnd - nBegin);
        return ReturnString(strTrimmed.c_str());
    });
}
