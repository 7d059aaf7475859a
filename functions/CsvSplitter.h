// Splitting normalised delimited text into lines and fields,
// in time linear in the size of the text and of the delimiter.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

namespace qvcsv {

// Finds a fixed pattern of one or more characters, leftmost first, byte by byte.
// One character: memchr. Longer: Knuth-Morris-Pratt with a memchr skip to the pattern's
// first character, so a search costs the characters it passes, whatever the pattern.
class CFinder {
public:
    explicit CFinder(std::string_view pattern);

    // The first position at or after nFrom where the pattern starts in text, or npos.
    size_t Find(std::string_view text, size_t nFrom) const;
    size_t Size() const { return m_pattern.size(); }

private:
    std::string_view m_pattern;
    std::vector<size_t> m_fail; // KMP failure function, for patterns of two or more characters
};

// The fields of one line (a text without CR) for pkArrayFromStrCSV, with the
// rule for a quoted field without a closing double quote followed by the delimiter: when the
// rest of the line ends with a double quote, the end of the line closes the field and it is the
// whole rest; otherwise it ends at the next delimiter, quotes kept. Calls onField(k, field) for
// k = 0, 1, ... in order; the field is the raw text, before StripQuotes and TrimSpaces.
// Returns the number of fields.
template <class OnField>
size_t SplitLine(std::string_view line, const CFinder& delimiter, const CFinder& quoteDelimiter,
                 OnField&& onField) {
    const size_t nDelim = delimiter.Size();
    size_t nStart = 0; // start of what is left of the line
    size_t nField = 0;
    // The first '"'+delimiter at or after some earlier start; still the first at or after
    // nStart while it does not lie before nStart. npos once a search found none: then no
    // later start finds one either.
    size_t nQuoteDelim = 0;
    bool bQuoteSearched = false;
    for (;;) {
        size_t p = delimiter.Find(line, nStart);
        if (p == std::string_view::npos) {
            onField(nField, line.substr(nStart));
            return nField + 1;
        }
        if (std::memchr(line.data() + nStart, '"', p - nStart) != nullptr) {
            if (!bQuoteSearched ||
                (nQuoteDelim != std::string_view::npos && nQuoteDelim < nStart)) {
                nQuoteDelim = quoteDelimiter.Find(line, nStart);
                bQuoteSearched = true;
            }
            if (nQuoteDelim != std::string_view::npos) {
                p = nQuoteDelim + 1; // the delimiter behind that double quote
            } else if (line.back() == '"') {
                // The end of the line stands after the closing double quote.
                onField(nField, line.substr(nStart));
                return nField + 1;
            }
            // else: no closing double quote at all; the field ends at p.
        }
        onField(nField, line.substr(nStart, p - nStart));
        nStart = p + nDelim;
        ++nField;
    }
}

// The number of columns that the first line gives: 1 plus the non-overlapping occurrences of
// the delimiter that start before the first CR (every occurrence when there is no CR).
size_t CountColumns(std::string_view text, const CFinder& delimiter);

// Calls onLine(r, line) for each line ended by a CR, r = 0, 1, ...; what follows the last CR
// is not a line. Returns the number of lines.
template <class OnLine> size_t ForEachLine(std::string_view text, OnLine&& onLine) {
    size_t nStart = 0, nLine = 0;
    while (nStart < text.size()) {
        const void* pCr = std::memchr(text.data() + nStart, '\r', text.size() - nStart);
        if (pCr == nullptr)
            break;
        const size_t nEnd = static_cast<size_t>(static_cast<const char*>(pCr) - text.data());
        onLine(nLine, text.substr(nStart, nEnd - nStart));
        ++nLine;
        nStart = nEnd + 1;
    }
    return nLine;
}

} // namespace qvcsv
