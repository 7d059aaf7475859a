// Arrays and delimited text: pkArrayFromStrCSV, pkArrayToStrCSV, pkArrInitialize.
//
// Every handler runs in time linear in the size of its texts: the text is normalised once in
// place, lines and fields are views into it, and the output is appended to one growing text.
// pkArrayFromStrCSV turns each line ended by a CR (once NormalizeLineBreaks has made every
// line break one CR) into one row, and each field of the line, split at the delimiter, into
// one element of that row. Splitting at every delimiter alone would cut quoted fields and
// could write outside the array; these rules settle such cases:
// - a quoted field without a closing double quote directly followed by the delimiter is the
//   rest of the line when that rest ends with a double quote (the line's end closes it, as in
//   `name,"Smith, John"`); otherwise it ends at the next delimiter (the end of the line when
//   there is none), quotes kept;
// - the array of pkArrayFromStrCSV has max(counted rows, converted lines) rows and
//   max(counted columns, most fields of any converted line) columns, each clamped to
//   0 .. 2,147,483,647, where counted rows = line breaks counted (+ extra rows when extra
//   columns is not 0) and counted columns = columns of the first line + extra columns, both
//   computed without overflow; so no field is dropped and no negative size is handed over;
// - the three further element subscripts are 0;
// - anything thrown (exhausted memory, or an output text that could never fit) ends the call
//   with a detail ("Out of memory." for exhausted memory), message 19104 and
//   EXT_STATUS_TEXT_ERROR.
#include "CsvSplitter.h"
#include "qvPalvek.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>

namespace {

const char kDefaultDelimiter[] = ",";
const char kSubscriptDetail[] = "Your subscript value is greater than the array dimensions.";

enum {
    TRIM_KEEP_SPACES = 1, // pkArrayFromStrCSV argument 1: leave spaces untouched
    QUOTE_BARE = 2,       // pkArrayToStrCSV argument 3: write elements without quotes
    MODE_ROW = 1,         // pkArrInitialize argument 3
    MODE_COLUMN = 2,
    QUERY_INTS = 8, // the dimension query buffer: eight integers, 32 bytes
};

// A text argument as text; a null pointer (a host that gives none) is the empty text.
std::string TextOf(const ExtValue& arg) {
    return arg.pszValue != nullptr ? std::string(arg.pszValue) : std::string();
}

// A delimiter argument; the empty text (or none) stands for ",".
std::string DelimiterOf(const ExtValue& arg) {
    if (arg.pszValue == nullptr || arg.pszValue[0] == '\0')
        return std::string(kDefaultDelimiter);
    return std::string(arg.pszValue);
}

int32_t ClampSize(int64_t n) {
    return static_cast<int32_t>(std::clamp<int64_t>(n, 0, INT32_MAX));
}

} // namespace

int32_t CqvPalvek::pkArrayFromStrCSV(ExtOpaque, ExtOpaque, ExtOpaque, ExtValue* pArgs, int32_t) {
    return RunGuarded(EXT_STATUS_TEXT_ERROR, IDS_SYSTEM_ERROR, [&]() -> int32_t {
        // Own copies of the text and the delimiter.
        std::string strText = TextOf(pArgs[0]);
        const int32_t nTrim = pArgs[1].nValue;
        const std::string strDelimiter = DelimiterOf(pArgs[2]);
        const int32_t nExtraRows = pArgs[3].nValue;
        const int32_t nExtraCols = pArgs[4].nValue;

        // Every line break of the chosen kind becomes one CR; their count is the rows.
        const int32_t nBreaks = NormalizeLineBreaks(strText);

        const std::string strQuoteDelimiter = '"' + strDelimiter;
        const qvcsv::CFinder delimiter(strDelimiter);
        const qvcsv::CFinder quoteDelimiter(strQuoteDelimiter);

        // Columns from the first line.
        const size_t nFirstLineColumns = qvcsv::CountColumns(strText, delimiter);

        // The lines and fields that will be converted: none may fall outside the array.
        size_t nMostFields = 0;
        const size_t nLines = qvcsv::ForEachLine(strText, [&](size_t, std::string_view line) {
            const size_t nFields =
                qvcsv::SplitLine(line, delimiter, quoteDelimiter, [](size_t, std::string_view) {});
            nMostFields = std::max(nMostFields, nFields);
        });

        // The array's dimensions, and the array.
        int64_t nRows = nBreaks;
        if (nExtraCols != 0)
            nRows += nExtraRows;
        int64_t nCols = static_cast<int64_t>(nFirstLineColumns) + nExtraCols;
        nRows = std::max(nRows, static_cast<int64_t>(nLines));
        nCols = std::max(nCols, static_cast<int64_t>(nMostFields));
        int32_t anSizes[EXT_MAX_DIMS] = {ClampSize(nRows), ClampSize(nCols), 0, 0, 0};

        ExtValue array{};
        m_pResult->nType = EXT_MARK_ARRAY_WRITE;
        m_pServices->pfnArrayInfo(m_pServices->pContext, &array, EXT_VALUE_SIZE, anSizes,
                                  static_cast<int32_t>(sizeof(anSizes)), EXT_OP_SET);

        // Field k of line r goes to element (r, k).
        ExtValue element{};
        qvcsv::ForEachLine(strText, [&](size_t nRow, std::string_view line) {
            qvcsv::SplitLine(line, delimiter, quoteDelimiter,
                             [&](size_t nCol, std::string_view raw) {
                                 std::string strField = StripQuotes(std::string(raw));
                                 if (nTrim != TRIM_KEEP_SPACES)
                                     TrimSpaces(strField); // trims strField in place
                                 m_pResult->nType = EXT_MARK_ARRAY_WRITE;
                                 element.nType = EXT_VALUE_STRING;
                                 element.pszValue = strField.data();
                                 m_pServices->pfnArrayElement(m_pServices->pContext, &array,
                                                              static_cast<int32_t>(nRow),
                                                              static_cast<int32_t>(nCol), 0, 0, 0,
                                                              &element, EXT_VALUE_SIZE, EXT_OP_SET);
                             });
        });

        return ReturnRecord(&array);
    });
}

int32_t CqvPalvek::pkArrayToStrCSV(ExtOpaque, ExtOpaque, ExtOpaque, ExtValue* pArgs, int32_t) {
    return RunGuarded(EXT_STATUS_TEXT_ERROR, IDS_SYSTEM_ERROR, [&]() -> int32_t {
        // Argument 2 is never read.
        ExtValue array;
        std::memcpy(&array, &pArgs[0], sizeof(array));
        const std::string strDelimiter = DelimiterOf(pArgs[1]);
        const bool bQuote = pArgs[3].nValue != QUOTE_BARE;

        int32_t anDims[QUERY_INTS] = {};
        m_pServices->pfnArrayInfo(m_pServices->pContext, &array, EXT_VALUE_SIZE, anDims,
                                  static_cast<int32_t>(sizeof(anDims)), EXT_OP_GET);
        const int32_t nRows = anDims[0];
        const int32_t nCols = anDims[1];

        // The output needs at least the quotes, delimiters and line ends; an output that
        // could never fit fails at once instead of after billions of reads.
        std::string strOut;
        if (nRows > 0) {
            const uint64_t nPerRow =
                2 + (nCols > 0 ? static_cast<uint64_t>(nCols) * (bQuote ? 2 : 0) +
                                     static_cast<uint64_t>(nCols - 1) * strDelimiter.size()
                               : 0);
            const uint64_t nMax = strOut.max_size();
            if (nPerRow > nMax || static_cast<uint64_t>(nRows) > nMax / nPerRow)
                throw std::bad_alloc();
            strOut.reserve(static_cast<size_t>(nPerRow * static_cast<uint64_t>(nRows)));
        }

        // Each element's text (quoted unless bare), the delimiter after every column but the
        // row's last, and CR LF after each row; a row of no columns is CR LF alone.
        ExtValue element{};
        for (int32_t r = 0; r < nRows; ++r) {
            for (int32_t k = 0; k < nCols; ++k) {
                m_pResult->nType = EXT_MARK_ARRAY_READ;
                element.nType = EXT_VALUE_STRING;
                element.pszValue = nullptr;
                m_pServices->pfnArrayElement(m_pServices->pContext, &array, r, k, 0, 0, 0, &element,
                                             EXT_VALUE_SIZE, EXT_OP_GET);
                if (bQuote)
                    strOut += '"';
                if (element.pszValue != nullptr)
                    strOut.append(element.pszValue);
                if (bQuote)
                    strOut += '"';
                if (k < nCols - 1)
                    strOut.append(strDelimiter);
            }
            strOut.append("\r\n", 2);
        }

        return ReturnString(strOut.c_str());
    });
}

int32_t CqvPalvek::pkArrInitialize(ExtOpaque, ExtOpaque, ExtOpaque, ExtValue* pArgs, int32_t) {
    return RunGuarded(EXT_STATUS_TEXT_ERROR, IDS_SYSTEM_ERROR, [&]() -> int32_t {
        ExtValue array;
        std::memcpy(&array, &pArgs[0], sizeof(array));
        std::string strValue = TextOf(pArgs[1]);
        const int32_t nIndex = pArgs[2].nValue;
        const int32_t nMode = pArgs[3].nValue;

        int32_t anDims[QUERY_INTS] = {};
        m_pServices->pfnArrayInfo(m_pServices->pContext, &array, EXT_VALUE_SIZE, anDims,
                                  static_cast<int32_t>(sizeof(anDims)), EXT_OP_GET);
        const int32_t nRows = anDims[0];
        const int32_t nCols = anDims[1];

        // Signed comparisons, so a negative index or dimension fails too.
        if ((nMode == MODE_ROW && (nIndex < 0 || nIndex >= nRows)) ||
            (nMode == MODE_COLUMN && (nIndex < 0 || nIndex >= nCols))) {
            SetErrorDetail(kSubscriptDetail);
            return ReportError(EXT_STATUS_LOOKUP_ERROR, IDS_ARRAY_SUBSCRIPT);
        }

        // The value goes into every element of the row or column.
        ExtValue element{};
        auto write = [&](int32_t r, int32_t k) {
            m_pResult->nType = EXT_MARK_ARRAY_WRITE;
            element.nType = EXT_VALUE_STRING;
            element.pszValue = strValue.data();
            m_pServices->pfnArrayElement(m_pServices->pContext, &array, r, k, 0, 0, 0, &element,
                                         EXT_VALUE_SIZE, EXT_OP_SET);
        };
        if (nMode == MODE_ROW) {
            for (int32_t k = 0; k < nCols; ++k)
                write(nIndex, k);
        } else if (nMode == MODE_COLUMN) {
            for (int32_t r = 0; r < nRows; ++r)
                write(r, nIndex);
        }

        return ReturnRecord(&array);
    });
}
