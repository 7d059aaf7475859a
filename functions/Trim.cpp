// pkStrTrim: blanks, tabs, CR and LF off both ends of a text, keeping at least one character.
#include "MessageIds.h"
#include "qvPalvek.h"

namespace {

bool IsTrimmed(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

int32_t CqvPalvek::pkStrTrim(ExtOpaque, ExtOpaque, ExtOpaque, ExtValue* pArgs, int32_t) {
    return RunGuarded(EXT_STATUS_TEXT_ERROR, IDS_SYSTEM_ERROR, [&]() -> int32_t {
        const std::string strText = pArgs[0].pszValue != nullptr ? pArgs[0].pszValue : "";
        if (strText.empty()) {
            SetErrorDetail("Empty String.");
            return ReportError(EXT_STATUS_TEXT_ERROR, IDS_TRIM_ERROR);
        }
        // The front first, then the back, each stopping at one character left.
        size_t nBegin = 0;
        while (strText.size() - nBegin > 1 && IsTrimmed(strText[nBegin]))
            ++nBegin;
        size_t nEnd = strText.size();
        while (nEnd - nBegin > 1 && IsTrimmed(strText[nEnd - 1]))
            --nEnd;
        const std::string strTrimmed = strText.substr(nBegin, nEnd - nBegin);
        return ReturnString(strTrimmed.c_str());
    });
}
