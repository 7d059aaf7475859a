// ISBN functions through the stand-in host: the filter, the test and both conversions.
#include "HostFixture.h"

#include <string>
#include <vector>

using qvhost::Arg;
using qvhost::Outcome;

namespace {

struct TextCase {
    const char* pszArg;
    const char* pszExpected;
};

class IsbnTest : public HostTest {
protected:
    // Every ISBN call ends in one OK hand-back, with no detail text, whatever its input.
    Outcome CallOk(const char* pszName, const std::vector<Arg>& args) {
        const Outcome out = host.Call(pszName, args);
        EXPECT_EQ(1, out.nResultCalls);
        EXPECT_EQ(host.nCallbackReturn, out.nReturned);
        EXPECT_EQ(EXT_STATUS_OK, out.nStatus);
        EXPECT_EQ("result(0)", Trace(host.Log()));
        return out;
    }

    void ExpectTexts(const char* pszName, const std::vector<TextCase>& cases) {
        for (const TextCase& c : cases) {
            SCOPED_TRACE(std::string(pszName) + "(\"" + c.pszArg + "\")");
            const Outcome out = CallOk(pszName, {Arg::Str(c.pszArg)});
            EXPECT_TRUE(out.IsText());
            EXPECT_EQ(c.pszExpected, out.text.value_or("<null>"));
        }
    }
};

TEST_F(IsbnTest, CleanKeepsDigitsAndAnXOnlyInTenthPlace) {
    ExpectTexts("pkStrCleanISBN", {
                                      {"978-0-306-40615-7", "9780306406157"},
                                      {"ISBN 0-306-40615-2", "0306406152"},
                                      {"030640615x", "030640615X"},
                                      {"030640615X", "030640615X"},
                                      {"0-306-40615-X", "030640615"},
                                      {"X123456789", "123456789"},
                                      {"1-2345678X9", "12345678X9"},
                                      {"123456789xX", "123456789X"},
                                      {"12\t34\r\n5\x80\xff"
                                       "6",
                                       "123456"},
                                      {"abc", ""},
                                      {"", ""},
                                  });
}

TEST_F(IsbnTest, TenToThirteenComputesAFreshCheckDigit) {
    ExpectTexts("pkISBN10To13", {
                                    {"0306406152", "9780306406157"},
                                    {"0-306-40615-2", "9780306406157"},
                                    {"ISBN 0306406152", "9780306406157"},
                                    {"030640615X", "9780306406157"},
                                    {"0306406159", "9780306406157"},
                                    {"080442957X", "9780804429573"},
                                    {"3064060058", "9783064060050"},
                                });
}

TEST_F(IsbnTest, TenToThirteenHandsBackWhatDoesNotFitUnchanged) {
    ExpectTexts("pkISBN10To13", {
                                    {"0-8044-2957-X", "0-8044-2957-X"},
                                    {"12345", "12345"},
                                    {"9780306406157", "9780306406157"},
                                    {"abc", "abc"},
                                    {"", ""},
                                    // the "X" lands in the body: it has no digit value
                                    {"1-2345678X9", "1-2345678X9"},
                                });
}

TEST_F(IsbnTest, ThirteenToTenComputesAFreshCheckCharacter) {
    ExpectTexts("pkISBN13To10", {
                                    {"9780306406157", "0306406152"},
                                    {"978-0-306-40615-7", "0306406152"},
                                    {"978 0 306 40615 7", "0306406152"},
                                    {"9780306406150", "0306406152"},
                                    {"9780804429573", "080442957X"},
                                    {"9783064060098", "3064060090"},
                                    {"1234567890123", "4567890124"},
                                    {"abcdefghiX123456789012", "3456789017"}, // X in the prefix
                                });
}

TEST_F(IsbnTest, ThirteenToTenRefusesPrefix979AndHandsBackUnchanged) {
    ExpectTexts("pkISBN13To10", {
                                    {"9791234567896", "9791234567896"},
                                    {"979-10-90636-07-1", "979-10-90636-07-1"},
                                    {"978030640615", "978030640615"},
                                    {"97803064061570", "97803064061570"},
                                    {"0306406152", "0306406152"},
                                    {"", ""},
                                    // the "X" lands in the body: it has no digit value
                                    {"978030640x157", "978030640x157"},
                                });
}

TEST_F(IsbnTest, IsIsbnLooksAtLengthPrefixAndTheB0Switch) {
    struct Case {
        const char* pszArg;
        int32_t nSwitch;
        int32_t nExpected;
    };
    const Case cases[] = {
        {"0-306-40615-2", 0, 1}, {"030640615x", 0, 1},        {"0-306-40615-X", 0, 0},
        {"555-123-4567", 0, 1},  {"979-10-90636-07-1", 0, 1}, {"9780306406157", 0, 1},
        {"1234567890123", 0, 0}, {"97803064061570", 0, 0},    {"", 0, 0},
        {"B000123456", 1, 1},    {"B0ABCDEFGH", 1, 1},        {"B000123456", 0, 0},
        {"B000123456", 2, 0},    {"B000123456", -1, 0},       {"b000123456", 1, 0},
        {"B0001234567", 1, 1},   {"B0ABCDEFGHI", 1, 0},       {"B0ABCDEFG", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("pkIsISBN(\"") + c.pszArg + "\", " + std::to_string(c.nSwitch) +
                     ")");
        const Outcome out = CallOk("pkIsISBN", {Arg::Str(c.pszArg), Arg::Int(c.nSwitch)});
        EXPECT_TRUE(out.IsInteger());
        EXPECT_EQ(c.nExpected, out.result.nValue);
    }
}

TEST_F(IsbnTest, IsIsbnWithTheSwitchOmitted) {
    EXPECT_EQ(0, CallOk("pkIsISBN", {Arg::Str("B000123456")}).result.nValue);
    EXPECT_EQ(1, CallOk("pkIsISBN", {Arg::Str("0306406152")}).result.nValue);
}

TEST_F(IsbnTest, IsIsbnLeavesTheResultTextAlone) {
    static char szBefore[] = "before";
    ExtValue initial{};
    initial.pszValue = szBefore;
    const Outcome out = host.Call(host.FindRow("pkIsISBN"), {Arg::Str("0306406152")}, &initial);
    EXPECT_TRUE(out.IsInteger());
    EXPECT_EQ(szBefore, out.result.pszValue);
}

TEST_F(IsbnTest, NullTextCountsAsEmpty) {
    EXPECT_EQ("", CallOk("pkStrCleanISBN", {Arg::Null()}).text.value_or("<null>"));
    EXPECT_EQ("", CallOk("pkISBN10To13", {Arg::Null()}).text.value_or("<null>"));
    EXPECT_EQ("", CallOk("pkISBN13To10", {Arg::Null()}).text.value_or("<null>"));
    EXPECT_EQ(0, CallOk("pkIsISBN", {Arg::Null(), Arg::Int(1)}).result.nValue);
}

} // namespace
