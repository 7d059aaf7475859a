// Internals that the entry points don't show, on the module's code linked into the test.
#include "ConstantsMap.h"
#include "DynamicLibrary.h"
#include "qvPalvek.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>

TEST(FunctionRow, ArgumentTypeCodes) {
    struct Case {
        std::vector<int> codes;
        uint64_t qwExpected;
    } cases[] = {
        {{1, 0, 1}, 0x101},
        {{1, 2, 3}, 0x321},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, 1ull << 60},
        {{19}, 0x3},
    };
    for (const Case& c : cases) {
        int t[16] = {};
        std::copy(c.codes.begin(), c.codes.end(), t);
        const ExtTableEntry row(nullptr, "x", 1, 2, 3, t[0], t[1], t[2], t[3], t[4], t[5], t[6],
                                t[7], t[8], t[9], t[10], t[11], t[12], t[13], t[14], t[15]);
        EXPECT_EQ(c.qwExpected, row.m_qwArgTypes);
        EXPECT_EQ(EXT_KIND_FUNCTION, row.m_nKind);
        EXPECT_EQ(2, row.m_nRequiredArgs);
        EXPECT_EQ(3, row.m_nOptionalArgs);
        EXPECT_EQ(0, row.m_wReserved);
    }
}

TEST(FunctionTable, NameLengthsMatchNames) {
    for (const ExtTableEntry& row : CqvPalvek::m_ExtTable)
        EXPECT_EQ(std::strlen(row.m_szName), row.m_nSize) << row.m_szName;
}

namespace {

std::string Message(int32_t nMsgId, int32_t& nCount, int32_t nSize = 256) {
    char sz[256];
    std::memset(sz, 'Z', sizeof(sz));
    nCount = g_Extender.GetMessageText(nMsgId, nSize ? sz : nullptr, nSize);
    return nSize ? std::string(sz) : std::string(g_szMessage);
}

} // namespace

// One test: the language settings are module-wide state, read again only for message 0.
TEST(MessageText, StringTableLanguageFileAndRereading) {
    const std::string ini = platform::WindowsFolder() + "/TBXROVAN.INI";
    const std::string lang = platform::ProgramFolder() + "TBXELANG.u1";
    std::remove(ini.c_str());
    int32_t n = 0;

    EXPECT_EQ("20003: Cut Error.", Message(20003, n));
    EXPECT_EQ(17, n);
    EXPECT_EQ("qvPalvek KEL Extender.", Message(101, n));
    EXPECT_EQ(22, n);
    EXPECT_EQ("", Message(12345, n));
    EXPECT_EQ(0, n);
    EXPECT_EQ("20004: Trim Error", Message(20004, n, 0)) << "size 0 writes the module's buffer";
    EXPECT_EQ(LANG_STATE_NO_FILE, g_nLangState);

    std::ofstream(ini) << "[MAIN]\nLanguage=u1\n";
    std::ofstream(lang) << "[ Extender]\nX20003=a~b|c\nX99=ninety-nine\nX101=\n";
    EXPECT_EQ("20003: Cut Error.", Message(20003, n)) << "settings are read once";
    EXPECT_EQ("", Message(0, n)) << "message 0 reads them again";
    EXPECT_EQ(0, n);
    EXPECT_EQ(LANG_STATE_FOUND, g_nLangState);
    EXPECT_EQ("a\nb\tc", Message(20003, n));
    EXPECT_EQ(5, n);
    EXPECT_EQ("", Message(99, n)) << "numbers below 100 come from the string table";
    EXPECT_EQ("", Message(101, n)) << "an empty entry is the message";
    EXPECT_EQ(0, n);
    EXPECT_EQ("20004", Message(20004, n, 6)) << "cut to the buffer";
    EXPECT_EQ(5, n);

    std::remove(ini.c_str());
    std::remove(lang.c_str());
    Message(0, n);
    EXPECT_EQ(LANG_STATE_NO_FILE, g_nLangState);
}

TEST(ConstantsMap, FilledOnFirstLookupOnly) {
    EXPECT_TRUE(g_mapConstants.empty()) << "loading builds nothing";
    EXPECT_EQ(CONST_NOT_FOUND, CqvPalvek::LookupConstant("no such constant"));
    std::ifstream table(QV_CONSTANTS_TABLE);
    std::set<std::string> names;
    for (std::string line; std::getline(table, line);)
        names.insert(line.substr(0, line.find('\t')));
    EXPECT_EQ(names.size(), g_mapConstants.size());
    const int32_t* pnEntry = &g_mapConstants.find(std::string_view("xlX"))->second;
    EXPECT_EQ(656, CqvPalvek::LookupConstant("xlDialogPhonetic"));
    EXPECT_EQ(names.size(), g_mapConstants.size());
    EXPECT_EQ(pnEntry, &g_mapConstants.find(std::string_view("xlX"))->second) << "no second fill";
}
