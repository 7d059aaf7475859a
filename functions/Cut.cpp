// pkStrCut: cuts columns or fields out of every line of a multi-line text.
#include "CutOutput.h"
#include "CutSelection.h"
#include "MessageIds.h"
#include "PadSpaces.h"
#include "qvPalvek.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

// Lengthening stops short of this many characters per line: a column far beyond a line with
// the pad flag set is refused instead of growing a line towards the whole address space.
const int64_t MAX_PADDED_LINE = int64_t(1) << 26;

struct CutRequest {
    const std::string& strText; // line breaks already turned into CR
    const CutSelection& selection;
    const std::vector<int32_t>& vecComplement; // empty outside complement form
    const std::string& strSeparator;
    bool bPad;
    CutOutput& output;
    std::string strDetail; // set when the cut fails
};

std::string LineDetail(size_t nLine, const char* pszWhat) {
    return "Line " + std::to_string(nLine) + " " + pszWhat;
}

void PutLineEnd(CutOutput& output) {
    output.Put("\r\n", 2);
}

// The length of a line after lengthening: whole blocks of spaces until it passes nMaxColumn.
int64_t PaddedLength(int64_t nLength, int32_t nMaxColumn) {
    if (nLength > nMaxColumn)
        return nLength;
    const int64_t nBlocks = (nMaxColumn + 1 - nLength + PAD_SPACES_LENGTH - 1) / PAD_SPACES_LENGTH;
    return nLength + nBlocks * PAD_SPACES_LENGTH;
}

// Calls cutLine(begin, end, line number) for every line of the text; stops at the first false.
template <class CutLine> bool ForEachLine(const std::string& strText, CutLine&& cutLine) {
    const char* const p = strText.data();
    const size_t n = strText.size();
    size_t nLine = 1;
    for (size_t nBegin = 0; nBegin < n; ++nLine) {
        const void* pCr = std::memchr(p + nBegin, '\r', n - nBegin);
        const size_t nEnd = pCr != nullptr ? static_cast<const char*>(pCr) - p : n;
        if (!cutLine(p + nBegin, p + nEnd, nLine))
            return false;
        nBegin = nEnd + 1;
    }
    return true;
}

// Finds a delimiter of several characters in linear time (failure table of the pattern).
struct DelimiterSearch {
    std::string_view delimiter;
    std::vector<size_t> vecFallback;

    explicit DelimiterSearch(std::string_view d) : delimiter(d), vecFallback(d.size() + 1, 0) {
        size_t k = 0;
        for (size_t i = 1; i < d.size(); ++i) {
            while (k > 0 && d[i] != d[k])
                k = vecFallback[k];
            if (d[i] == d[k])
                ++k;
            vecFallback[i + 1] = k;
        }
    }

    // The start of the first whole delimiter in [p, pEnd), or pEnd.
    const char* Find(const char* p, const char* pEnd) const {
        if (delimiter.size() == 1) {
            // Fields are mostly short: a plain loop beats a library call per field.
            const char ch = delimiter[0];
            while (p < pEnd && *p != ch)
                ++p;
            return p;
        }
        size_t k = 0;
        for (; p < pEnd; ++p) {
            while (k > 0 && *p != delimiter[k])
                k = vecFallback[k];
            if (*p == delimiter[k] && ++k == delimiter.size())
                return p + 1 - k;
        }
        return pEnd;
    }
};

// Field mode. vecFields[f] is field f+1 of the current line; slots past the line's last field
// are read as empty text, so the table needs no clearing between lines.
bool CutFields(CutRequest& request, const std::string& strDelimiter) {
    const CutSelection& sel = request.selection;
    const std::vector<int32_t>& vecComplement = request.vecComplement;
    const bool bComplement = !vecComplement.empty();
    const std::string_view separator = request.strSeparator;
    CutOutput& output = request.output;
    const DelimiterSearch search(strDelimiter);

    // Whether step i writes the separator after its piece (when it is not the line's last).
    std::vector<char> vecSeparatorAfter(MAX_CUT_ENTRIES, 0);
    for (int32_t i = 0; i + 1 < MAX_CUT_ENTRIES; ++i) {
        if (bComplement)
            vecSeparatorAfter[i] =
                vecComplement[i] != -1 && sel.vecJoin[i] == -1 && vecComplement[i + 1] != -1;
        else
            vecSeparatorAfter[i] = i + 1 < sel.nEntryCount && sel.vecJoin[i] == -1;
    }
    // In normal form the fields past both the last entry and the largest field number are
    // never written: splitting may stop there, unless the line is long enough to hold too
    // many fields.
    const int32_t nStop =
        bComplement ? MAX_CUT_ENTRIES : std::max(sel.nEntryCount, sel.nMaxColumn + 1);
    const int64_t nLongLine = int64_t(MAX_CUT_ENTRIES) * int64_t(strDelimiter.size());

    std::vector<std::string_view> vecFields(MAX_CUT_ENTRIES);
    return ForEachLine(request.strText, [&](const char* p, const char* pEnd, size_t nLine) {
        // Fields 0..nLast, nLast counting up to nStop at most for a short line.
        const int32_t nLineStop = pEnd - p >= nLongLine ? MAX_CUT_ENTRIES : nStop;
        int32_t nLast = 0;
        for (const char* pField = p;;) {
            const char* pDelimiter = search.Find(pField, pEnd);
            if (pDelimiter == pEnd) {
                vecFields[nLast] = std::string_view(pField, pEnd - pField);
                break;
            }
            vecFields[nLast] = std::string_view(pField, pDelimiter - pField);
            if (++nLast >= nLineStop) {
                if (nLast < MAX_CUT_ENTRIES)
                    break; // later fields are not needed
                request.strDetail = LineDetail(nLine, "has more than ") +
                                    std::to_string(MAX_CUT_ENTRIES) + " fields.";
                return false;
            }
            pField = pDelimiter + strDelimiter.size();
        }

        if (bComplement) {
            for (int32_t i = 0; i <= nLast; ++i) {
                if (vecComplement[i] != -1)
                    output.Put(vecFields[i]);
                if (i < nLast && vecSeparatorAfter[i])
                    output.Put(separator);
            }
        } else {
            const int32_t nSteps = std::min(nLast + 1, sel.nEntryCount);
            for (int32_t i = 0; i < nSteps; ++i) {
                const int32_t f = sel.vecColumn[i];
                if (f <= nLast)
                    output.Put(vecFields[f]);
                if (i < nLast && vecSeparatorAfter[i])
                    output.Put(separator);
            }
        }
        PutLineEnd(output);
        return true;
    });
}

// Character mode, complement form: every character whose position the list does not name.
bool CutComplementColumns(CutRequest& request) {
    const CutSelection& sel = request.selection;
    const std::vector<int32_t>& vecComplement = request.vecComplement;
    CutOutput& output = request.output;
    // nKeptBelow[k]: positions below k that stay, for the spaces that lengthening adds.
    std::vector<int32_t> nKeptBelow(MAX_CUT_ENTRIES + 1, 0);
    for (int32_t k = 0; k < MAX_CUT_ENTRIES; ++k)
        nKeptBelow[k + 1] = nKeptBelow[k] + (vecComplement[k] != -1 ? 1 : 0);

    return ForEachLine(request.strText, [&](const char* p, const char* pEnd, size_t nLine) {
        const int64_t nLength = pEnd - p;
        const int64_t nPadded = request.bPad ? PaddedLength(nLength, sel.nMaxColumn) : nLength;
        if (nPadded > MAX_CUT_ENTRIES) {
            request.strDetail = LineDetail(nLine, "is longer than ") +
                                std::to_string(MAX_CUT_ENTRIES) + " characters.";
            return false;
        }
        const int32_t nSpaces = nKeptBelow[nPadded] - nKeptBelow[nLength];
        char* q = output.Room(nKeptBelow[nPadded] + 2);
        char* const qStart = q;
        for (int32_t i = 0; i < nLength; ++i) {
            if (vecComplement[i] != -1)
                *q++ = p[i];
        }
        for (int32_t nLeft = nSpaces; nLeft > 0; nLeft -= PAD_SPACES_LENGTH) {
            const size_t nBlock = std::min<int32_t>(nLeft, PAD_SPACES_LENGTH);
            std::memcpy(q, g_strPadSpaces.data(), nBlock);
            q += nBlock;
        }
        *q++ = '\r';
        *q++ = '\n';
        output.Commit(q - qStart);
        return true;
    });
}

// Character mode, normal form: the listed columns in list order.
bool CutColumns(CutRequest& request) {
    const CutSelection& sel = request.selection;
    const std::string_view separator = request.strSeparator;
    CutOutput& output = request.output;
    // Separators stand between items, unless the entry before carries a join mark.
    std::vector<char> vecSeparatorAfter(MAX_CUT_ENTRIES, 0);
    int32_t nSeparators = 0;
    for (int32_t i = 0; i + 1 < MAX_CUT_ENTRIES; ++i) {
        vecSeparatorAfter[i] = sel.vecItem[i + 1] != sel.vecItem[i] && sel.vecItem[i + 1] >= 0 &&
                               sel.vecJoin[i] == -1 && !separator.empty();
        nSeparators += vecSeparatorAfter[i];
    }
    // Every line writes the same number of characters.
    const uint64_t nPerLine =
        uint64_t(sel.nEntryCount) + 2 + uint64_t(nSeparators) * separator.size();
    if (nPerLine > static_cast<size_t>(-1) / 2)
        throw std::bad_alloc();

    return ForEachLine(request.strText, [&](const char* p, const char* pEnd, size_t nLine) {
        const int64_t nLength = pEnd - p;
        const bool bLengthen = request.bPad && nLength <= sel.nMaxColumn;
        if (!bLengthen && nLength <= sel.nMaxColumn) {
            // A column may lie beyond the line: name the first one.
            for (int32_t i = 0; i < sel.nEntryCount; ++i) {
                if (sel.vecColumn[i] >= nLength) {
                    request.strDetail = "Cut column " + std::to_string(sel.vecColumn[i] + 1) +
                                        " out of bounds.  Line Length only " +
                                        std::to_string(nLength) + ".";
                    return false;
                }
            }
        }
        if (bLengthen && PaddedLength(nLength, sel.nMaxColumn) > MAX_PADDED_LINE) {
            request.strDetail = LineDetail(nLine, "cannot be lengthened beyond ") +
                                std::to_string(MAX_PADDED_LINE) + " characters.";
            return false;
        }
        char* q = output.Room(static_cast<size_t>(nPerLine));
        for (int32_t i = 0; i < sel.nEntryCount; ++i) {
            const int32_t c = sel.vecColumn[i];
            // Past its end the lengthened line holds the pad block over and over.
            *q++ = c < nLength
                       ? p[c]
                       : g_strPadSpaces[static_cast<size_t>((c - nLength) % PAD_SPACES_LENGTH)];
            if (vecSeparatorAfter[i]) {
                std::memcpy(q, separator.data(), separator.size());
                q += separator.size();
            }
        }
        *q++ = '\r';
        *q++ = '\n';
        output.Commit(static_cast<size_t>(nPerLine));
        return true;
    });
}

std::string ArgText(const ExtValue& value) {
    return value.pszValue != nullptr ? value.pszValue : "";
}

} // namespace

int32_t CqvPalvek::pkStrCut(ExtOpaque, ExtOpaque, ExtOpaque, ExtValue* pArgs, int32_t) {
    return RunGuarded(EXT_STATUS_TEXT_ERROR, IDS_CUT_ERROR, [&]() -> int32_t {
        const std::string strSelection = ArgText(pArgs[0]);
        std::string strText = ArgText(pArgs[1]);
        const std::string strType = ArgText(pArgs[2]);
        const std::string strSeparator = ArgText(pArgs[3]);
        std::string strDelimiter = ArgText(pArgs[4]);
        const bool bPad = pArgs[5].nValue == 1;

        auto fail = [&](const std::string& strDetail) {
            SetErrorDetail(strDetail.c_str());
            return ReportError(EXT_STATUS_TEXT_ERROR, IDS_CUT_ERROR);
        };

        if (strType.empty() || (strType[0] != 'c' && strType[0] != 'f'))
            return fail("Cut Type must be lowercase 'c' or 'f'.");
        const bool bFields = strType[0] == 'f';
        const bool bComplement = strType.size() > 1 && strType[1] == 'c';
        if (strDelimiter.empty())
            strDelimiter.push_back(',');

        CutSelection selection;
        std::string strDetail;
        if (!ReadCutSelection(strSelection, bFields || bComplement, selection, strDetail))
            return fail(strDetail);
        const std::vector<int32_t> vecComplement =
            bComplement ? BuildComplement(selection) : std::vector<int32_t>();

        NormalizeLineBreaks(strText);
        CutOutput output;
        output.Reserve(strText.size() + strText.size() / 8 + 4096);
        CutRequest request{strText, selection, vecComplement, strSeparator, bPad, output, {}};
        bool bDone;
        if (bFields)
            bDone = CutFields(request, strDelimiter);
        else if (bComplement)
            bDone = CutComplementColumns(request);
        else
            bDone = CutColumns(request);
        if (!bDone)
            return fail(request.strDetail);
        return ReturnString(output.Text());
    });
}
