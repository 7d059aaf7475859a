// pkFormatNumber: places the characters of a number text into a picture mask, right to left.
#include "MessageIds.h"
#include "qvPalvek.h"

#include <algorithm>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The mask's characters from the right, with the number's digits, points and commas placed
// into them; the result is built back to front and turned round at the end.
std::string ApplyMask(const std::string& strNumber, const std::string& strMask) {
    const int64_t nNumberLength = static_cast<int64_t>(strNumber.size());
    const int64_t nMaskLength = static_cast<int64_t>(strMask.size());
    std::string strReversed;
    strReversed.reserve(strMask.size() + 1);

    // Main pass. i == length and j == length stand for the empty place past a text's end.
    int64_t j = nMaskLength;
    for (int64_t i = nNumberLength; i >= 0; --i) {
        if (j < 0)
            break; // the mask is used up; the rest of the number is dropped
        const bool bHasDigit = i < nNumberLength;
        const char d = bHasDigit ? strNumber[static_cast<size_t>(i)] : '\0';
        const bool bHasMask = j < nMaskLength;
        const char c = bHasMask ? strMask[static_cast<size_t>(j)] : '\0';
        if (!bHasDigit)
            continue;
        if (IsDigit(d)) {
            if (bHasMask && c == '#') {
                strReversed += d;
            } else {
                if (bHasMask)
                    strReversed += c; // a literal ahead of the digit, which comes up again
                ++i;
            }
            --j;
        } else if (d == '.' || d == ',') {
            if (!(bHasMask && c == d)) {
                strReversed += d; // the mask character is used up without appearing
                --j;
            }
        }
    }

    // Fill: the rest of the mask, placeholders as blanks, when the number was shorter.
    if (nNumberLength < nMaskLength) {
        for (; j >= 0; --j) {
            if (j == nMaskLength)
                continue;
            const char c = strMask[static_cast<size_t>(j)];
            strReversed += (c == '#' || c == '.' || c == ',') ? ' ' : c;
        }
    }

    std::reverse(strReversed.begin(), strReversed.end());
    return strReversed;
}

} // namespace

int32_t CqvPalvek::pkFormatNumber(ExtOpaque, ExtOpaque, ExtOpaque, ExtValue* pArgs, int32_t) {
    return RunGuarded(EXT_STATUS_TEXT_ERROR, IDS_SYSTEM_ERROR, [&]() -> int32_t {
        const std::string strNumber = pArgs[0].pszValue != nullptr ? pArgs[0].pszValue : "";
        const std::string strMask = pArgs[1].pszValue != nullptr ? pArgs[1].pszValue : "";
        std::string strResult = ApplyMask(strNumber, strMask);
        TrimSpaces(strResult);
        return ReturnString(strResult.c_str());
    });
}
