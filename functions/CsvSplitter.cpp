#include "CsvSplitter.h"

namespace qvcsv {

CFinder::CFinder(std::string_view pattern) : m_pattern(pattern) {
    if (m_pattern.size() < 2)
        return;
    m_fail.assign(m_pattern.size(), 0);
    size_t k = 0;
    for (size_t i = 1; i < m_pattern.size(); ++i) {
        while (k > 0 && m_pattern[i] != m_pattern[k])
            k = m_fail[k - 1];
        if (m_pattern[i] == m_pattern[k])
            ++k;
        m_fail[i] = k;
    }
}

size_t CFinder::Find(std::string_view text, size_t nFrom) const {
    const size_t m = m_pattern.size();
    if (m == 0 || nFrom >= text.size() || text.size() - nFrom < m)
        return std::string_view::npos;
    const char* const pText = text.data();
    const size_t n = text.size();
    const char c0 = m_pattern[0];
    if (m == 1) {
        const void* p = std::memchr(pText + nFrom, c0, n - nFrom);
        return p != nullptr ? static_cast<size_t>(static_cast<const char*>(p) - pText)
                            : std::string_view::npos;
    }
    size_t k = 0; // characters of the pattern matched so far
    size_t i = nFrom;
    while (i < n) {
        if (k == 0) {
            const void* p = std::memchr(pText + i, c0, n - i);
            if (p == nullptr)
                return std::string_view::npos;
            i = static_cast<size_t>(static_cast<const char*>(p) - pText) + 1;
            k = 1;
        } else if (pText[i] == m_pattern[k]) {
            ++i;
            ++k;
        } else {
            k = m_fail[k - 1];
            continue; // compare the same character again at the shorter match
        }
        if (k == m)
            return i - m;
    }
    return std::string_view::npos;
}

size_t CountColumns(std::string_view text, const CFinder& delimiter) {
    const void* pCr = std::memchr(text.data(), '\r', text.size());
    const size_t nFirstCr = pCr != nullptr
                                ? static_cast<size_t>(static_cast<const char*>(pCr) - text.data())
                                : text.size();
    // An occurrence that starts before the first CR ends within nFirstCr + size - 1 characters.
    const size_t nScan = nFirstCr + delimiter.Size() - 1;
    const std::string_view head = text.substr(0, nScan < text.size() ? nScan : text.size());
    size_t nColumns = 1;
    size_t nFrom = 0;
    for (;;) {
        const size_t p = delimiter.Find(head, nFrom);
        if (p == std::string_view::npos || p >= nFirstCr)
            return nColumns;
        ++nColumns;
        nFrom = p + delimiter.Size();
    }
}

} // namespace qvcsv
