// The module class: its function table and the handlers of its script functions.
#pragma once

#include "KTExtender.h"

#include <cstdint>
#include <string>

#define EXT_HANDLER(name)                                                                          \
    int32_t name(ExtOpaque pHostArg1, ExtOpaque pHostArg2, ExtOpaque pHostArg3, ExtValue* pArgs,   \
                 int32_t nArgCount)

class CqvPalvek : public CKelExtenderT<CqvPalvek> {
public:
    static ExtTableEntry m_ExtTable[EXT_TABLE_ROWS];

    // Arrays and delimited text.
    EXT_HANDLER(pkArrayFromStrCSV);
    EXT_HANDLER(pkArrayToStrCSV);
    EXT_HANDLER(pkArrInitialize);
    // ISBN numbers.
    EXT_HANDLER(pkISBN10To13);
    EXT_HANDLER(pkISBN13To10);
    EXT_HANDLER(pkIsISBN);
    EXT_HANDLER(pkStrCleanISBN);
    // Trimming, constants, cutting, number masks.
    EXT_HANDLER(pkStrTrim);
    EXT_HANDLER(pkGetConstants);
    EXT_HANDLER(pkStrCut);
    EXT_HANDLER(pkFormatNumber);
    // Signed 64-bit integers as decimal text.
    EXT_HANDLER(pkStrProper);
    EXT_HANDLER(pkStrCapital);
    EXT_HANDLER(pkStrCleanInt);
    EXT_HANDLER(pkStrCleanAlpha);
    EXT_HANDLER(pkStrCleanAlphaNum);

    // Shared text routines.
    static int32_t NormalizeLineBreaks(std::string& strText);
    static std::string TrimSpaces(std::string& strText);
    static std::string StripQuotes(std::string strText);

    static std::string CleanISBN(std::string strText);
    static int64_t ParseInt64(const char* pszText, int nRadix);
    static int32_t LookupConstant(std::string strName);

private:
    // The five 64-bit integer functions share one shape; nOperation picks the arithmetic.
    int32_t RunInt64(ExtValue* pArgs, int nOperation);
};

extern CqvPalvek g_Extender;

// Fills the twenty rows of the function table; a static initialiser.
void InitExtTable();
