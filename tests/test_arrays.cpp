// The array functions through the stand-in host: pkArrayFromStrCSV (row 0), pkArrayToStrCSV (row
// 1), pkArrInitialize (row 2), with the rules for open cases. Traces show every service call with
// the result record's nType at that moment: @100 is EXT_MARK_ARRAY_WRITE, @200
// EXT_MARK_ARRAY_READ, @7 the host's own value that the module must leave alone.
#include "HostFixture.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

using qvhost::Arg;
using qvhost::Event;
using qvhost::LogEntry;
using qvhost::Outcome;

namespace {

enum { ROW_FROM_CSV = 0, ROW_TO_CSV = 1, ROW_INITIALIZE = 2 };

const int32_t kHostType = 7; // the result record's nType before the call
const int32_t kHostValue = 77;
const uint32_t kHostReserved = 0xABCD;
const char kSubscriptDetail[] = "Your subscript value is greater than the array dimensions.";
const char kSubscriptMessage[] = "20000: Array subscript out of bounds.";

typedef std::vector<std::vector<std::optional<std::string>>> Cells;

class ArraysTest : public HostTest {
protected:
    // Runs a row with a result record that holds the host's own values.
    Outcome Run(int32_t nRow, const std::vector<Arg>& args) {
        ExtValue initial{};
        initial.nType = kHostType;
        initial.nValue = kHostValue;
        initial.dwReserved = kHostReserved;
        const Outcome outcome = host.Call(nRow, args, &initial);
        CheckCall(outcome);
        return outcome;
    }

    // What holds for every call: one result callback, last; the marks, sizes, operations and
    // subscripts at every service call.
    void CheckCall(const Outcome& outcome) {
        const std::vector<LogEntry>& log = host.Log();
        ExpectOneResultLast(host, outcome);
        for (size_t i = 0; i < log.size(); ++i) {
            const LogEntry& e = log[i];
            SCOPED_TRACE("log entry " + std::to_string(i));
            switch (e.event) {
            case Event::ArrayCreate:
                EXPECT_EQ(EXT_MARK_ARRAY_WRITE, e.nResultType);
                EXPECT_EQ(40, e.nRecordSize);
                EXPECT_EQ(20, e.nBufferBytes);
                EXPECT_EQ(EXT_OP_SET, e.nOp);
                EXPECT_GE(e.anSubs[0], 0);
                EXPECT_GE(e.anSubs[1], 0);
                EXPECT_EQ(0, e.anSubs[2]);
                EXPECT_EQ(0, e.anSubs[3]);
                EXPECT_EQ(0, e.anSubs[4]);
                break;
            case Event::ArrayQuery:
                EXPECT_EQ(kHostType, e.nResultType); // no mark before a query
                EXPECT_EQ(40, e.nRecordSize);
                EXPECT_EQ(32, e.nBufferBytes);
                EXPECT_EQ(EXT_OP_GET, e.nOp);
                break;
            case Event::ElementWrite:
            case Event::ElementRead: {
                const bool bWrite = e.event == Event::ElementWrite;
                EXPECT_EQ(bWrite ? EXT_MARK_ARRAY_WRITE : EXT_MARK_ARRAY_READ, e.nResultType);
                EXPECT_EQ(EXT_VALUE_STRING, e.nValueType);
                EXPECT_EQ(40, e.nRecordSize);
                EXPECT_EQ(bWrite ? EXT_OP_SET : EXT_OP_GET, e.nOp);
                EXPECT_EQ(0, e.anSubs[2]);
                EXPECT_EQ(0, e.anSubs[3]);
                EXPECT_EQ(0, e.anSubs[4]);
                if (bWrite) {
                    EXPECT_FALSE(e.bNullText);
                }
                break;
            }
            case Event::ErrorDetail:
                EXPECT_EQ(kHostType, e.nResultType); // no mark before a detail either
                break;
            case Event::Result:
                EXPECT_EQ(log.size() - 1, i);
                break;
            case Event::SetVariable:
                ADD_FAILURE() << "no variable is set";
                break;
            }
        }
    }

    // No element call outside the array that the host knows.
    void ExpectInside() {
        for (const LogEntry& e : host.Log()) {
            if (e.event == Event::ElementRead || e.event == Event::ElementWrite) {
                EXPECT_FALSE(e.bOutOfBounds) << e.anSubs[0] << "," << e.anSubs[1];
            }
        }
    }

    void ExpectArrayResult(const Outcome& outcome) {
        EXPECT_EQ(EXT_STATUS_OK, outcome.nStatus);
        EXPECT_EQ(qvhost::HOST_ARRAY_TYPE, outcome.result.nType);
        EXPECT_EQ(kHostValue, outcome.result.nValue); // ReturnRecord leaves nValue
        EXPECT_EQ(kHostReserved, outcome.result.dwReserved);
    }

    void ExpectError(const Outcome& outcome, int32_t nStatus, const char* pszMessage) {
        EXPECT_EQ(nStatus, outcome.nStatus);
        EXPECT_TRUE(outcome.IsText());
        EXPECT_EQ(pszMessage, outcome.text.value_or("(null)"));
    }
};

// ---------------------------------------------------------------------------------------------
// pkArrayFromStrCSV

struct FromCase {
    const char* name;
    std::string text;
    std::vector<Arg> more; // arguments 1 to 4 as given; the host supplies the rest
    std::string trace;
};

std::vector<Arg> Opts(int32_t nTrim) {
    return {Arg::Int(nTrim)};
}
std::vector<Arg> Opts(int32_t nTrim, const char* pszDelim) {
    return {Arg::Int(nTrim), Arg::Str(pszDelim)};
}
std::vector<Arg> Opts(int32_t nTrim, const char* pszDelim, int32_t nRows, int32_t nCols) {
    return {Arg::Int(nTrim), Arg::Str(pszDelim), Arg::Int(nRows), Arg::Int(nCols)};
}

const FromCase kFromCases[] = {
    // Worked examples.
    {"two lines", "a,b,c\r\nd,e,f\r\n", Opts(0),
     "create(2x3)@100 write(0,0)=a@100 write(0,1)=b@100 write(0,2)=c@100 write(1,0)=d@100 "
     "write(1,1)=e@100 write(1,2)=f@100 result(0)"},
    {"last line without a break", "a,b\r\nc,d", Opts(0),
     "create(1x2)@100 write(0,0)=a@100 write(0,1)=b@100 result(0)"},
    {"no line break", "a,b,c", Opts(0), "create(0x3)@100 result(0)"},
    {"quoted delimiter in the first line", "\"a,b\",c\r\n", Opts(0),
     "create(1x3)@100 write(0,0)=a,b@100 write(0,1)=c@100 result(0)"},
    {"quote inside a field", "x\"y,z\",w\r\n", Opts(0),
     "create(1x3)@100 write(0,0)=x\"y,z\"@100 write(0,1)=w@100 result(0)"},
    {"spaces trimmed", "   ,b\r\n", Opts(0),
     "create(1x2)@100 write(0,0)= @100 write(0,1)=b@100 result(0)"},
    {"spaces kept", "   ,b\r\n", Opts(1),
     "create(1x2)@100 write(0,0)=   @100 write(0,1)=b@100 result(0)"},
    {"empty elements", "a,\r\n\r\n", Opts(0),
     "create(2x2)@100 write(0,0)=a@100 write(0,1)=@100 write(1,0)=@100 result(0)"},
    {"two-character delimiter", "a::b\r\n", Opts(0, "::"),
     "create(1x2)@100 write(0,0)=a@100 write(0,1)=b@100 result(0)"},
    {"extra rows without extra columns", "a,b\r\n", Opts(0, "", 2, 0),
     "create(1x2)@100 write(0,0)=a@100 write(0,1)=b@100 result(0)"},
    {"extra rows with extra columns", "a,b\r\n", Opts(0, "", 2, 1),
     "create(3x3)@100 write(0,0)=a@100 write(0,1)=b@100 result(0)"},
    {"LF line breaks", "a\nb\n", Opts(0),
     "create(2x1)@100 write(0,0)=a@100 write(1,0)=b@100 result(0)"},

    // Edge cases.
    {"empty text", "", Opts(0), "create(0x1)@100 result(0)"},
    {"empty text with extras", "", Opts(0, "", 4, 2), "create(4x3)@100 result(0)"},
    {"no delimiter anywhere", "\"one\"\r\n two \r\n", Opts(0),
     "create(2x1)@100 write(0,0)=one@100 write(1,0)=two@100 result(0)"},
    {"no delimiter, trim option 1", "\"one\"\r\n two \r\n", Opts(1),
     "create(2x1)@100 write(0,0)=one@100 write(1,0)= two @100 result(0)"},
    {"empty delimiter is a comma", "a,b\r\n", Opts(0, ""),
     "create(1x2)@100 write(0,0)=a@100 write(0,1)=b@100 result(0)"},
    {"omitted delimiter is a comma", "a,b;c\r\n", Opts(0),
     "create(1x2)@100 write(0,0)=a@100 write(0,1)=b;c@100 result(0)"},
    {"other delimiter", "a,b;c\r\n", Opts(0, ";"),
     "create(1x2)@100 write(0,0)=a,b@100 write(0,1)=c@100 result(0)"},
    {"delimiter matched case and all", "aXbxc\r\n", Opts(0, "x"),
     "create(1x2)@100 write(0,0)=aXb@100 write(0,1)=c@100 result(0)"},
    {"spaces only", "     \r\n", Opts(0), "create(1x1)@100 write(0,0)= @100 result(0)"},
    {"spaces only, kept", "     \r\n", Opts(1), "create(1x1)@100 write(0,0)=     @100 result(0)"},
    {"quotes stripped before trimming", "\" a \",b\r\n", Opts(0),
     "create(1x2)@100 write(0,0)=a@100 write(0,1)=b@100 result(0)"},
    {"space before the opening quote keeps the quotes", " \"a\",b\r\n", Opts(0),
     "create(1x2)@100 write(0,0)=\"a\"@100 write(0,1)=b@100 result(0)"},
    {"line ending in the delimiter", "a,b,\r\n", Opts(0),
     "create(1x3)@100 write(0,0)=a@100 write(0,1)=b@100 write(0,2)=@100 result(0)"},
    {"quotes not unescaped", "\"a\"\"b\",c\r\n", Opts(0),
     "create(1x2)@100 write(0,0)=a\"\"b@100 write(0,1)=c@100 result(0)"},
    {"a lone double quote before the delimiter closes", "\",x\r\n", Opts(0),
     "create(1x2)@100 write(0,0)=@100 write(0,1)=x@100 result(0)"},
    {"a field of one double quote", "a,\",\"\r\n", Opts(0),
     "create(1x3)@100 write(0,0)=a@100 write(0,1)=@100 write(0,2)=@100 result(0)"},
    {"quoted delimiter in a later line", "a,b\r\n\"c,d\",e\r\n", Opts(0),
     "create(2x2)@100 write(0,0)=a@100 write(0,1)=b@100 write(1,0)=c,d@100 write(1,1)=e@100 "
     "result(0)"},
    {"quoted two-character delimiter", "\"a::b\"::c\r\n", Opts(0, "::"),
     "create(1x3)@100 write(0,0)=a::b@100 write(0,1)=c@100 result(0)"},
    {"delimiters do not overlap", "a:::b\r\n", Opts(0, "::"),
     "create(1x2)@100 write(0,0)=a@100 write(0,1)=:b@100 result(0)"},
    {"closing quote searched from the field's start", "\"a\" ,\"b\",c\r\n", Opts(0),
     "create(1x3)@100 write(0,0)=a\" ,\"b@100 write(0,1)=c@100 result(0)"},
    {"tabs are not trimmed", "\ta\t, b \r\n", Opts(0),
     "create(1x2)@100 write(0,0)=\ta\t@100 write(0,1)=b@100 result(0)"},
    {"trim option 2 trims", " a ,b\r\n", Opts(2),
     "create(1x2)@100 write(0,0)=a@100 write(0,1)=b@100 result(0)"},
    {"trim option -1 trims", " a ,b\r\n", Opts(-1),
     "create(1x2)@100 write(0,0)=a@100 write(0,1)=b@100 result(0)"},
    {"CR line breaks", "a,b\rc,d\r", Opts(0),
     "create(2x2)@100 write(0,0)=a@100 write(0,1)=b@100 write(1,0)=c@100 write(1,1)=d@100 "
     "result(0)"},

    // A quoted field without a closing double quote before a delimiter is the rest of the
    // line when that rest ends with a double quote; otherwise it ends at the next delimiter,
    // quotes kept, and the line's other fields are still read.
    {"unclosed quoted last field holding the delimiter", "a,\"b,c\r\n", Opts(0),
     "create(1x3)@100 write(0,0)=a@100 write(0,1)=\"b@100 write(0,2)=c@100 result(0)"},
    {"quoted last field holding the delimiter", "name,\"Smith, John\"\r\n", Opts(0),
     "create(1x3)@100 write(0,0)=name@100 write(0,1)=Smith, John@100 result(0)"},
    {"quoted last field in every line", "id,comment\r\n1,\"late, again\"\r\n", Opts(0),
     "create(2x2)@100 write(0,0)=id@100 write(0,1)=comment@100 write(1,0)=1@100 "
     "write(1,1)=late, again@100 result(0)"},
    {"quoted last field, spaces kept", "a,\" b, c \"\r\n", Opts(1),
     "create(1x3)@100 write(0,0)=a@100 write(0,1)= b, c @100 result(0)"},
    {"quote inside a last field", "a,x\"y,z\"\r\n", Opts(0),
     "create(1x3)@100 write(0,0)=a@100 write(0,1)=x\"y,z\"@100 result(0)"},
    {"two quoted fields", "\"a,b\",\"c,d\"\r\n", Opts(0),
     "create(1x4)@100 write(0,0)=a,b@100 write(0,1)=c,d@100 result(0)"},
    {"quoted last field with a two-character delimiter", "a::\"b::c\"\r\n", Opts(0, "::"),
     "create(1x3)@100 write(0,0)=a@100 write(0,1)=b::c@100 result(0)"},
    {"inch mark in an unquoted field", "12\" pipe,5\r\n", Opts(0),
     "create(1x2)@100 write(0,0)=12\" pipe@100 write(0,1)=5@100 result(0)"},
    {"spaces between closing quote and delimiter", "\"a\" ,b\r\n", Opts(0),
     "create(1x2)@100 write(0,0)=\"a\"@100 write(0,1)=b@100 result(0)"},
    {"spaces between closing quote and delimiter, kept", "\"a\" ,b\r\n", Opts(1),
     "create(1x2)@100 write(0,0)=\"a\" @100 write(0,1)=b@100 result(0)"},
    {"unclosed quote with a two-character delimiter", "\"a::b::c\r\n", Opts(0, "::"),
     "create(1x3)@100 write(0,0)=\"a@100 write(0,1)=b@100 write(0,2)=c@100 result(0)"},

    // No field outside the array; well-formed text keeps the counted dimensions.
    {"later line with more fields", "a,b\r\nc,d,e,f\r\n", Opts(0),
     "create(2x4)@100 write(0,0)=a@100 write(0,1)=b@100 write(1,0)=c@100 write(1,1)=d@100 "
     "write(1,2)=e@100 write(1,3)=f@100 result(0)"},
    {"later line with more fields and extra columns", "a,b\r\nc,d,e,f\r\n", Opts(0, "", 0, 1),
     "create(2x4)@100 write(0,0)=a@100 write(0,1)=b@100 write(1,0)=c@100 write(1,1)=d@100 "
     "write(1,2)=e@100 write(1,3)=f@100 result(0)"},
    {"later line with fewer fields", "a,b,c\r\nd\r\n", Opts(0),
     "create(2x3)@100 write(0,0)=a@100 write(0,1)=b@100 write(0,2)=c@100 write(1,0)=d@100 "
     "result(0)"},
    {"lone CR among CR LF makes an uncounted line", "a\r\nb\rc\r\n", Opts(0),
     "create(3x1)@100 write(0,0)=a@100 write(1,0)=b@100 write(2,0)=c@100 result(0)"},
    {"uncounted lines within the extra rows", "a\r\nb\rc\r\n", Opts(0, "", 5, 1),
     "create(7x2)@100 write(0,0)=a@100 write(1,0)=b@100 write(2,0)=c@100 result(0)"},
    {"lone LF among CR LF stays in its line", "a\r\nb\nc\r\n", Opts(0),
     "create(2x1)@100 write(0,0)=a@100 write(1,0)=b\nc@100 result(0)"},
    {"negative extra rows never cut a line", "a,b\r\nc,d\r\n", Opts(0, "", -5, 1),
     "create(2x3)@100 write(0,0)=a@100 write(0,1)=b@100 write(1,0)=c@100 write(1,1)=d@100 "
     "result(0)"},
    {"negative extra rows ignored without extra columns", "a\r\n", Opts(0, "", -5, 0),
     "create(1x1)@100 write(0,0)=a@100 result(0)"},
    {"negative extra rows shrink to the lines", "a\r\nb\r\nc", Opts(0, "", -1, 1),
     "create(2x2)@100 write(0,0)=a@100 write(1,0)=b@100 result(0)"},
    {"negative extra columns never cut a field", "a,b,c\r\n", Opts(0, "", 0, -2),
     "create(1x3)@100 write(0,0)=a@100 write(0,1)=b@100 write(0,2)=c@100 result(0)"},
    {"negative extras without lines give 0 x 0", "a,b", Opts(0, "", -3, -9),
     "create(0x0)@100 result(0)"},
    {"negative extras on the empty text", "", Opts(0, "", -1, -1), "create(0x0)@100 result(0)"},
    {"smallest extras", "a\r\n", Opts(0, "", INT32_MIN, INT32_MIN),
     "create(1x1)@100 write(0,0)=a@100 result(0)"},
    {"largest extra columns, clamped", "a,b,c", Opts(0, "", 0, INT32_MAX),
     "create(0x2147483647)@100 result(0)"},
    {"unused column of a quoted delimiter is kept", "\"a,b\",c\r\nd,e\r\n", Opts(0),
     "create(2x3)@100 write(0,0)=a,b@100 write(0,1)=c@100 write(1,0)=d@100 write(1,1)=e@100 "
     "result(0)"},
};

class FromCsvTest : public ArraysTest, public ::testing::WithParamInterface<FromCase> {};

TEST_P(FromCsvTest, Case) {
    const FromCase& c = GetParam();
    std::vector<Arg> args{Arg::Str(c.text)};
    args.insert(args.end(), c.more.begin(), c.more.end());
    const Outcome outcome = Run(ROW_FROM_CSV, args);
    EXPECT_EQ(c.trace, Trace(host.Log()));
    ExpectArrayResult(outcome);
    ExpectInside();
    // The result names the array that the create made, of the created size.
    const LogEntry& create = host.Log().front();
    ASSERT_EQ(Event::ArrayCreate, create.event);
    if (create.nHandle >= 0) {
        EXPECT_EQ(create.nHandle, outcome.nArrayHandle);
        EXPECT_EQ(create.anSubs[0], host.GetArray(outcome.nArrayHandle).nRows);
        EXPECT_EQ(create.anSubs[1], host.GetArray(outcome.nArrayHandle).nCols);
    }
}

// Test names from the cases' names: "3_no_line_break".
struct CaseName {
    template <class Info> std::string operator()(const Info& info) const {
        std::string s = std::to_string(info.index) + "_";
        for (const char* p = info.param.name; *p != '\0'; ++p)
            s += (std::isalnum(static_cast<unsigned char>(*p)) != 0) ? *p : '_';
        return s;
    }
};

INSTANTIATE_TEST_SUITE_P(Examples, FromCsvTest, ::testing::ValuesIn(kFromCases), CaseName());

TEST_F(ArraysTest, FromCsvWithNullTexts) {
    // A host that hands null texts: the empty text and the default delimiter.
    Run(ROW_FROM_CSV, {Arg::Null(), Arg::Int(0), Arg::Null()});
    EXPECT_EQ("create(0x1)@100 result(0)", Trace(host.Log()));
    Run(ROW_FROM_CSV, {Arg::Str("a,b\r\n"), Arg::Int(0), Arg::Null()});
    EXPECT_EQ("create(1x2)@100 write(0,0)=a@100 write(0,1)=b@100 result(0)", Trace(host.Log()));
}

TEST_F(ArraysTest, FromCsvRefusedCreate) {
    // The host refuses the create: the writes still go out, the call still ends OK, and the
    // result is the array record as the module made it (nothing of the host's).
    host.hostility.bRefuseCreate = true;
    const Outcome outcome = Run(ROW_FROM_CSV, {Arg::Str("a,b\r\n"), Arg::Int(0)});
    EXPECT_EQ("create(1x2)@100 write(0,0)=a@100 write(0,1)=b@100 result(0)", Trace(host.Log()));
    EXPECT_EQ(EXT_STATUS_OK, outcome.nStatus);
    EXPECT_EQ(0, outcome.result.nType);
    EXPECT_EQ(-1, outcome.nArrayHandle);
}

TEST_F(ArraysTest, FromCsvHugeExtraRows) {
    // Sizes beyond what the host holds: clamped, refused by the host, no crash.
    const Outcome outcome = Run(ROW_FROM_CSV, {Arg::Str("a\r\n"), Arg::Int(0), Arg::Str(","),
                                               Arg::Int(INT32_MAX), Arg::Int(1)});
    EXPECT_EQ("create(2147483647x2)@100 write(0,0)=a@100 result(0)", Trace(host.Log()));
    EXPECT_EQ(EXT_STATUS_OK, outcome.nStatus);
}

TEST_F(ArraysTest, FromCsvLongLineOfFields) {
    // Many fields on one line, with and without a double quote in every field: linear work,
    // every field written in order.
    for (const char* pszField : {"ab", "a\"b", "\"x\""}) {
        std::string text;
        const int nFields = 5000;
        for (int k = 0; k < nFields; ++k)
            text += std::string(k ? "," : "") + pszField;
        text += "\r\n";
        Run(ROW_FROM_CSV, {Arg::Str(text), Arg::Int(0)});
        const std::vector<LogEntry>& log = host.Log();
        ASSERT_EQ(static_cast<size_t>(nFields) + 2, log.size());
        EXPECT_EQ(1, log[0].anSubs[0]);
        EXPECT_EQ(nFields, log[0].anSubs[1]);
        const std::string expected = std::string(pszField) == "\"x\"" ? "x" : pszField;
        for (int k = 0; k < nFields; ++k) {
            EXPECT_EQ(k, log[k + 1].anSubs[1]);
            EXPECT_EQ(expected, log[k + 1].text);
        }
    }
}

// The algorithm's steps taken literally (erase from the front, search the whole rest), with
// the rules for open cases; quadratic, for short random texts only.
struct Reference {
    int32_t nRows = 0, nCols = 0;
    std::vector<std::string> writes; // "write(r,k)=text@100"
};

std::string RefStrip(const std::string& s) {
    if (!s.empty() && s.front() == '"' && s.back() == '"')
        return s.size() > 1 ? s.substr(1, s.size() - 2) : std::string();
    return s;
}

std::string RefTrim(std::string s) {
    while (s.size() > 1 && s.front() == ' ')
        s.erase(0, 1);
    while (s.size() > 1 && s.back() == ' ')
        s.pop_back();
    return s;
}

Reference RefFromCsv(std::string text, int32_t nTrim, std::string delim, int32_t nExtraRows,
                     int32_t nExtraCols) {
    const std::string::size_type npos = std::string::npos;
    if (delim.empty())
        delim = ",";
    std::string brk;
    if (text.find("\r\n") != npos)
        brk = "\r\n";
    else if (text.find('\r') != npos)
        brk = "\r";
    else if (text.find('\n') != npos)
        brk = "\n";
    int64_t n = 0;
    for (size_t pos = brk.empty() ? npos : text.find(brk); pos != npos;
         pos = text.find(brk, pos + 1)) {
        text.replace(pos, brk.size(), "\r");
        ++n;
    }
    const size_t nFirstCr = text.find('\r');
    int64_t c = 1;
    for (size_t pos = text.find(delim); pos != npos && (nFirstCr == npos || pos < nFirstCr);
         pos = text.find(delim, pos + delim.size()))
        ++c;
    Reference ref;
    int64_t nLines = 0, nMost = 0;
    std::string rest = text;
    for (size_t cr; (cr = rest.find('\r')) != npos; ++nLines) {
        std::string line = rest.substr(0, cr);
        rest.erase(0, cr + 1);
        for (int64_t k = 0;; ++k) {
            size_t p = line.find(delim);
            std::string field;
            if (p != npos && line.find('"') < p) {
                const size_t q = line.find("\"" + delim);
                if (q != npos)
                    p = q + 1;
                else if (line.back() == '"')
                    p = npos; // the line's end closes the field
            }
            field = p == npos ? line : line.substr(0, p);
            field = RefStrip(field);
            if (nTrim != 1)
                field = RefTrim(field);
            ref.writes.push_back("write(" + std::to_string(nLines) + "," + std::to_string(k) +
                                 ")=" + field + "@100");
            if (p == npos) {
                nMost = std::max(nMost, k + 1);
                break;
            }
            line.erase(0, p + delim.size());
        }
    }
    int64_t nRows = n + (nExtraCols != 0 ? nExtraRows : 0);
    int64_t nCols = c + nExtraCols;
    nRows = std::min<int64_t>(std::max({nRows, nLines, int64_t(0)}), INT32_MAX);
    nCols = std::min<int64_t>(std::max({nCols, nMost, int64_t(0)}), INT32_MAX);
    ref.nRows = static_cast<int32_t>(nRows);
    ref.nCols = static_cast<int32_t>(nCols);
    return ref;
}

TEST_F(ArraysTest, FromCsvMatchesTheLiteralSteps) {
    std::mt19937 random(20000);
    const char kAlphabet[] = "ab,;:\" \r\n";
    const char* const kDelimiters[] = {"",  ",",  ";",   "::",  ":,", "\"", "\"\"", ",\"",
                                       "a", "aa", "aba", ",\r", "\n", " ",  "a:a"};
    for (int nCase = 0; nCase < 3000; ++nCase) {
        std::string text;
        const int nLength = static_cast<int>(random() % 40);
        for (int i = 0; i < nLength; ++i)
            text += kAlphabet[random() % (sizeof(kAlphabet) - 1)];
        const std::string delim = kDelimiters[random() % (sizeof(kDelimiters) / sizeof(char*))];
        const int32_t nTrim = static_cast<int32_t>(random() % 3);
        const int32_t nExtraRows = static_cast<int32_t>(random() % 7) - 3;
        const int32_t nExtraCols = static_cast<int32_t>(random() % 7) - 3;
        const Reference ref = RefFromCsv(text, nTrim, delim, nExtraRows, nExtraCols);
        std::string expected =
            "create(" + std::to_string(ref.nRows) + "x" + std::to_string(ref.nCols) + ")@100";
        for (const std::string& w : ref.writes)
            expected += " " + w;
        expected += " result(0)";
        const Outcome outcome = Run(ROW_FROM_CSV, {Arg::Str(text), Arg::Int(nTrim), Arg::Str(delim),
                                                   Arg::Int(nExtraRows), Arg::Int(nExtraCols)});
        ASSERT_EQ(expected, Trace(host.Log()))
            << "case " << nCase << " text [" << text << "] delimiter [" << delim << "]";
        ExpectInside();
        ExpectArrayResult(outcome);
    }
}

// ---------------------------------------------------------------------------------------------
// pkArrayToStrCSV

struct ToCase {
    const char* name;
    int32_t nRows, nCols;
    Cells cells;
    std::vector<Arg> more; // arguments 1 to 3 as given
    std::string expected;
};

const std::optional<std::string> kNone;

// clang-format off
const ToCase kToCases[] = {
    // Worked examples.
    {"default", 2, 2, {{"a", "b"}, {"c", kNone}}, {}, "\"a\",\"b\"\r\n\"c\",\"\"\r\n"},
    {"bare with semicolon", 2, 2, {{"a", "b"}, {"c", "d"}},
     {Arg::Str(";"), Arg::Int(0), Arg::Int(2)}, "a;b\r\nc;d\r\n"},
    {"quotes inside not escaped", 1, 1, {{"say \"hi\""}}, {}, "\"say \"hi\"\"\r\n"},
    {"rows without columns", 2, 0, {}, {}, "\r\n\r\n"},
    {"no rows", 0, 3, {}, {}, ""},
    {"no rows, no columns", 0, 0, {}, {}, ""},
    // Its edge cases.
    {"quote option 0", 1, 2, {{"a", "b"}}, {Arg::Str(","), Arg::Int(0), Arg::Int(0)},
     "\"a\",\"b\"\r\n"},
    {"quote option 1", 1, 2, {{"a", "b"}}, {Arg::Str(","), Arg::Int(0), Arg::Int(1)},
     "\"a\",\"b\"\r\n"},
    {"quote option 3", 1, 2, {{"a", "b"}}, {Arg::Str(","), Arg::Int(0), Arg::Int(3)},
     "\"a\",\"b\"\r\n"},
    {"quote option -2", 1, 2, {{"a", "b"}}, {Arg::Str(","), Arg::Int(0), Arg::Int(-2)},
     "\"a\",\"b\"\r\n"},
    {"element without text, bare", 1, 3, {{"a", kNone, "c"}},
     {Arg::Str(","), Arg::Int(0), Arg::Int(2)}, "a,,c\r\n"},
    {"element without text, quoted", 1, 3, {{kNone, kNone, kNone}}, {},
     "\"\",\"\",\"\"\r\n"},
    {"empty delimiter is a comma", 1, 2, {{"a", "b"}}, {Arg::Str("")}, "\"a\",\"b\"\r\n"},
    {"null delimiter is a comma", 1, 2, {{"a", "b"}}, {Arg::Null()}, "\"a\",\"b\"\r\n"},
    {"argument 2 never read", 1, 2, {{"a", "b"}}, {Arg::Str("|"), Arg::Int(12345), Arg::Int(2)},
     "a|b\r\n"},
    {"long delimiter", 2, 3, {{"1", "2", "3"}, {"4", "5", "6"}},
     {Arg::Str("<->"), Arg::Int(0), Arg::Int(2)}, "1<->2<->3\r\n4<->5<->6\r\n"},
    {"delimiters and line breaks inside", 1, 2, {{"a,b", "c\r\nd"}}, {},
     "\"a,b\",\"c\r\nd\"\r\n"},
    {"one column", 3, 1, {{"x"}, {"y"}, {"z"}}, {Arg::Str(","), Arg::Int(0), Arg::Int(2)},
     "x\r\ny\r\nz\r\n"},
    {"empty texts", 1, 2, {{"", ""}}, {Arg::Str(","), Arg::Int(0), Arg::Int(2)}, ",\r\n"},
};
// clang-format on

class ToCsvTest : public ArraysTest, public ::testing::WithParamInterface<ToCase> {};

// "query@7 read(0,0)@200 ... result(0)": one read per element, row by row.
std::string ReadTrace(int32_t nRows, int32_t nCols) {
    std::string s = "query@7";
    for (int32_t r = 0; r < nRows; ++r)
        for (int32_t k = 0; k < nCols; ++k)
            s += " read(" + std::to_string(r) + "," + std::to_string(k) + ")@200";
    return s + " result(0)";
}

TEST_P(ToCsvTest, Case) {
    const ToCase& c = GetParam();
    const int32_t nArray = host.NewArray(c.nRows, c.nCols, c.cells);
    std::vector<Arg> args{Arg::ArrayOf(nArray)};
    args.insert(args.end(), c.more.begin(), c.more.end());
    const Outcome outcome = Run(ROW_TO_CSV, args);
    EXPECT_EQ(ReadTrace(c.nRows, c.nCols), Trace(host.Log()));
    EXPECT_EQ(EXT_STATUS_OK, outcome.nStatus);
    EXPECT_TRUE(outcome.IsText());
    EXPECT_EQ(c.expected, outcome.text.value_or("(null)"));
    EXPECT_EQ(nArray, host.Log().front().nHandle); // the copy of argument 0 names the array
    ExpectInside();
}

INSTANTIATE_TEST_SUITE_P(Examples, ToCsvTest, ::testing::ValuesIn(kToCases), CaseName());

TEST_F(ArraysTest, ToCsvNullElementTexts) {
    host.hostility.bNullElementTexts = true;
    const int32_t nArray = host.NewArray(2, 2, {{"a", "b"}, {"c", "d"}});
    Outcome outcome = Run(ROW_TO_CSV, {Arg::ArrayOf(nArray)});
    EXPECT_EQ(ReadTrace(2, 2), Trace(host.Log()));
    EXPECT_EQ("\"\",\"\"\r\n\"\",\"\"\r\n", outcome.text.value_or("(null)"));
    outcome = Run(ROW_TO_CSV, {Arg::ArrayOf(nArray), Arg::Str(";"), Arg::Int(0), Arg::Int(2)});
    EXPECT_EQ(";\r\n;\r\n", outcome.text.value_or("(null)"));
}

TEST_F(ArraysTest, ToCsvHostileDimensions) {
    const int32_t nArray = host.NewArray(1, 1, {{"a"}});
    struct {
        int32_t nRows, nCols;
        std::string expected;
    } const cases[] = {
        {-3, 5, ""},
        {3, -2, "\r\n\r\n\r\n"},
        {INT32_MIN, INT32_MIN, ""},
        {0, INT32_MAX, ""},
        {-1, INT32_MAX, ""},
        // Larger than the real array: the host answers no text beyond it.
        {2, 2, "\"a\",\"\"\r\n\"\",\"\"\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.nRows) + " x " + std::to_string(c.nCols));
        host.hostility.dims = std::make_pair(c.nRows, c.nCols);
        const Outcome outcome = Run(ROW_TO_CSV, {Arg::ArrayOf(nArray)});
        EXPECT_EQ(EXT_STATUS_OK, outcome.nStatus);
        EXPECT_EQ(c.expected, outcome.text.value_or("(null)"));
        EXPECT_EQ(ReadTrace(std::max(c.nRows, 0), c.nRows > 0 ? std::max(c.nCols, 0) : 0),
                  Trace(host.Log()));
    }
}

TEST_F(ArraysTest, ToCsvOutputThatCannotFit) {
    // Dimensions whose text could never be held: the call ends at once as exhausted memory,
    // with a negative status and a message, before any element is read.
    const int32_t nArray = host.NewArray(1, 1, {{"a"}});
    const std::pair<int32_t, int32_t> dims[] = {
        {INT32_MAX, INT32_MAX}, {INT32_MAX, 0}, {1, INT32_MAX}, {INT32_MAX, -5}};
    for (const auto& d : dims) {
        for (int32_t nQuote : {0, 2}) {
            SCOPED_TRACE(std::to_string(d.first) + " x " + std::to_string(d.second));
            host.hostility.dims = d;
            const Outcome outcome = Run(
                ROW_TO_CSV, {Arg::ArrayOf(nArray), Arg::Str(","), Arg::Int(0), Arg::Int(nQuote)});
            EXPECT_EQ("query@7 detail(Out of memory.)@7 result(-2)", Trace(host.Log()));
            ExpectError(outcome, EXT_STATUS_TEXT_ERROR, "19104: System error.");
        }
    }
}

// ---------------------------------------------------------------------------------------------
// pkArrInitialize

struct InitCase {
    const char* name;
    int32_t nRows, nCols, nIndex, nMode;
    std::string trace; // empty for the subscript error
};

const InitCase kInitCases[] = {
    {"row mode, last row", 3, 2, 2, 1, "query@7 write(2,0)=v@100 write(2,1)=v@100 result(0)"},
    {"row mode, first row", 3, 2, 0, 1, "query@7 write(0,0)=v@100 write(0,1)=v@100 result(0)"},
    {"row mode, index R", 3, 2, 3, 1, ""},
    {"row mode, index -1", 3, 2, -1, 1, ""},
    {"row mode, largest index", 3, 2, INT32_MAX, 1, ""},
    {"row mode, smallest index", 3, 2, INT32_MIN, 1, ""},
    {"row mode, index below C but not R", 1, 5, 3, 1, ""},
    {"row mode, no columns", 2, 0, 0, 1, "query@7 result(0)"},
    {"row mode, no rows", 0, 3, 0, 1, ""},
    {"column mode, last column", 3, 2, 1, 2,
     "query@7 write(0,1)=v@100 write(1,1)=v@100 write(2,1)=v@100 result(0)"},
    {"column mode, index C", 3, 2, 2, 2, ""},
    {"column mode, index -1", 3, 2, -1, 2, ""},
    {"column mode, index below R but not C", 5, 1, 3, 2, ""},
    {"column mode, no rows, index below C", 0, 3, 2, 2, "query@7 result(0)"},
    {"column mode, no rows, index C", 0, 3, 3, 2, ""},
    {"mode 3 writes nothing", 3, 2, 1, 3, "query@7 result(0)"},
    {"mode 3, index outside", 3, 2, 99, 3, "query@7 result(0)"},
    {"mode 0, negative index", 3, 2, -7, 0, "query@7 result(0)"},
    {"mode -1", 3, 2, 0, -1, "query@7 result(0)"},
};

class InitializeTest : public ArraysTest, public ::testing::WithParamInterface<InitCase> {};

TEST_P(InitializeTest, Case) {
    const InitCase& c = GetParam();
    const int32_t nArray = host.NewArray(c.nRows, c.nCols);
    const Outcome outcome = Run(ROW_INITIALIZE, {Arg::ArrayOf(nArray), Arg::Str("v"),
                                                 Arg::Int(c.nIndex), Arg::Int(c.nMode)});
    if (c.trace.empty()) {
        EXPECT_EQ(std::string("query@7 detail(") + kSubscriptDetail + ")@7 result(-3)",
                  Trace(host.Log()));
        ExpectError(outcome, EXT_STATUS_LOOKUP_ERROR, kSubscriptMessage);
    } else {
        EXPECT_EQ(c.trace, Trace(host.Log()));
        ExpectArrayResult(outcome);
        EXPECT_EQ(nArray, outcome.nArrayHandle); // the array that the script passed
    }
    ExpectInside();
    for (const LogEntry& e : host.Log()) {
        if (e.event != Event::Result && e.event != Event::ErrorDetail) {
            EXPECT_EQ(nArray, e.nHandle);
        }
    }
    // What the array holds afterwards.
    const qvhost::Array& array = host.GetArray(nArray);
    for (int32_t r = 0; r < array.nRows; ++r) {
        for (int32_t k = 0; k < array.nCols; ++k) {
            const bool bFilled = !c.trace.empty() && ((c.nMode == 1 && r == c.nIndex) ||
                                                      (c.nMode == 2 && k == c.nIndex));
            EXPECT_EQ(bFilled ? std::optional<std::string>("v") : kNone, array.At(r, k));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, InitializeTest, ::testing::ValuesIn(kInitCases), CaseName());

TEST_F(ArraysTest, InitializeValueTexts) {
    const int32_t nArray = host.NewArray(1, 2, {{"x", "y"}});
    Run(ROW_INITIALIZE, {Arg::ArrayOf(nArray), Arg::Str(""), Arg::Int(0), Arg::Int(1)});
    EXPECT_EQ("query@7 write(0,0)=@100 write(0,1)=@100 result(0)", Trace(host.Log()));
    Run(ROW_INITIALIZE, {Arg::ArrayOf(nArray), Arg::Null(), Arg::Int(1), Arg::Int(2)});
    EXPECT_EQ("query@7 write(0,1)=@100 result(0)", Trace(host.Log()));
    Run(ROW_INITIALIZE, {Arg::ArrayOf(nArray), Arg::Str("a \"b\", c"), Arg::Int(0), Arg::Int(2)});
    EXPECT_EQ("query@7 write(0,0)=a \"b\", c@100 result(0)", Trace(host.Log()));
}

TEST_F(ArraysTest, InitializeHostileDimensions) {
    const int32_t nArray = host.NewArray(2, 2);
    const std::string error = std::string("query@7 detail(") + kSubscriptDetail + ")@7 result(-3)";
    struct {
        int32_t nRows, nCols, nIndex, nMode;
        std::string trace;
    } const cases[] = {
        {-1, -1, 0, 1, error},
        {-1, -1, 0, 2, error},
        {-1, -1, 0, 3, "query@7 result(0)"},
        {INT32_MIN, 2, 0, 2, "query@7 result(0)"},
        {2, INT32_MIN, 0, 1, "query@7 result(0)"},
        {INT32_MAX, 2, INT32_MAX, 1, error},
        {INT32_MAX, 2, INT32_MAX - 1, 1,
         "query@7 write(2147483646,0)=v@100 write(2147483646,1)=v@100 result(0)"},
        {2, INT32_MAX, INT32_MAX - 1, 2,
         "query@7 write(0,2147483646)=v@100 write(1,2147483646)=v@100 result(0)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.nRows) + " x " + std::to_string(c.nCols) + " index " +
                     std::to_string(c.nIndex) + " mode " + std::to_string(c.nMode));
        host.hostility.dims = std::make_pair(c.nRows, c.nCols);
        const Outcome outcome = Run(ROW_INITIALIZE, {Arg::ArrayOf(nArray), Arg::Str("v"),
                                                     Arg::Int(c.nIndex), Arg::Int(c.nMode)});
        EXPECT_EQ(c.trace, Trace(host.Log()));
        EXPECT_EQ(c.trace == error ? EXT_STATUS_LOOKUP_ERROR : EXT_STATUS_OK, outcome.nStatus);
    }
}

// ---------------------------------------------------------------------------------------------
// Round trip: the text pkArrayToStrCSV makes, read back by pkArrayFromStrCSV.

TEST_F(ArraysTest, RoundTrip) {
    const Cells cells = {{"a", "b c", " d "}, {"", "x,y", "\"q\""}};
    const int32_t nArray = host.NewArray(2, 3, cells);
    const Outcome text = Run(ROW_TO_CSV, {Arg::ArrayOf(nArray)});
    ASSERT_TRUE(text.text.has_value());
    const Outcome back = Run(ROW_FROM_CSV, {Arg::Str(*text.text), Arg::Int(1)});
    ASSERT_GE(back.nArrayHandle, 0);
    const qvhost::Array& array = host.GetArray(back.nArrayHandle);
    ASSERT_EQ(2, array.nRows);
    ASSERT_EQ(3, array.nCols);
    EXPECT_EQ("a", array.At(0, 0).value_or("(none)"));
    EXPECT_EQ("b c", array.At(0, 1).value_or("(none)"));
    EXPECT_EQ(" d ", array.At(0, 2).value_or("(none)"));
    EXPECT_EQ("", array.At(1, 0).value_or("(none)"));
    EXPECT_EQ("x,y", array.At(1, 1).value_or("(none)"));
    EXPECT_EQ("\"q\"", array.At(1, 2).value_or("(none)"));
}

} // namespace
