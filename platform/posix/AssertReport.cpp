#include "ExtAssert.h"

extern "C" void __assert_fail(const char* pszExpr, const char* pszFile, unsigned nLine,
                              const char* pszFunction) noexcept __attribute__((noreturn));

void ExtAssertReport(const char* pszExpr, const char* pszFile, unsigned nLine) {
    __assert_fail(pszExpr, pszFile, nLine, "");
}
