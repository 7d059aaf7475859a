// Queries, commands and the function table as the host sees them through the entry points.
#include "HostFixture.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

int32_t Command(int32_t nCmd, ExtValue* pArgs, int32_t nArgCount, ExtResultCallback pfnResult) {
    ExtValue result{};
    return TheModule().Command(0, 0, 0, nCmd, pfnResult, nullptr, 0, pArgs, nArgCount, &result);
}

int g_nCallbacks = 0;
int32_t EXTAPI CountingCallback(int32_t, ExtOpaque, ExtHostServices*, ExtValue*) {
    ++g_nCallbacks;
    return 0;
}

} // namespace

TEST(Query, InterfaceVersionAgreement) {
    struct Case {
        std::vector<int32_t> versions;
        int32_t nCount;
        int32_t nExpected;
    } cases[] = {
        {{4, 5, 6}, 3, 5}, {{4, 6}, 2, -1},
        {{5}, 1, 5},       {{4, 5}, 1, -1}, // only the counted values are read
        {{}, 0, -1},       {{}, -1, -1},
    };
    for (Case& c : cases) {
        void* pData = c.versions.empty() ? nullptr : c.versions.data();
        EXPECT_EQ(c.nExpected, TheModule().Query(EXT_QUERY_INTERFACE_VERSION, pData, c.nCount))
            << "count " << c.nCount;
    }
    int32_t five = 5;
    EXPECT_EQ(5, TheModule().Query(0x10002, &five, 1)) << "only the low 16 bits count";
}

TEST(Query, OtherTypesAnswerZero) {
    char buffer[8] = "intact";
    EXPECT_EQ(0, TheModule().Query(3, buffer, sizeof(buffer)));
    EXPECT_EQ(0, TheModule().Query(0, buffer, sizeof(buffer)));
    EXPECT_EQ(0, TheModule().Query(-1, buffer, sizeof(buffer)));
    EXPECT_STREQ("intact", buffer);
}

TEST(Query, ModuleInformation) {
    char full[260];
    std::memset(full, 'Z', sizeof(full));
    EXPECT_EQ(44001, TheModule().Query(EXT_QUERY_MODULE_INFO, full, sizeof(full)));
    EXPECT_STREQ("qvPalvek KEL Extender.", full);

    char small[16];
    std::memset(small, 'Z', sizeof(small));
    EXPECT_EQ(44001, TheModule().Query(65537, small, 10)) << "type 65537 is type 1";
    EXPECT_EQ(std::string("qvPalvek "), std::string(small));
    EXPECT_EQ('Z', small[10]) << "nothing written past the given size";

    errno = 1234;
    EXPECT_EQ(44001, TheModule().Query(EXT_QUERY_MODULE_INFO, nullptr, 260));
    EXPECT_EQ(1234, errno) << "the caller's errno is left as it was";
    char untouched[4] = "abc";
    EXPECT_EQ(44001, TheModule().Query(EXT_QUERY_MODULE_INFO, untouched, 0));
    EXPECT_EQ(44001, TheModule().Query(EXT_QUERY_MODULE_INFO, untouched, -5));
    EXPECT_STREQ("abc", untouched);
}

TEST(Command, CountAndNoOpNeverCallBack) {
    g_nCallbacks = 0;
    EXPECT_EQ(20, Command(EXT_CMD_FUNCTION_COUNT, nullptr, 0, &CountingCallback));
    EXPECT_EQ(20, Command(0xFFFF, nullptr, 0, &CountingCallback)) << "low 16 bits: -1";
    EXPECT_EQ(20, Command(0x7FFFFFFF, nullptr, 0, &CountingCallback));
    EXPECT_EQ(1, Command(EXT_CMD_NOOP, nullptr, 0, &CountingCallback));
    ExtFunctionInfo info{};
    EXPECT_EQ(1, Command(EXT_CMD_FUNCTION_INFO, reinterpret_cast<ExtValue*>(&info), 3,
                         &CountingCallback));
    EXPECT_EQ(0, g_nCallbacks);
}

TEST(Command, DescribeRows) {
    struct Case {
        int32_t nRow;
        int32_t nKind;
        uint64_t qwArgTypes;
        int nRequired, nOptional; // function rows
        int32_t nConstValue;      // constant rows
        const char* pszName;
    } cases[] = {
        {0, EXT_KIND_FUNCTION, 0x101, 2, 3, 0, "pkarrayfromstrcsv"},
        {1, EXT_KIND_FUNCTION, 0x13, 1, 3, 0, "pkarraytostrcsv"},
        {2, EXT_KIND_FUNCTION, 0x13, 4, 0, 0, "pkarrinitialize"},
        {3, EXT_KIND_FUNCTION, 0x1, 1, 0, 0, "pkisbn10to13"},
        {4, EXT_KIND_FUNCTION, 0x1, 1, 0, 0, "pkisbn13to10"},
        {5, EXT_KIND_FUNCTION, 0x1, 1, 1, 0, "pkisisbn"},
        {6, EXT_KIND_FUNCTION, 0x1, 1, 0, 0, "pkstrcleanisbn"},
        {7, EXT_KIND_FUNCTION, 0x1, 2, 0, 0, "pkstrtrim"},
        {8, EXT_KIND_FUNCTION, 0x1, 1, 0, 0, "pkgetconstants"},
        {9, EXT_KIND_FUNCTION, 0x11111, 4, 2, 0, "pkstrcut"},
        {10, EXT_KIND_FUNCTION, 0x11, 2, 0, 0, "pkformatnumber"},
        {11, EXT_KIND_FUNCTION, 0x11, 2, 0, 0, "pkstrproper"},
        {12, EXT_KIND_FUNCTION, 0x11, 2, 0, 0, "pkstrcapital"},
        {13, EXT_KIND_FUNCTION, 0x11, 2, 0, 0, "pkstrcleanint"},
        {14, EXT_KIND_FUNCTION, 0x11, 2, 0, 0, "pkstrcleanalpha"},
        {15, EXT_KIND_FUNCTION, 0x1, 1, 0, 0, "pkstrcleanalphanum"},
        {16, EXT_KIND_CONSTANT, 0, 0, 0, 1002, "@dbversion"},
        {17, EXT_KIND_CONSTANT, 0, 0, 0, 42, "@easteregg"},
        {18, EXT_KIND_CONSTANT, 0, 0, 0, 10, "@m64todec"},
        {19, EXT_KIND_CONSTANT, 0, 0, 0, 16, "@m64tohex"},
    };
    qvhost::StandInHost host(TheModule());
    for (const Case& c : cases) {
        ExtFunctionInfo info;
        std::memset(&info, 0xCD, sizeof(info));
        ASSERT_EQ(1, Command(EXT_CMD_FUNCTION_INFO, reinterpret_cast<ExtValue*>(&info), c.nRow,
                             &CountingCallback));
        SCOPED_TRACE(c.pszName);
        EXPECT_EQ(c.nRow, info.nIndex);
        EXPECT_EQ(c.nKind, info.nKind);
        EXPECT_EQ(c.qwArgTypes, info.qwArgTypes);
        if (c.nKind == EXT_KIND_FUNCTION) {
            EXPECT_EQ(c.nRequired, info.nRequiredArgs);
            EXPECT_EQ(c.nOptional, info.nOptionalArgs);
            EXPECT_EQ(0, info.wReserved);
        } else {
            EXPECT_EQ(c.nConstValue, info.nConstValue);
        }
        EXPECT_EQ(std::strlen(c.pszName), info.nNameSize);
        EXPECT_STREQ(c.pszName, info.szName);
    }
}

TEST(Command, DescribeOutsideTheTable) {
    for (int32_t nRow : {20, -1, 100000, INT32_MIN}) {
        ExtFunctionInfo info;
        std::memset(&info, 0xCD, sizeof(info));
        EXPECT_EQ(0, Command(EXT_CMD_FUNCTION_INFO, reinterpret_cast<ExtValue*>(&info), nRow,
                             &CountingCallback));
        const unsigned char* p = reinterpret_cast<const unsigned char*>(&info);
        EXPECT_EQ(sizeof(info), static_cast<size_t>(std::count(p, p + sizeof(info), 0xCD)))
            << "row " << nRow << " wrote into the record";
    }
    EXPECT_EQ(1, Command(EXT_CMD_FUNCTION_INFO, nullptr, 3, &CountingCallback));
    EXPECT_EQ(0, Command(EXT_CMD_FUNCTION_INFO, nullptr, 20, &CountingCallback));
}

TEST_F(HostTest, ScriptCallReturnsWhatTheCallbackReturned) {
    host.nCallbackReturn = 123456;
    const qvhost::Outcome out = host.Call(8, {qvhost::Arg::Str("xlX")});
    EXPECT_EQ(123456, out.nReturned);
    EXPECT_EQ(1, out.nResultCalls);
    EXPECT_TRUE(out.bOwnRecords) << "the callback gets the command's services and result record";
}

TEST(Command, DispatchOutsideTheTableRaisesTheAssertion) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(Command(20, nullptr, 0, &CountingCallback), "CmdId < _countof\\(m_ExtTable\\)");
    EXPECT_DEATH(Command(-4, nullptr, 0, &CountingCallback), "KTExtender");
}
