// Signed 64-bit integer functions through the stand-in host: results, parsing, messages, and
// that every call leaves the caller's errno and numeric locale as it found them.
#include "HostFixture.h"

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

using qvhost::Arg;
using qvhost::Outcome;

namespace {

const char* const kNotANumber = "19102: Paramter canot be converted to a number.";
const char* const kOutOfRange = "19103: Paramter is out of range.";
const char* const kDivideByZero = "19105: Divisor cannot be zero.";

const char* const kMax = "9223372036854775807";
const char* const kMin = "-9223372036854775808";
const char* const kTwentyNines = "99999999999999999999";

const int kCallerErrno = 4242; // no conversion or library call sets this one

std::string NumericLocale() {
    const char* psz = std::setlocale(LC_NUMERIC, nullptr);
    return psz != nullptr ? psz : "";
}

// True when the current numeric locale's decimal point or grouping differs from "C".
bool NumericLocaleDiffersFromC() {
    const std::lconv* lc = std::localeconv();
    return std::string(lc->decimal_point) != "." || lc->thousands_sep[0] != '\0';
}

// An installed numeric locale whose decimal point or grouping differs from "C"; empty if none.
std::string FindDifferingLocale() {
    static const char* const kCandidates[] = {
        "de_DE.UTF-8", "de_DE.utf8",         "de_DE",      "fr_FR.UTF-8",
        "fr_FR.utf8",  "en_US.UTF-8",        "en_US.utf8", "German_Germany.1252",
        "German",      "French_France.1252",
    };
    const std::string strSaved = NumericLocale();
    std::string strFound;
    for (const char* pszName : kCandidates) {
        if (std::setlocale(LC_NUMERIC, pszName) != nullptr && NumericLocaleDiffersFromC()) {
            strFound = NumericLocale();
            break;
        }
    }
    std::setlocale(LC_NUMERIC, strSaved.c_str());
    return strFound;
}

// One call: its operands and either a result text or an error message.
struct Case {
    const char* pszName;
    std::vector<Arg> args;
    const char* pszResult;  // null when the call must fail
    const char* pszMessage; // the message of a failure
};

Case Ok(const char* pszName, std::vector<Arg> args, const char* pszResult) {
    return {pszName, std::move(args), pszResult, nullptr};
}

Case Fails(const char* pszName, std::vector<Arg> args, const char* pszMessage) {
    return {pszName, std::move(args), nullptr, pszMessage};
}

std::string Describe(const Case& c) {
    std::string s = std::string(c.pszName) + "(";
    for (size_t i = 0; i < c.args.size(); ++i)
        s += (i > 0 ? ", \"" : "\"") +
             (c.args[i].kind == Arg::NullText ? std::string("<null>") : c.args[i].text) + "\"";
    return s + ")";
}

class Int64Test : public HostTest {
protected:
    // Runs one call with a marked errno; checks the one hand-back and that errno and the
    // numeric locale are what they were.
    Outcome Run(const Case& c) {
        const std::string strLocale = NumericLocale();
        errno = kCallerErrno;
        const Outcome out = host.Call(c.pszName, c.args);
        const int nErrno = errno;
        EXPECT_EQ(kCallerErrno, nErrno);
        EXPECT_EQ(strLocale, NumericLocale());
        EXPECT_EQ(1, out.nResultCalls);
        EXPECT_EQ(host.nCallbackReturn, out.nReturned);
        EXPECT_TRUE(out.IsText());
        return out;
    }

    void Expect(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            SCOPED_TRACE(Describe(c));
            const Outcome out = Run(c);
            if (c.pszResult != nullptr) {
                EXPECT_EQ(EXT_STATUS_OK, out.nStatus);
                EXPECT_EQ(c.pszResult, out.text.value_or("<null>"));
                EXPECT_EQ("result(0)", Trace(host.Log()));
            } else {
                EXPECT_EQ(EXT_STATUS_NUMBER_ERROR, out.nStatus);
                EXPECT_EQ(c.pszMessage, out.text.value_or("<null>"));
                EXPECT_EQ("result(-1)", Trace(host.Log())); // no detail text
            }
        }
    }
};

Arg S(const char* psz) {
    return Arg::Str(psz);
}

// The same texts through the one-argument NOT, whose result shows what was parsed.
std::vector<Case> ParsedBy(const std::vector<std::pair<const char*, const char*>>& texts,
                           bool bRefused) {
    std::vector<Case> cases;
    for (const auto& [pszText, pszExpected] : texts)
        cases.push_back(bRefused ? Fails("pkStrCleanAlphaNum", {S(pszText)}, pszExpected)
                                 : Ok("pkStrCleanAlphaNum", {S(pszText)}, pszExpected));
    return cases;
}

TEST_F(Int64Test, QuotientTruncatesTowardZero) {
    Expect({
        Ok("pkStrProper", {S("7"), S("2")}, "3"),
        Ok("pkStrProper", {S("-7"), S("2")}, "-3"),
        Ok("pkStrProper", {S("7"), S("-2")}, "-3"),
        Ok("pkStrProper", {S("-7"), S("-2")}, "3"),
        Ok("pkStrProper", {S("0"), S("5")}, "0"),
        Ok("pkStrProper", {S(kMin), S("1")}, kMin),
        Ok("pkStrProper", {S(kMax), S("-1")}, "-9223372036854775807"),
        Ok("pkStrProper", {S(kMin), S(kMax)}, "-1"),
        // the one quotient that does not fit wraps, and does not trap
        Ok("pkStrProper", {S(kMin), S("-1")}, kMin),
    });
}

TEST_F(Int64Test, RemainderTakesTheSignOfTheDividend) {
    Expect({
        Ok("pkStrCapital", {S("7"), S("2")}, "1"),
        Ok("pkStrCapital", {S("-7"), S("2")}, "-1"),
        Ok("pkStrCapital", {S("7"), S("-2")}, "1"),
        Ok("pkStrCapital", {S("-7"), S("-2")}, "-1"),
        Ok("pkStrCapital", {S("6"), S("3")}, "0"),
        Ok("pkStrCapital", {S(kMin), S(kMax)}, "-1"),
        Ok("pkStrCapital", {S(kMin), S("-1")}, "0"),
    });
}

TEST_F(Int64Test, BitwiseOperations) {
    Expect({
        Ok("pkStrCleanInt", {S("12"), S("10")}, "8"),
        Ok("pkStrCleanInt", {S("-1"), S("255")}, "255"),
        Ok("pkStrCleanInt", {S(kMax), S(kMin)}, "0"),
        Ok("pkStrCleanAlpha", {S("12"), S("10")}, "6"),
        Ok("pkStrCleanAlpha", {S("-1"), S("0")}, "-1"),
        Ok("pkStrCleanAlpha", {S(kMax), S("-1")}, kMin),
        Ok("pkStrCleanAlphaNum", {S("0")}, "-1"),
        Ok("pkStrCleanAlphaNum", {S("-1")}, "0"),
        Ok("pkStrCleanAlphaNum", {S(kMax)}, kMin),
        Ok("pkStrCleanAlphaNum", {S(kMin)}, kMax),
    });
}

TEST_F(Int64Test, DivisorZeroAndTheOrderOfFailures) {
    Expect({
        Fails("pkStrProper", {S("5"), S("0")}, kDivideByZero),
        Fails("pkStrProper", {S("5"), S(" 0 ")}, kDivideByZero),
        Fails("pkStrProper", {S("5"), S("-0")}, kDivideByZero),
        Fails("pkStrCapital", {S("5"), S("0")}, kDivideByZero),
        // argument 0 fails before argument 1 is parsed or the divisor tested
        Fails("pkStrProper", {S("abc"), S("0")}, kNotANumber),
        Fails("pkStrProper", {S(kTwentyNines), S("0")}, kOutOfRange),
        Fails("pkStrCapital", {S("abc"), S(kTwentyNines)}, kNotANumber),
        Fails("pkStrProper", {S("5"), S("abc")}, kNotANumber),
        Fails("pkStrCapital", {S("5"), S(kTwentyNines)}, kOutOfRange),
        Ok("pkStrCapital", {S("0"), S("7")}, "0"),
        // no divisor test outside division
        Ok("pkStrCleanInt", {S("5"), S("0")}, "0"),
        Ok("pkStrCleanAlpha", {S("5"), S("0")}, "5"),
    });
}

TEST_F(Int64Test, AcceptedNumberTexts) {
    Expect(ParsedBy({{"42", "-43"},
                     {"+42", "-43"},
                     {" 42", "-43"},
                     {"\t42", "-43"},
                     {"\n42", "-43"},
                     {"\v\f\r 42", "-43"},
                     {"42  ", "-43"},
                     {"42\t \t", "-43"},
                     {"0042", "-43"},
                     {"-0", "-1"},
                     {"-42", "41"}},
                    false));
}

TEST_F(Int64Test, TextsThatAreNoNumber) {
    Expect(ParsedBy({{"", kNotANumber},      {" ", kNotANumber},           {" \t ", kNotANumber},
                     {"4 2", kNotANumber},   {"42x", kNotANumber},         {"42 x", kNotANumber},
                     {"42\n", kNotANumber},  {"42\r", kNotANumber},        {"42\v", kNotANumber},
                     {"0x1F", kNotANumber},  {"1e3", kNotANumber},         {"1.5", kNotANumber},
                     {"1,000", kNotANumber}, {"1.000", kNotANumber},       {"+", kNotANumber},
                     {"-", kNotANumber},     {"+ 4", kNotANumber},         {"--4", kNotANumber},
                     {"+-4", kNotANumber},   {"\xef\xbc\x94", kNotANumber}},
                    true));
}

TEST_F(Int64Test, NumbersOutsideTheRange) {
    Expect(ParsedBy({{"9223372036854775808", kOutOfRange},
                     {"-9223372036854775809", kOutOfRange},
                     {"99999999999999999999x", kOutOfRange},
                     {"-99999999999999999999999999999999", kOutOfRange}},
                    true));
}

TEST_F(Int64Test, SecondArgumentGoesThroughTheSameParser) {
    Expect({
        Ok("pkStrCleanInt", {S("-1"), S(" +42\t")}, "42"),
        Ok("pkStrCleanInt", {S("-1"), S(kMin)}, kMin),
        Fails("pkStrCleanInt", {S("-1"), S("42\n")}, kNotANumber),
        Fails("pkStrCleanAlpha", {S("-1"), S("")}, kNotANumber),
        Fails("pkStrCleanAlpha", {S("-1"), S("9223372036854775808")}, kOutOfRange),
    });
}

TEST_F(Int64Test, NullTextIsNoNumber) {
    Expect({
        Fails("pkStrCleanAlphaNum", {Arg::Null()}, kNotANumber),
        Fails("pkStrProper", {S("5"), Arg::Null()}, kNotANumber),
    });
}

TEST_F(Int64Test, ErrnoOfZeroStaysZero) {
    errno = 0;
    host.Call("pkStrCleanAlphaNum", {S("99999999999999999999")});
    EXPECT_EQ(0, errno);
}

// Results and refusals whose text a grouping or decimal character could change.
std::vector<Case> LocaleSensitiveCases() {
    return {
        Ok("pkStrProper", {S(kMax), S("1")}, kMax),
        Ok("pkStrProper", {S(kMin), S("-1")}, kMin),
        Ok("pkStrCleanAlpha", {S("1000000"), S("0")}, "1000000"),
        Ok("pkStrCleanAlphaNum", {S("1234567")}, "-1234568"),
        Fails("pkStrCleanAlphaNum", {S("1,000")}, kNotANumber),
        Fails("pkStrCleanAlphaNum", {S("1.000")}, kNotANumber),
        Fails("pkStrCleanAlphaNum", {S("1.5")}, kNotANumber),
        Fails("pkStrProper", {S("1"), S("0")}, kDivideByZero),
    };
}

// Puts the numeric category back to what it was when the test began.
class Int64LocaleTest : public Int64Test {
protected:
    void TearDown() override { std::setlocale(LC_NUMERIC, m_strSaved.c_str()); }
    std::string m_strSaved = NumericLocale();
};

TEST_F(Int64LocaleTest, CallerLocaleWithGroupingIsRestoredAndNeverGroups) {
    const std::string strLocale = FindDifferingLocale();
    if (strLocale.empty())
        GTEST_SKIP() << "no installed locale with a grouping or decimal character other than C's";
    ASSERT_NE(nullptr, std::setlocale(LC_NUMERIC, strLocale.c_str()));
    Expect(LocaleSensitiveCases()); // each call checks the category is strLocale again
    EXPECT_EQ(strLocale, NumericLocale());
}

// Sets an environment variable for the test's length (the runtime's user default locale may
// follow it).
class ScopedEnv {
public:
    ScopedEnv(const char* pszName, const std::string& strValue) : m_strName(pszName) {
        const char* pszOld = std::getenv(pszName);
        m_strOld = m_strName + "=" + (pszOld != nullptr ? pszOld : "");
        m_strNew = m_strName + "=" + strValue;
        putenv(m_strNew.data());
    }
    ~ScopedEnv() { putenv(m_strOld.data()); }

private:
    std::string m_strName, m_strOld, m_strNew;
};

TEST_F(Int64LocaleTest, UserDefaultLocaleWithGroupingNeverGroups) {
    const std::string strLocale = FindDifferingLocale();
    ScopedEnv all("LC_ALL", "");
    ScopedEnv numeric("LC_NUMERIC", strLocale);
    const bool bDiffers = std::setlocale(LC_NUMERIC, "") != nullptr && NumericLocaleDiffersFromC();
    std::setlocale(LC_NUMERIC, "C");
    if (!bDiffers)
        GTEST_SKIP() << "the user's default numeric locale groups and separates like C";
    Expect(LocaleSensitiveCases()); // each call checks the category is "C" again
    EXPECT_EQ("C", NumericLocale());
}

} // namespace
