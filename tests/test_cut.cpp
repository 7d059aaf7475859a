// pkStrCut through the stand-in host: both modes and forms, the selection grammar, padding,
// line breaks and every failure with its detail text.
#include "HostFixture.h"

#include <string>
#include <vector>

using qvhost::Arg;
using qvhost::Outcome;

namespace {

const int32_t ROW_CUT = 9;

struct CutCase {
    std::string strType;
    std::string strSelection;
    std::string strText;
    std::string strSeparator;
    std::string strDelimiter;
    int32_t nPad;
    std::string strExpected; // the output, or the detail text of a failure
};

// CR and LF made visible in failure messages.
std::string Visible(const std::string& strText) {
    std::string out;
    for (char c : strText)
        out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
}

std::string Describe(const CutCase& c) {
    return "type \"" + c.strType + "\" selection \"" + c.strSelection + "\" text \"" +
           Visible(c.strText.substr(0, 40)) + "\" separator \"" + c.strSeparator +
           "\" delimiter \"" + c.strDelimiter + "\" pad " + std::to_string(c.nPad);
}

class CutTest : public HostTest {
protected:
    Outcome Cut(const CutCase& c) {
        return host.Call(ROW_CUT,
                         {Arg::Str(c.strSelection), Arg::Str(c.strText), Arg::Str(c.strType),
                          Arg::Str(c.strSeparator), Arg::Str(c.strDelimiter), Arg::Int(c.nPad)});
    }

    void ExpectOk(const Outcome& out, const std::string& strExpected) {
        EXPECT_EQ(1, out.nResultCalls);
        EXPECT_EQ(host.nCallbackReturn, out.nReturned);
        EXPECT_EQ(EXT_STATUS_OK, out.nStatus);
        EXPECT_TRUE(out.IsText());
        EXPECT_EQ("result(0)", Trace(host.Log()));
        EXPECT_EQ(Visible(strExpected), Visible(out.text.value_or("<null>")));
    }

    // A failure: the detail first, then message 20003 with the text-error status, once.
    void ExpectFailure(const Outcome& out, const std::string& strDetail) {
        EXPECT_EQ(1, out.nResultCalls);
        EXPECT_EQ(host.nCallbackReturn, out.nReturned);
        EXPECT_EQ(EXT_STATUS_TEXT_ERROR, out.nStatus);
        EXPECT_TRUE(out.IsText());
        EXPECT_EQ("20003: Cut Error.", out.text.value_or("<null>"));
        EXPECT_EQ("detail(" + strDetail + ")@0 result(-2)", Trace(host.Log()));
    }

    void ExpectOutputs(const std::vector<CutCase>& cases) {
        for (const CutCase& c : cases) {
            SCOPED_TRACE(Describe(c));
            ExpectOk(Cut(c), c.strExpected);
        }
    }

    void ExpectFailures(const std::vector<CutCase>& cases) {
        for (const CutCase& c : cases) {
            SCOPED_TRACE(Describe(c));
            ExpectFailure(Cut(c), c.strExpected);
        }
    }
};

const std::string CRLF = "\r\n";

std::string Spaces(size_t n) {
    return std::string(n, ' ');
}

TEST_F(CutTest, FieldModeWorkedExamples) {
    ExpectOutputs({
        {"f", "1,3", "a,b,c\r\nd,e,f", ";", "", 0, "a;c\r\nd;f\r\n"},
        {"f", "3,1", "a,b,c", ";", "", 0, "c;a\r\n"},
        {"f", "1-3", "a,b,c,d", ";", "", 0, "a;b;c\r\n"},
        {"f", "1-3j", "a,b,c,d", ";", "", 0, "ab;c\r\n"},
        {"f", "1j,3", "a,b,c,d", ";", "", 0, "ac\r\n"},
        {"f", "1,2,3", "a,b", ";", "", 0, "a;b\r\n"},
        {"f", "1,5", "a,b", ";", "", 0, "a;\r\n"},
        {"f", "2", "a::b::c", "/", "::", 0, "b\r\n"},
        {"f", "2", "a,b\r\n\r\nc,d", ";", "", 0, "b\r\n\r\nd\r\n"},
        {"f", "", "a,b,c", ";", "", 0, "\r\n"},
        {"fc", "2", "a,b,c", ";", "", 0, "ac\r\n"},
        {"fc", "1", "a,b,c,d", ";", "", 0, "b;c;d\r\n"},
        {"fc", "3", "a,b,c,d", ";", "", 0, "a;bd\r\n"},
        {"fc", "3j", "a,b,c,d", ";", "", 0, "abd\r\n"},
        {"fc", "", "a,b,c", ";", "", 0, "a;b;c\r\n"},
    });
}

TEST_F(CutTest, CharacterModeWorkedExamples) {
    ExpectOutputs({
        {"c", "1-3,5", "abcdefg\r\nhijklmn", "-", "", 0, "abc-e\r\nhij-l\r\n"},
        {"c", "1j,3,5", "abcdefg", "-", "", 0, "ac-e\r\n"},
        {"c", "1-3j,5", "abcdefg", "-", "", 0, "abc-e\r\n"},
        {"c", "5,1", "abcdefg", "-", "", 0, "e-a\r\n"},
        {"c", "1-3,5j,7,2", "abcdefg\r\nhijklmn", "<=>", "", 0, "abc<=>eg<=>b\r\nhij<=>ln<=>i\r\n"},
        {"c", "3,3", "abc", "+", "", 0, "c+c\r\n"},
        {"c", "1 - 2 , 3", "abcd", ".", "", 0, "ab.c\r\n"},
        {"cc", "2-4", "abcdefg", "-", "", 0, "aefg\r\n"},
        {"c", "2,10", "abc", "-", "", 1, "b- \r\n"},
        {"cc", "2,10", "abc", "", "", 1, "ac" + Spaces(86) + CRLF},
        {"c", "2", "ab\r\n\r\ncd", "-", "", 1, "b\r\n \r\nd\r\n"},
        {"c", "2", "", "-", "", 0, ""},
    });
    ExpectFailures({
        {"c", "10", "abc", "-", "", 0, "Cut column 10 out of bounds.  Line Length only 3."},
        {"c", "1", "ab\r\n\r\ncd", "-", "", 0, "Cut column 1 out of bounds.  Line Length only 0."},
    });
}

TEST_F(CutTest, TypeChoosesModeAndForm) {
    ExpectOutputs({
        {"fx", "2", "a,b,c", ";", "", 0, "b\r\n"},
        {"ff", "2", "a,b,c", ";", "", 0, "b\r\n"},
        {"fcx", "2", "a,b,c", ";", "", 0, "ac\r\n"},
        {"cC", "2", "abc", ";", "", 0, "b\r\n"},
        {"cc", "2", "abc", ";", "", 0, "ac\r\n"},
    });
    const std::string strType = "Cut Type must be lowercase 'c' or 'f'.";
    ExpectFailures({
        {"F", "1", "a", ";", "", 0, strType},
        {"C", "1", "a", ";", "", 0, strType},
        {"x", "1", "a", ";", "", 0, strType},
        {"", "1", "a", ";", "", 0, strType},
        {" f", "1", "a", ";", "", 0, strType},
        {"x", "0", "a", ";", "", 0, strType}, // the type is checked before the selection
    });
}

TEST_F(CutTest, SelectionGrammar) {
    ExpectOutputs({
        {"c", "1,", "abc", "-", "", 0, "a\r\n"},
        {"c", "  1 ,  3 ", "abc", "-", "", 0, "a-c\r\n"},
        {"c", "1, ", "abc", "-", "", 0, "a\r\n"},
        {"c", "2x", "abc", "-", "", 0, "b\r\n"},
        {"c", "+2", "abc", "-", "", 0, "b\r\n"},
        {"c", "\t2", "abc", "-", "", 0, "b\r\n"},
        {"c", "1-3-5", "abcdef", "-", "", 0, "abc\r\n"},
        {"c", "1J,2", "abc", "-", "", 0, "a-b\r\n"}, // an uppercase J is no join mark
        {"c", "1 j,2", "abc", "-", "", 0, "ab\r\n"},
        {"c", "1j-2,3", "abc", "-", "", 0, "ab-c\r\n"},
        {"c", "3,1-2,3", "abc", "-", "", 0, "c-ab-c\r\n"},
        {"f", "1j-2,3", "a,b,c", "-", "", 0, "ab-c\r\n"},
        {"f", "1j-2j,3", "a,b,c", "-", "", 0, "ab-c\r\n"},
        {"f", "2,2,2", "a,b,c", "-", "", 0, "b-b-b\r\n"},
        {"f", "1j", "a,b", "-", "", 0, "a\r\n"},
    });
    const std::string strRange = "Missing beginning or ending range value.";
    const std::string strOneBased = "You must use a one-based index.";
    ExpectFailures({
        {"c", "3-3", "abc", "-", "", 0, strOneBased},
        {"c", "5-3", "abcdef", "-", "", 0, strOneBased},
        {"c", "0-4", "abcdef", "-", "", 0, strOneBased},
        {"c", "0", "abc", "-", "", 0, strOneBased},
        {"c", "1--3", "abc", "-", "", 0, strOneBased},
        {"c", "-3", "abc", "-", "", 0, strRange},
        {"c", "3-", "abc", "-", "", 0, strRange},
        {"c", "1,3- ,2", "abc", "-", "", 0, strRange},
        {"c", "1,0,3-", "abc", "-", "", 0, strOneBased}, // items are read from the left
        {"f", "3-", "", "-", "", 0, strRange},           // the selection is read even for no lines
        {"c", "0", "", "-", "", 0, strOneBased},
    });
}

TEST_F(CutTest, UnreadableSelectionItems) {
    ExpectFailures({
        {"c", ",1", "abc", "-", "", 0, "Selection item 1 has no number."},
        {"c", "1,,2", "abc", "-", "", 0, "Selection item 2 has no number."},
        {"c", "1, ,2", "abc", "-", "", 0, "Selection item 2 has no number."},
        {"c", " ", "abc", "-", "", 0, "Selection item 1 has no number."},
        {"c", "j", "abc", "-", "", 0, "Selection item 1 has no number."},
        {"c", "1,x", "abc", "-", "", 0, "Selection item 2 has no number."},
        {"c", "+", "abc", "-", "", 0, "Selection item 1 has no number."},
        {"c", "j-3", "abc", "-", "", 0, "Selection item 1 has no number."},
        {"c", "1-j", "abc", "-", "", 0, "Selection item 1 has no number."},
        {"f", "1-x", "abc", "-", "", 0, "Selection item 1 has no number."},
        {"c", "2147483648", "abc", "-", "", 1, "Selection item 1 has a number out of range."},
        {"c", "1-99999999999", "abc", "-", "", 1, "Selection item 1 has a number out of range."},
        {"c", "1,2,3,x", "", "-", "", 0, "Selection item 4 has no number."},
    });
}

TEST_F(CutTest, SelectionLimits) {
    const std::string strTooMany = "Selection has more than 4999 entries.";
    const std::string strAbove = "has a number above 5000.";
    ExpectFailures({
        {"c", "1-5000", "a", "", "", 1, strTooMany},
        {"c", "1-4999,1", "a", "", "", 1, strTooMany},
        {"c", "1-2147483647", "a", "", "", 1, strTooMany},
        {"f", "1,5001", "a", "", "", 0, "Selection item 2 " + strAbove},
        {"f", "2-5001", "a", "", "", 0, "Selection item 1 " + strAbove},
        {"fc", "5001", "a", "", "", 0, "Selection item 1 " + strAbove},
        {"cc", "5001", "a", "", "", 0, "Selection item 1 " + strAbove},
    });
    ExpectOutputs({
        {"c", "1-4999", "a", "", "", 1, "a" + Spaces(4998) + CRLF},
        {"f", "5000,1", "a,b", "-", "", 0, "-a\r\n"}, // only the line's two fields count
        {"fc", "5000", "a,b", "-", "", 0, "a-b\r\n"},
        {"cc", "5000", "ab", "", "", 0, "ab\r\n"},
        {"c", "5001", "x" + Spaces(4999) + "y", "", "", 0, "y\r\n"}, // no bound here
    });
}

TEST_F(CutTest, FieldsBeyondTheLine) {
    // A field of an earlier line never shows through in a shorter one.
    ExpectOutputs({
        {"f", "3", "a,b,c\r\nd", ";", "", 0, "c\r\n\r\n"},
        {"f", "1,3", "a,b,c\r\nd,e", ";", "", 0, "a;c\r\nd;\r\n"},
        {"fc", "1", "a,b,c\r\nd", ";", "", 0, "b;c\r\n\r\n"},
        {"f", "2,1", "a", ";", "", 0, "\r\n"}, // one field: only the first entry is written
    });
}

TEST_F(CutTest, ComplementFieldsAndJoinMarks) {
    ExpectOutputs({
        {"fc", "4,1", "a,b,c,d,e", ";", "", 0, "b;ce\r\n"},
        {"fc", "4,1j", "a,b,c,d,e", ";", "", 0, "bce\r\n"}, // entry 2's mark acts on field 2
        {"fc", "1-5", "a,b,c,d,e", ";", "", 0, "\r\n"},
        {"fc", "2", "a,b,c\r\n\r\nx", ";", "", 0, "ac\r\n\r\nx\r\n"},
        {"fc", "1", "a,b,c", "<>", "", 0, "b<>c\r\n"},
    });
}

TEST_F(CutTest, Delimiters) {
    ExpectOutputs({
        {"f", "2", "a;b,c;d", "|", ";", 0, "b,c\r\n"},
        {"f", "2,3", "a::b:::c", "|", "::", 0, "b|:c\r\n"},
        {"f", "2", "xaaay", "|", "aa", 0, "ay\r\n"},    // matches do not overlap
        {"f", "2", "abababc", "|", "ababc", 0, "\r\n"}, // a match after a false start
        {"f", "1,2", "abababc", "|", "ababc", 0, "ab|\r\n"},
        {"f", "1", "a b", "|", " ", 0, "a\r\n"},
        {"f", "2", "a,b", "|", "a,b,c", 0, "\r\n"}, // longer than the line
    });
}

TEST_F(CutTest, LineBreaks) {
    ExpectOutputs({
        {"f", "2", "a,b\nc,d\n", ";", "", 0, "b\r\nd\r\n"},
        {"f", "2", "a,b\rc,d\r", ";", "", 0, "b\r\nd\r\n"},
        {"f", "2", "a,b\r\n", ";", "", 0, "b\r\n"},
        {"f", "2", "\r\na,b", ";", "", 0, "\r\nb\r\n"},
        {"f", "2", "a,b\nc\r\nd,e\rf,g", ";", "", 0, "b\nc\r\ne\r\ng\r\n"},
        {"cc", "", "ab\r\n\r\ncd\r\n", "-", "", 0, "ab\r\n\r\ncd\r\n"},
        {"c", "", "ab\r\n\r\ncd", "-", "", 0, "\r\n\r\n\r\n"},
        {"f", "", "\r\n\r\n", "-", "", 0, "\r\n\r\n"},
        {"f", "1", "", ";", "", 0, ""},
        {"fc", "1", "", ";", "", 0, ""},
        {"cc", "1", "", ";", "", 1, ""},
    });
}

TEST_F(CutTest, Lengthening) {
    ExpectOutputs({
        {"c", "1000", "abc", "-", "", 1, " \r\n"},
        {"c", "10000000", "abc", "-", "", 1, " \r\n"},
        {"c", "3,1", "abc", "-", "", 1, "c-a\r\n"},
        {"cc", "100", "a", "", "", 1, "a" + Spaces(173) + CRLF}, // two blocks of 87
        {"cc", "1", "abc", "", "", 1, "bc\r\n"},                 // long enough already
        {"cc", "", "ab\r\n\r\ncd", "", "", 1, "ab\r\n" + Spaces(87) + CRLF + "cd\r\n"},
        {"cc", "2", "\r\n", "", "", 1, Spaces(86) + CRLF},
        {"f", "3", "a,b", "-", "", 1, "\r\n"}, // no effect on fields
    });
    ExpectFailures({
        {"c", "5", "abc", "-", "", 2, "Cut column 5 out of bounds.  Line Length only 3."},
        {"c", "5", "abc", "-", "", -1, "Cut column 5 out of bounds.  Line Length only 3."},
        // the first offending entry of the first offending line
        {"c", "1,5,9", "abcdef\r\nab", "-", "", 0,
         "Cut column 9 out of bounds.  Line Length only 6."},
    });
}

TEST_F(CutTest, LengtheningHasABound) {
    ExpectFailures({
        {"c", "2147483647", "abc", "-", "", 1,
         "Line 1 cannot be lengthened beyond 67108864 characters."},
        {"c", "67108864", "ab\r\n", "-", "", 1,
         "Line 1 cannot be lengthened beyond 67108864 characters."},
        {"c", "1,2147483647", std::string(10, 'x') + "\r\nab", "-", "", 0,
         "Cut column 2147483647 out of bounds.  Line Length only 10."},
    });
    // The bound counts the lengthened line: whole blocks of 87 from the line's length.
    ExpectOk(Cut({"c", "67108800", "ab", "", "", 1, ""}), " \r\n");
}

TEST_F(CutTest, LinesBeyondTheTables) {
    std::string strFields(4999, ',');
    ExpectOutputs({{"f", "5000", "a\r\n" + strFields + "z", "", "", 0, "\r\nz\r\n"}});
    ExpectFailures({
        {"f", "1", "a\r\n" + strFields + ",z", "", "", 0, "Line 2 has more than 5000 fields."},
        {"fc", "1", strFields + ",", "", "", 0, "Line 1 has more than 5000 fields."},
        {"cc", "1", "ab\r\n" + std::string(5001, 'x'), "", "", 0,
         "Line 2 is longer than 5000 characters."},
        {"cc", "4990", "abc", "", "", 1, "Line 1 is longer than 5000 characters."},
    });
    ExpectOutputs({
        {"cc", "1", std::string(5000, 'x'), "", "", 0, std::string(4999, 'x') + CRLF},
        {"cc", "4900", "abc", "", "", 1, "abc" + Spaces(4958) + CRLF}, // 57 blocks: 4962
    });
}

TEST_F(CutTest, MissingTextsReadAsEmpty) {
    auto call = [&](Arg selection, Arg text, Arg type, Arg separator, Arg delimiter) {
        return host.Call(ROW_CUT, {selection, text, type, separator, delimiter, Arg::Int(0)});
    };
    ExpectOk(call(Arg::Null(), Arg::Str("a,b"), Arg::Str("f"), Arg::Str(";"), Arg::Null()), "\r\n");
    ExpectOk(call(Arg::Str("2"), Arg::Null(), Arg::Str("f"), Arg::Str(";"), Arg::Null()), "");
    ExpectOk(call(Arg::Str("1,2"), Arg::Str("a,b"), Arg::Str("f"), Arg::Null(), Arg::Null()),
             "ab\r\n");
    ExpectFailure(call(Arg::Str("1"), Arg::Str("a"), Arg::Null(), Arg::Str(";"), Arg::Null()),
                  "Cut Type must be lowercase 'c' or 'f'.");
    // Omitted optional arguments: the comma delimiter, no lengthening.
    ExpectOk(host.Call(ROW_CUT, {Arg::Str("2"), Arg::Str("a,b"), Arg::Str("f"), Arg::Str(";")}),
             "b\r\n");
}

TEST_F(CutTest, ManyLines) {
    // Pairs of records joined by a lone LF, which stays inside the line as CR LF ends it.
    std::string strText, strFields, strColumns;
    for (int i = 0; i < 20000; i += 2) {
        const std::string a = std::to_string(100000 + i), b = std::to_string(100001 + i);
        const std::string strLine = a + ",x," + a + "\n" + b + ",x," + b;
        strText += strLine + CRLF;
        strFields += a + ";" + a + "\n" + b + CRLF;
        strColumns += strLine.substr(0, 1) + "-" + strLine.substr(19, 1) + CRLF;
    }
    ExpectOk(Cut({"f", "1,3", strText, ";", "", 0, ""}), strFields);
    ExpectOk(Cut({"c", "1,20", strText, "-", "", 0, ""}), strColumns);
}

} // namespace
