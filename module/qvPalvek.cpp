#include "qvPalvek.h"

#include "StaticInit.h"

#include <cstdlib>

constinit CqvPalvek g_Extender;
extern CExtenderBase* g_pExtender;

// The extender object owns no resources; nothing to release at unload.
static void DestroyExtender() {}

static void InitExtender() {
    g_pExtender = &g_Extender;
    std::atexit(DestroyExtender);
}

EXT_STATIC_INIT(InitExtender, EXT_INIT_EXTENDER)

// Constant-initialised, so that the table initialiser runs on a zeroed table.
constinit ExtTableEntry CqvPalvek::m_ExtTable[EXT_TABLE_ROWS];

void InitExtTable() {
    typedef CqvPalvek M;
    ExtTableEntry* t = M::m_ExtTable;
    const int S = EXT_ARG_STRING, I = EXT_ARG_INTEGER, A = EXT_ARG_ARRAY;
    t[0] = ExtTableEntry(&M::pkArrayFromStrCSV, "pkArrayFromStrCSV", 17, 2, 3, S, I, S, I, I);
    t[1] = ExtTableEntry(&M::pkArrayToStrCSV, "pkArrayToStrCSV", 15, 1, 3, A, S, I, I);
    t[2] = ExtTableEntry(&M::pkArrInitialize, "pkArrInitialize", 15, 4, 0, A, S, I, I);
    t[3] = ExtTableEntry(&M::pkISBN10To13, "pkISBN10To13", 12, 1, 0, S);
    t[4] = ExtTableEntry(&M::pkISBN13To10, "pkISBN13To10", 12, 1, 0, S);
    t[5] = ExtTableEntry(&M::pkIsISBN, "pkIsISBN", 8, 1, 1, S, I);
    t[6] = ExtTableEntry(&M::pkStrCleanISBN, "pkStrCleanISBN", 14, 1, 0, S);
    t[7] = ExtTableEntry(&M::pkStrTrim, "pkStrTrim", 9, 2, 0, S, I);
    t[8] = ExtTableEntry(&M::pkGetConstants, "pkGetConstants", 14, 1, 0, S);
    t[9] = ExtTableEntry(&M::pkStrCut, "pkStrCut", 8, 4, 2, S, S, S, S, S, I);
    t[10] = ExtTableEntry(&M::pkFormatNumber, "pkFormatNumber", 14, 2, 0, S, S);
    t[11] = ExtTableEntry(&M::pkStrProper, "pkStrProper", 11, 2, 0, S, S);
    t[12] = ExtTableEntry(&M::pkStrCapital, "pkStrCapital", 12, 2, 0, S, S);
    t[13] = ExtTableEntry(&M::pkStrCleanInt, "pkStrCleanInt", 13, 2, 0, S, S);
    t[14] = ExtTableEntry(&M::pkStrCleanAlpha, "pkStrCleanAlpha", 15, 2, 0, S, S);
    t[15] = ExtTableEntry(&M::pkStrCleanAlphaNum, "pkStrCleanAlphaNum", 18, 1, 0, S);
    t[16] = ExtTableEntry::Constant("@dbVersion", 10, 1002);
    t[17] = ExtTableEntry::Constant("@EasterEgg", 10, 42);
    t[18] = ExtTableEntry::Constant("@m64todec", 9, 10);
    t[19] = ExtTableEntry::Constant("@m64tohex", 9, 16);
}

EXT_STATIC_INIT(InitExtTable, EXT_INIT_EXT_TABLE)
