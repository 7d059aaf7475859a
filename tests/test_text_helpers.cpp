// The text helpers' cases through pkArrayFromStrCSV (row 0), the one script function that uses all
// three text routines; the routines themselves are not reachable from the host.
// - NormalizeLineBreaks: with extra rows 100 and extra columns 1 the array has count + 100
//   rows (the count shows), and each line that it makes ends at a CR (the text after shows,
//   but for what follows its last CR).
// - TrimSpaces: each text is the one field of a line, trim option 0.
// - StripQuotes: the same with trim option 1, so nothing is trimmed after it.
#include "HostFixture.h"

#include <string>
#include <vector>

using qvhost::Arg;
using qvhost::Event;
using qvhost::LogEntry;

namespace {

struct Case {
    std::string before;
    std::string trace;
};

class TextHelpersTest : public HostTest {
protected:
    std::string Run(const std::string& text, int32_t nTrim, int32_t nExtraRows,
                    int32_t nExtraCols) {
        const qvhost::Outcome outcome =
            host.Call(0, {Arg::Str(text), Arg::Int(nTrim), Arg::Str(","), Arg::Int(nExtraRows),
                          Arg::Int(nExtraCols)});
        EXPECT_EQ(1, outcome.nResultCalls);
        EXPECT_EQ(EXT_STATUS_OK, outcome.nStatus);
        return Trace(host.Log());
    }
};

TEST_F(TextHelpersTest, NormalizeLineBreaks) {
    const Case cases[] = {
        {"", "create(100x2)@100 result(0)"},      // 0
        {"a b c", "create(100x2)@100 result(0)"}, // 0
        {"a\r\nb\r\n", "create(102x2)@100 write(0,0)=a@100 write(1,0)=b@100 result(0)"},
        {"\r\na\r\nb", "create(102x2)@100 write(0,0)=@100 write(1,0)=a@100 result(0)"},
        {"a\nb\nc", "create(102x2)@100 write(0,0)=a@100 write(1,0)=b@100 result(0)"},
        {"a\rb\r", "create(102x2)@100 write(0,0)=a@100 write(1,0)=b@100 result(0)"},
        {"\r\n\r\n", "create(102x2)@100 write(0,0)=@100 write(1,0)=@100 result(0)"},
        {"\n\n", "create(102x2)@100 write(0,0)=@100 write(1,0)=@100 result(0)"},
        // Mixed: only CR LF counts (1); the lone CR still ends a line, the lone LF stays.
        {"a\r\nb\nc\rd", "create(101x2)@100 write(0,0)=a@100 write(1,0)=b\nc@100 result(0)"},
        // CR CR LF becomes CR CR: one counted, two lines.
        {"\r\r\n", "create(101x2)@100 write(0,0)=@100 write(1,0)=@100 result(0)"},
        // LF CR: CR is the kind; the text stays, the LF is inside the first line.
        {"\n\r", "create(101x2)@100 write(0,0)=\n@100 result(0)"},
        // The search goes on right behind the inserted CR: CR LF LF is one break and an LF.
        {"a\r\n\nb\r\n", "create(102x2)@100 write(0,0)=a@100 write(1,0)=\nb@100 result(0)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("text [" + c.before + "]");
        EXPECT_EQ(c.trace, Run(c.before, 1, 100, 1));
    }
}

TEST_F(TextHelpersTest, TrimSpaces) {
    const Case cases[] = {
        {"", ""},           {" ", " "},         {"   ", " "}, {"  a b  ", "a b"},
        {"\ta\t", "\ta\t"}, {" \t a ", "\t a"}, {"a", "a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("text [" + c.before + "]");
        EXPECT_EQ("create(1x1)@100 write(0,0)=" + c.trace + "@100 result(0)",
                  Run(c.before + "\r\n", 0, 0, 0));
        // Trim option 1 leaves the text as it is.
        EXPECT_EQ("create(1x1)@100 write(0,0)=" + c.before + "@100 result(0)",
                  Run(c.before + "\r\n", 1, 0, 0));
    }
}

TEST_F(TextHelpersTest, StripQuotes) {
    const Case cases[] = {
        {"\"abc\"", "abc"},     {"\"\"", ""},       {"\"", ""},
        {"\"abc", "\"abc"},     {"abc\"", "abc\""}, {"\"\"x\"\"", "\"x\""},
        {" \"a\" ", " \"a\" "}, {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("text [" + c.before + "]");
        EXPECT_EQ("create(1x1)@100 write(0,0)=" + c.trace + "@100 result(0)",
                  Run(c.before + "\r\n", 1, 0, 0));
    }
    // Stripping comes first, trimming after: spaces inside the quotes go, a space before the
    // opening quote keeps the quotes.
    EXPECT_EQ("create(1x1)@100 write(0,0)=a@100 result(0)", Run("\"  a \"\r\n", 0, 0, 0));
    EXPECT_EQ("create(1x1)@100 write(0,0)=\"a\"@100 result(0)", Run(" \"a\" \r\n", 0, 0, 0));
}

TEST_F(TextHelpersTest, LongTexts) {
    // A long field: trimmed and stripped whole; many line breaks: each one counted.
    const std::string inner(100000, 'x');
    EXPECT_EQ("create(1x1)@100 write(0,0)=" + inner + "@100 result(0)",
              Run("\"   " + inner + "   \"\r\n", 0, 0, 0));
    std::string lines;
    for (int i = 0; i < 20000; ++i)
        lines += (i % 2) ? "b\r\n" : "a\r\n";
    Run(lines, 0, 0, 0);
    const std::vector<LogEntry>& log = host.Log();
    ASSERT_EQ(20002u, log.size());
    EXPECT_EQ(20000, log[0].anSubs[0]);
    EXPECT_EQ(1, log[0].anSubs[1]);
    EXPECT_EQ("b", log[20000].text);
    EXPECT_EQ(19999, log[20000].anSubs[0]);
}

} // namespace
