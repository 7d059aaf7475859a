// pkGetConstants through the entry point: hits, misses and the order of the host services.
#include "HostFixture.h"

#include <climits>

namespace {

const int32_t kRow = 8;

struct Hit {
    const char* pszName;
    int32_t nValue;
};

const Hit kHits[] = {
    {"xlDialogPhonetic", 656}, // the last of its repeats
    {"_xlDialogPhonetic", 538},
    {"_xlDialogChartSourceData", 541},
    {"_fpBorderNone", 0},
    {"OM", 1},
    {"xlX", -4168},
    {"xlY", 1},
    {"WS_POPUP", INT32_MIN},
    {"BoolValue_Max", INT32_MAX},
    {"SM_CMETRICS", 97},
    {"HOTKEYF_EXT", 8},
    {"CLR_DEFAULT", -16777216},
    {"WM_MOUSELAST", 526},
    {"cellFomattingID", 0},
    {"is_table", 64},
    {"XlDisplayShapes", -4104},
    {"AdArray", 8192},
    {"PbShowDialog", 2},
    {"ActMsgPR_ORIGINAL_SENT_REPRESENTING_EMAIL_ADDRESS_6881310", 0},
    {"ActMsgPR_ORIGINAL_SENT_REPRESENTING_EMAIL_ADDRESS", 6881310},
    {"mapiHiddenMessages", 26},
    {"CdoHiddenMessages", 32},
    {"ActMsgHiddenMessages", 32},
    {"AmPidOccurrences", 32278},
    {"HWND_TOPMOST", 12},
    {"RT_GROUP_ICON", 246340538},
    {"WINVER", 1280},
    {"EVENT_OBJECT_TEXTEDIT_CONVERSIONTARGETCHANGED", 32816}, // newer than the other EVENT_ names
    {"wdCreatorCode", 1297307460},
    {"True", 1},
    {"False", 0},
    {"pdRotate270", 270},
};

const char* const kMisses[] = {
    "",
    " xlX",
    "xlX ",
    "xlx", // case matters
    "XLX",
    "xlDisplayShapes",
    "fpBorderNone",
    "true",
    "@dbVersion", // the module's own constants are not in the map
    "@EasterEgg",
    "@m64todec",
    "@m64tohex",
    "xlDialogPhoneti", // no prefix match
    "no such constant",
};

} // namespace

TEST_F(HostTest, ConstantHitsSetTheVariableThenReturnTheValue) {
    for (const Hit& hit : kHits) {
        SCOPED_TRACE(hit.pszName);
        const qvhost::Outcome out = host.Call(kRow, {qvhost::Arg::Str(hit.pszName)});
        EXPECT_EQ(1, out.nResultCalls);
        EXPECT_EQ(EXT_STATUS_OK, out.nStatus);
        EXPECT_TRUE(out.IsInteger());
        EXPECT_EQ(hit.nValue, out.result.nValue);
        EXPECT_EQ("setvar(" + std::string(hit.pszName) + "=" + std::to_string(hit.nValue) +
                      ")@2 result(0)",
                  Trace(host.Log()));
        const qvhost::LogEntry& set = host.Log().front();
        EXPECT_EQ(EXT_VALUE_INTEGER, set.nValueType);
        EXPECT_EQ(EXT_VALUE_SIZE, set.nRecordSize);
        EXPECT_EQ(EXT_OP_SET, set.nOp);
        EXPECT_EQ(hit.nValue, host.Variables().at(hit.pszName));
    }
}

TEST_F(HostTest, ConstantMissesReportTheName) {
    for (const char* pszName : kMisses) {
        SCOPED_TRACE(pszName);
        const qvhost::Outcome out = host.Call(kRow, {qvhost::Arg::Str(pszName)});
        EXPECT_EQ(1, out.nResultCalls);
        EXPECT_EQ(EXT_STATUS_LOOKUP_ERROR, out.nStatus);
        EXPECT_EQ("20002: Constant Not Found.", out.text.value_or(""));
        EXPECT_EQ("detail(" + std::string(pszName) + " Constant Not Found.)@0 result(-3)",
                  Trace(host.Log()));
        EXPECT_TRUE(host.Variables().empty());
    }
}

TEST_F(HostTest, ConstantLookupLeavesTheResultRecordsOtherFields) {
    ExtValue initial{};
    initial.pszValue = nullptr;
    initial.dwReserved = 0xABCD;
    initial.nValue = 777;
    const qvhost::Outcome hit = host.Call(kRow, {qvhost::Arg::Str("xlX")}, &initial);
    EXPECT_EQ(nullptr, hit.result.pszValue);
    EXPECT_EQ(0xABCDu, hit.result.dwReserved);
    const qvhost::Outcome miss = host.Call(kRow, {qvhost::Arg::Str("xlx")}, &initial);
    EXPECT_EQ(777, miss.result.nValue);
    EXPECT_EQ(0xABCDu, miss.result.dwReserved);
}

TEST_F(HostTest, ConstantLookupOfANullTextMisses) {
    const qvhost::Outcome out = host.Call(kRow, {qvhost::Arg::Null()});
    EXPECT_EQ(EXT_STATUS_LOOKUP_ERROR, out.nStatus);
    EXPECT_EQ(1, out.nResultCalls);
}
