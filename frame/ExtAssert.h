// Assertions that stay active in the released module.
#pragma once

// Raises the runtime's assertion report for expression pszExpr at pszFile:nLine.
void ExtAssertReport(const char* pszExpr, const char* pszFile, unsigned nLine);
