// pkStrTrim and pkFormatNumber through the stand-in host.
#include "HostFixture.h"

#include <string>
#include <vector>

using qvhost::Arg;
using qvhost::Outcome;

namespace {

const int32_t ROW_TRIM = 7;
const int32_t ROW_FORMAT = 10;

struct Case {
    std::string strFirst;
    std::string strSecond; // the mask, for pkFormatNumber
    std::string strExpected;
};

class TrimFormatTest : public HostTest {
protected:
    // One OK hand-back with a text and nothing else on the log.
    std::string CallOk(int32_t nRow, const std::vector<Arg>& args) {
        const Outcome out = host.Call(nRow, args);
        EXPECT_EQ(1, out.nResultCalls);
        EXPECT_EQ(host.nCallbackReturn, out.nReturned);
        EXPECT_EQ(EXT_STATUS_OK, out.nStatus);
        EXPECT_TRUE(out.IsText());
        EXPECT_EQ("result(0)", Trace(host.Log()));
        return out.text.value_or("<null>");
    }

    std::string Trim(const std::string& strText, int32_t n = 0) {
        return CallOk(ROW_TRIM, {Arg::Str(strText), Arg::Int(n)});
    }
    std::string Format(const std::string& strNumber, const std::string& strMask) {
        return CallOk(ROW_FORMAT, {Arg::Str(strNumber), Arg::Str(strMask)});
    }

    void ExpectTrimError(const Arg& text) {
        const Outcome out = host.Call(ROW_TRIM, {text, Arg::Int(0)});
        EXPECT_EQ(1, out.nResultCalls);
        EXPECT_EQ(host.nCallbackReturn, out.nReturned);
        EXPECT_EQ(EXT_STATUS_TEXT_ERROR, out.nStatus);
        EXPECT_TRUE(out.IsText());
        EXPECT_EQ("20004: Trim Error", out.text.value_or("<null>"));
        EXPECT_EQ("detail(Empty String.)@0 result(-2)", Trace(host.Log()));
    }
};

TEST_F(TrimFormatTest, TrimRemovesBlanksTabsAndLineBreaksAtBothEnds) {
    const std::vector<Case> cases = {
        {"a", "", "a"},
        {" ", "", " "},
        {"\n", "", "\n"},
        {"   ", "", " "},
        {"\t\n", "", "\n"}, // the front goes first, down to the last character
        {" \t\r\n", "", "\n"},
        {"  a  ", "", "a"},
        {"\ta b\r\n", "", "a b"}, // inside stays
        {"\r\n\t x", "", "x"},
        {"x \t\r\n", "", "x"},
        {"\x0b"
         "a\x0c",
         "",
         "\x0b"
         "a\x0c"}, // vertical tab and form feed are not trimmed
        {"\xa0"
         "a\xa0",
         "",
         "\xa0"
         "a\xa0"},
        {"\x0b \x0b", "", "\x0b \x0b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("pkStrTrim(\"" + c.strFirst + "\")");
        EXPECT_EQ(c.strExpected, Trim(c.strFirst));
    }
}

TEST_F(TrimFormatTest, TrimIgnoresItsIntegerArgument) {
    for (int32_t n : {0, 1, -1, 2, INT32_MAX, INT32_MIN})
        EXPECT_EQ("a b", Trim(" a b\t", n)) << n;
}

TEST_F(TrimFormatTest, TrimOfAnEmptyTextIsAnError) {
    ExpectTrimError(Arg::Str(""));
    ExpectTrimError(Arg::Null());
}

TEST_F(TrimFormatTest, TrimOfLongTexts) {
    const std::string strPad(1 << 20, ' ');
    EXPECT_EQ("x y", Trim(strPad + "\t\r\nx y\n" + strPad));
    EXPECT_EQ(" ", Trim(strPad + strPad));
}

TEST_F(TrimFormatTest, FormatWorkedExamples) {
    const std::vector<Case> cases = {
        {"1234567.89", "###,###,###.##", "1,234,567.89"},
        {"1234567890", "(###) ###-####", "(123) 456-7890"},
        {"1234", "(###) ###-####", "(   )    -1234"},
        {"1234", "##,###", "1,234"},
        {"123", "#,###", "123"},
        {"3.14", "#####", "3.14"},
        {"3.14159", "#.##", "1.59"},
        {"-42", "####", "42"},
        {"4a2", "###", "42"},
        {"42", "##-##", "-42"},
        {"5", "$###.##", "$     5"},
        {"5", "0###", "0  5"},
        {"12.50", "$##.##", "$12.50"},
        {"-12.50", "$##.##", "12.50"},
        {"1234.5", "#,###.##", "1,234..5"},
        {".5", "#.#", "5"},
        {"12.", "##.#", "1.2."},
        {"12,34", "#,###", "2,,34"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("pkFormatNumber(\"" + c.strFirst + "\", \"" + c.strSecond + "\")");
        EXPECT_EQ(c.strExpected, Format(c.strFirst, c.strSecond));
    }
}

TEST_F(TrimFormatTest, FormatWithEmptyOrDroppedTexts) {
    const std::vector<Case> cases = {
        {"", "", ""},
        {"", "##", " "},
        {"", "$#,###.##", "$"},
        {"", "a#b", "a b"},
        {"123", "", ""},
        {"1.5", "", ""},
        {"12.", "", "."},
        {"1,", "", ","},
        {"abc", "$#", ""},
        {"\xb1"
         "7\xff",
         "##", "7"}, // bytes above 0x7F are dropped
        {"7", "\xa4#",
         "\xa4"
         "7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("pkFormatNumber(\"" + c.strFirst + "\", \"" + c.strSecond + "\")");
        EXPECT_EQ(c.strExpected, Format(c.strFirst, c.strSecond));
    }
    EXPECT_EQ("$", CallOk(ROW_FORMAT, {Arg::Null(), Arg::Str("$##")}));
    EXPECT_EQ("", CallOk(ROW_FORMAT, {Arg::Str("12"), Arg::Null()}));
}

TEST_F(TrimFormatTest, FormatOfLongTexts) {
    const std::string strDigits(1 << 20, '7');
    EXPECT_EQ(strDigits, Format(strDigits, std::string(strDigits.size(), '#')));
    EXPECT_EQ("$" + std::string((1 << 20) - 1, ' ') + "7",
              Format("7", "$" + std::string(1 << 20, '#')));
    EXPECT_EQ("77", Format(strDigits, "##"));
}

} // namespace
