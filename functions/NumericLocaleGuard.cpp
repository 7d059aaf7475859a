#include "NumericLocaleGuard.h"

#include <clocale>

CNumericLocaleGuard::CNumericLocaleGuard() {
    // Copy the name first: the runtime's text is overwritten by the next setlocale. When the
    // copy throws, no switch has been made.
    const char* pszCurrent = std::setlocale(LC_NUMERIC, nullptr);
    if (pszCurrent == nullptr)
        return;
    m_strSavedLocale = pszCurrent;
    if (!m_strSavedLocale.empty())
        std::setlocale(LC_NUMERIC, "");
}

CNumericLocaleGuard::~CNumericLocaleGuard() {
    if (!m_strSavedLocale.empty()) {
        std::setlocale(LC_NUMERIC, m_strSavedLocale.c_str());
        m_strSavedLocale.clear();
    }
}
