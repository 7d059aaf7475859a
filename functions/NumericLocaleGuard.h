// Switches the numeric locale category to the user's default for the guard's lifetime.
#pragma once

#include <string>

class CNumericLocaleGuard {
public:
    CNumericLocaleGuard();
    ~CNumericLocaleGuard();
    CNumericLocaleGuard(const CNumericLocaleGuard&) = delete;
    CNumericLocaleGuard& operator=(const CNumericLocaleGuard&) = delete;

private:
    std::string
        m_strSavedLocale; // the category's name before the switch; empty: nothing to restore
};
