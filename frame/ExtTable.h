// One row of the module's function table.
#pragma once

#include "ExtHost.h"

class CqvPalvek;

typedef int32_t (CqvPalvek::*ExtHandler)(ExtOpaque pHostArg1, ExtOpaque pHostArg2,
                                         ExtOpaque pHostArg3, ExtValue* pArgs, int32_t nArgCount);

enum { EXT_TABLE_ROWS = 20 };

struct ExtTableEntry {
    ExtHandler m_pfnHandler;
    const char* m_szName;
    uint16_t m_nSize;
    int32_t m_nKind;
    union {
        struct {
            uint8_t m_nRequiredArgs;
            uint8_t m_nOptionalArgs;
            uint16_t m_wReserved;
        };
        int32_t m_nValue;
    };
    uint64_t m_qwArgTypes;

    constexpr ExtTableEntry()
        : m_pfnHandler(nullptr), m_szName(nullptr), m_nSize(0), m_nKind(0), m_nValue(0),
          m_qwArgTypes(0) {}

    // A function row; t0 to t15 are the argument type codes, argument i in bits 4i to 4i+3.
    ExtTableEntry(ExtHandler pfnHandler, const char* szName, uint16_t nSize, uint8_t nRequired,
                  uint8_t nOptional, int t0 = 0, int t1 = 0, int t2 = 0, int t3 = 0, int t4 = 0,
                  int t5 = 0, int t6 = 0, int t7 = 0, int t8 = 0, int t9 = 0, int t10 = 0,
                  int t11 = 0, int t12 = 0, int t13 = 0, int t14 = 0, int t15 = 0)
        : m_pfnHandler(pfnHandler), m_szName(szName), m_nSize(nSize), m_nKind(EXT_KIND_FUNCTION),
          m_qwArgTypes(0) {
        m_nRequiredArgs = nRequired;
        m_nOptionalArgs = nOptional;
        m_wReserved = 0;
        const int codes[16] = {t0, t1, t2,  t3,  t4,  t5,  t6,  t7,
                               t8, t9, t10, t11, t12, t13, t14, t15};
        for (int i = 0; i < 16; ++i)
            m_qwArgTypes |= static_cast<uint64_t>(codes[i] & 0xF) << (4 * i);
    }

    // A constant row.
    static ExtTableEntry Constant(const char* szName, uint16_t nSize, int32_t nValue) {
        ExtTableEntry row;
        row.m_szName = szName;
        row.m_nSize = nSize;
        row.m_nKind = EXT_KIND_CONSTANT;
        row.m_nValue = nValue;
        return row;
    }
};
