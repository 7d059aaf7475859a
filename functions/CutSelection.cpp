// Reading the selection list of pkStrCut.
#include "CutSelection.h"

#include "qvPalvek.h"

namespace {

enum class NumberRead { Ok, NoDigits, OutOfRange };

bool IsCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// A base-10 integer the way the C conversion reads one: leading white space, one sign,
// then digits up to the first other character. Unlike it, no digits or a value outside
// 32 bits is a fault.
NumberRead ReadNumber(const std::string& strText, int32_t& nValue) {
    size_t i = 0;
    while (i < strText.size() && IsCSpace(strText[i]))
        ++i;
    bool bNegative = false;
    if (i < strText.size() && (strText[i] == '+' || strText[i] == '-'))
        bNegative = strText[i++] == '-';
    const size_t nFirstDigit = i;
    int64_t n = 0;
    bool bOutOfRange = false;
    for (; i < strText.size() && strText[i] >= '0' && strText[i] <= '9'; ++i) {
        n = n * 10 + (strText[i] - '0');
        if (n > INT64_C(2147483648)) {
            bOutOfRange = true;
            n = INT64_C(2147483648);
        }
    }
    if (i == nFirstDigit)
        return NumberRead::NoDigits;
    if (bNegative)
        n = -n;
    if (bOutOfRange || n > INT32_MAX || n < INT32_MIN)
        return NumberRead::OutOfRange;
    nValue = static_cast<int32_t>(n);
    return NumberRead::Ok;
}

// Drops a trailing lowercase join mark; true when there was one.
bool TakeJoinMark(std::string& strPart) {
    if (strPart.empty() || strPart.back() != 'j')
        return false;
    strPart.pop_back();
    return true;
}

std::string ItemDetail(int32_t nItem, const char* pszWhat) {
    return "Selection item " + std::to_string(nItem) + " " + pszWhat;
}

bool ReadItemNumber(const std::string& strPart, int32_t nItem, int32_t& nValue,
                    std::string& strDetail) {
    switch (ReadNumber(strPart, nValue)) {
    case NumberRead::Ok:
        return true;
    case NumberRead::NoDigits:
        strDetail = ItemDetail(nItem, "has no number.");
        return false;
    case NumberRead::OutOfRange:
        strDetail = ItemDetail(nItem, "has a number out of range.");
        return false;
    }
    return false;
}

} // namespace

bool ReadCutSelection(const std::string& strSelection, bool bBounded, CutSelection& selection,
                      std::string& strDetail) {
    const char* const pszOneBased = "You must use a one-based index.";
    // rest is strSelection[nBegin, nEnd); trimmed the way TrimSpaces trims.
    size_t nBegin = 0;
    size_t nEnd = strSelection.size();
    for (int32_t nItem = 1;; ++nItem) {
        while (nEnd - nBegin > 1 && strSelection[nBegin] == ' ')
            ++nBegin;
        while (nEnd - nBegin > 1 && strSelection[nEnd - 1] == ' ')
            --nEnd;
        if (nBegin == nEnd)
            break;

        const size_t nComma = strSelection.find(',', nBegin);
        const bool bComma = nComma < nEnd;
        std::string strItem = strSelection.substr(nBegin, (bComma ? nComma : nEnd) - nBegin);
        if (bComma)
            CqvPalvek::TrimSpaces(strItem);
        nBegin = bComma ? nComma + 1 : nEnd;

        const int32_t nSlot = selection.nEntryCount;
        int32_t nFirst = 0; // 1-based
        int32_t nLast = 0;
        bool bJoin = false;
        const size_t nDash = strItem.find('-');
        if (nDash != std::string::npos) {
            std::string strFrom = strItem.substr(0, nDash);
            std::string strTo = strItem.substr(nDash + 1);
            if (strFrom.empty() || strTo.empty()) {
                strDetail = "Missing beginning or ending range value.";
                return false;
            }
            CqvPalvek::TrimSpaces(strFrom);
            CqvPalvek::TrimSpaces(strTo);
            bJoin = TakeJoinMark(strFrom);
            bJoin = TakeJoinMark(strTo) || bJoin;
            if (!ReadItemNumber(strFrom, nItem, nFirst, strDetail) ||
                !ReadItemNumber(strTo, nItem, nLast, strDetail))
                return false;
            if (nFirst == 0 || nLast <= nFirst) {
                strDetail = pszOneBased;
                return false;
            }
        } else {
            bJoin = TakeJoinMark(strItem);
            if (!ReadItemNumber(strItem, nItem, nFirst, strDetail))
                return false;
            if (nFirst == 0) {
                strDetail = pszOneBased;
                return false;
            }
            nLast = nFirst;
        }

        if (bBounded && nLast > MAX_CUT_ENTRIES) {
            strDetail =
                ItemDetail(nItem, "has a number above ") + std::to_string(MAX_CUT_ENTRIES) + ".";
            return false;
        }
        // One slot stays free for the end mark.
        if (static_cast<int64_t>(nSlot) + nLast - nFirst + 1 > MAX_CUT_ENTRIES - 1) {
            strDetail =
                "Selection has more than " + std::to_string(MAX_CUT_ENTRIES - 1) + " entries.";
            return false;
        }

        if (bJoin)
            selection.vecJoin[nSlot] = 1;
        for (int32_t c = nFirst - 1; c <= nLast - 1; ++c) {
            selection.vecColumn[selection.nEntryCount] = c;
            selection.vecItem[selection.nEntryCount] = nItem;
            ++selection.nEntryCount;
        }
        if (nLast - 1 > selection.nMaxColumn)
            selection.nMaxColumn = nLast - 1;
    }
    selection.vecItem[selection.nEntryCount] = -1;
    return true;
}

std::vector<int32_t> BuildComplement(const CutSelection& selection) {
    std::vector<int32_t> vecComplement(MAX_CUT_ENTRIES);
    for (int32_t i = 0; i < MAX_CUT_ENTRIES; ++i)
        vecComplement[i] = i;
    for (int32_t e = 0; e < selection.nEntryCount; ++e)
        vecComplement[selection.vecColumn[e]] = -1;
    return vecComplement;
}
