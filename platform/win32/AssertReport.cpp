#include "ExtAssert.h"

extern "C" void __cdecl _assert(const char* pszExpr, const char* pszFile, unsigned nLine);

void ExtAssertReport(const char* pszExpr, const char* pszFile, unsigned nLine) {
    _assert(pszExpr, pszFile, nLine);
}
