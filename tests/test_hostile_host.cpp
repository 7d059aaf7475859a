// Every script function against a host that answers badly: null texts in argument records
// (the optional ones included), element reads without text, a refused array create, and
// dimension answers that are negative, zero or huge. Every call must end soundly: one result
// callback, last; a failure with its message; element calls only inside what the host
// answered, or inside the sizes the module asked it to create.
#include "HostFixture.h"

#include <climits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using qvhost::Arg;
using qvhost::Event;
using qvhost::Hostility;
using qvhost::LogEntry;
using qvhost::Outcome;

namespace {

enum { ROW_FROM_CSV = 0, ROW_TO_CSV = 1, ROW_INITIALIZE = 2 };

const int32_t kHostType = 7; // the result record's nType before the call
const int32_t kHostValue = 77;
const char kSubscriptDetail[] = "Your subscript value is greater than the array dimensions.";

// Stands for an array argument: each run gets a fresh 2 x 2 array {a, b; c, no text}.
Arg TheArray() {
    return Arg::ArrayOf(-1);
}

class HostileHostTest : public HostTest {
protected:
    Outcome Run(int32_t nRow, std::vector<Arg> args) {
        for (Arg& a : args) {
            if (a.kind == Arg::ArrayRef && a.nHandle < 0)
                a.nHandle = host.NewArray(2, 2, {{"a", "b"}, {"c", std::nullopt}});
        }
        ExtValue initial{};
        initial.nType = kHostType;
        initial.nValue = kHostValue;
        const Outcome outcome = host.Call(nRow, args, &initial);
        ExpectSoundEnd(outcome);
        return outcome;
    }

    void ExpectSoundEnd(const Outcome& outcome) {
        const std::vector<LogEntry>& log = host.Log();
        ExpectOneResultLast(host, outcome);
        EXPECT_GE(outcome.nStatus, EXT_STATUS_LOOKUP_ERROR);
        EXPECT_LE(outcome.nStatus, EXT_STATUS_OK);
        if (outcome.nStatus < 0) {
            EXPECT_TRUE(outcome.IsText());
            EXPECT_FALSE(outcome.text.value_or("").empty()) << "a failure hands back its message";
        }
        std::optional<std::pair<int32_t, int32_t>> bounds; // answered, or asked to create
        for (const LogEntry& e : log) {
            if (e.event == Event::ArrayQuery || e.event == Event::ArrayCreate)
                bounds = std::make_pair(e.anSubs[0], e.anSubs[1]);
            if (e.event == Event::ElementRead || e.event == Event::ElementWrite) {
                ASSERT_TRUE(bounds.has_value()) << "an element call before any dimensions";
                EXPECT_TRUE(e.anSubs[0] >= 0 && e.anSubs[0] < bounds->first && e.anSubs[1] >= 0 &&
                            e.anSubs[1] < bounds->second)
                    << "element (" << e.anSubs[0] << "," << e.anSubs[1] << ") outside "
                    << bounds->first << " x " << bounds->second;
            }
            if (e.event == Event::ErrorDetail) {
                EXPECT_LT(outcome.nStatus, 0) << "a detail only before a failure";
            }
        }
    }
};

// One call with every argument given, texts included.
struct Call {
    const char* name;
    int32_t nRow;
    std::vector<Arg> args;
};

std::vector<Call> EveryFunction() {
    return {
        {"pkArrayFromStrCSV",
         0,
         {Arg::Str("a;b\r\n c \r\n"), Arg::Int(0), Arg::Str(";"), Arg::Int(1), Arg::Int(1)}},
        {"pkArrayToStrCSV", 1, {TheArray(), Arg::Str(";"), Arg::Int(0), Arg::Int(0)}},
        {"pkArrInitialize", 2, {TheArray(), Arg::Str("v"), Arg::Int(1), Arg::Int(1)}},
        {"pkISBN10To13", 3, {Arg::Str("0-306-40615-2")}},
        {"pkISBN13To10", 4, {Arg::Str("978-0-306-40615-7")}},
        {"pkIsISBN", 5, {Arg::Str("B000123456"), Arg::Int(1)}},
        {"pkStrCleanISBN", 6, {Arg::Str("ISBN 0-306-40615-2")}},
        {"pkStrTrim", 7, {Arg::Str("  a  "), Arg::Int(0)}},
        {"pkGetConstants", 8, {Arg::Str("xlX")}},
        {"pkStrCut",
         9,
         {Arg::Str("2,1"), Arg::Str("a::b\r\nc::d"), Arg::Str("f"), Arg::Str(";"), Arg::Str("::"),
          Arg::Int(0)}},
        {"pkFormatNumber", 10, {Arg::Str("1234.5"), Arg::Str("#,###.##")}},
        {"pkStrProper", 11, {Arg::Str("-7"), Arg::Str("2")}},
        {"pkStrCapital", 12, {Arg::Str("-7"), Arg::Str("2")}},
        {"pkStrCleanInt", 13, {Arg::Str("12"), Arg::Str("10")}},
        {"pkStrCleanAlpha", 14, {Arg::Str("12"), Arg::Str("10")}},
        {"pkStrCleanAlphaNum", 15, {Arg::Str("0")}},
    };
}

// What two runs must share to count as the same outcome.
void ExpectSameOutcome(const Outcome& expected, const Outcome& actual) {
    EXPECT_EQ(expected.nStatus, actual.nStatus);
    EXPECT_EQ(expected.result.nType, actual.result.nType);
    EXPECT_EQ(expected.text, actual.text);
    if (expected.IsInteger()) {
        EXPECT_EQ(expected.result.nValue, actual.result.nValue);
    }
}

TEST_F(HostileHostTest, NullTextRecordsReadAsEmptyTexts) {
    // Each text argument in turn, required or optional, is handed as a null pointer: the
    // call goes exactly as with the empty text there.
    for (const Call& call : EveryFunction()) {
        for (size_t i = 0; i < call.args.size(); ++i) {
            if (call.args[i].kind != Arg::Text)
                continue;
            SCOPED_TRACE(std::string(call.name) + ", argument " + std::to_string(i));
            std::vector<Arg> args = call.args;
            args[i] = Arg::Str("");
            const Outcome empty = Run(call.nRow, args);
            const std::string emptyTrace = Trace(host.Log());
            args[i] = Arg::Null();
            const Outcome null = Run(call.nRow, args);
            ExpectSameOutcome(empty, null);
            EXPECT_EQ(emptyTrace, Trace(host.Log()));
        }
    }
}

TEST_F(HostileHostTest, OnlyTheArrayFunctionsMeetTheArrayHostility) {
    // Null element texts, a refused create and odd dimensions change nothing for the
    // functions that never touch an array; they call no array service at all.
    const Hostility hostile[] = {
        {true, false, std::nullopt},
        {false, true, std::nullopt},
        {false, false, std::make_pair(-1, -1)},
        {false, false, std::make_pair(INT32_MAX, INT32_MAX)},
    };
    for (const Call& call : EveryFunction()) {
        if (call.nRow <= ROW_INITIALIZE)
            continue;
        SCOPED_TRACE(call.name);
        host.hostility = Hostility{};
        const Outcome friendly = Run(call.nRow, call.args);
        const std::string friendlyTrace = Trace(host.Log());
        for (const Hostility& h : hostile) {
            host.hostility = h;
            ExpectSameOutcome(friendly, Run(call.nRow, call.args));
            EXPECT_EQ(friendlyTrace, Trace(host.Log()));
        }
    }
}

struct HostileCase {
    const char* name;
    Hostility hostility;
    int32_t nRow;
    std::vector<Arg> args;
    int32_t nStatus;
    std::string trace;
    std::optional<std::string> text = std::nullopt; // a text result, where it matters
};

std::pair<int32_t, int32_t> Dims(int32_t nRows, int32_t nCols) {
    return std::make_pair(nRows, nCols);
}

const Hostility kNullTexts{true, false, std::nullopt};
const Hostility kRefuseCreate{false, true, std::nullopt};

Hostility Answer(int32_t nRows, int32_t nCols) {
    return Hostility{false, false, Dims(nRows, nCols)};
}

std::vector<Arg> Init(int32_t nIndex, int32_t nMode) {
    return {TheArray(), Arg::Str("v"), Arg::Int(nIndex), Arg::Int(nMode)};
}

std::vector<HostileCase> HostileCases() {
    const std::string subscript =
        std::string("query@7 detail(") + kSubscriptDetail + ")@7 result(-3)";
    const std::string memory = "query@7 detail(Out of memory.)@7 result(-2)";
    const std::vector<Arg> fromCsv = {Arg::Str("a,b\r\nc\r\n"), Arg::Int(0), Arg::Str(","),
                                      Arg::Int(1), Arg::Int(1)};
    const std::vector<Arg> toCsvBare = {TheArray(), Arg::Str(","), Arg::Int(0), Arg::Int(2)};
    const std::string fromCsvTrace = "create(3x3)@100 write(0,0)=a@100 write(0,1)=b@100 "
                                     "write(1,0)=c@100 result(0)";
    const std::string toCsvTrace = "query@7 read(0,0)@200 read(0,1)@200 read(1,0)@200 "
                                   "read(1,1)@200 result(0)";
    const std::vector<Arg> toCsv = {TheArray(), Arg::Str(","), Arg::Int(0), Arg::Int(0)};
    return {
        // pkArrayFromStrCSV asks no dimensions; a refused create stops nothing, and the
        // writes stay inside the sizes it asked for.
        {"create refused", kRefuseCreate, ROW_FROM_CSV, fromCsv, 0, fromCsvTrace},
        {"create refused, null text",
         kRefuseCreate,
         ROW_FROM_CSV,
         {Arg::Null(), Arg::Int(0), Arg::Null(), Arg::Int(2), Arg::Int(1)},
         0,
         "create(2x2)@100 result(0)"},
        {"create, huge dimension answers", Answer(INT32_MAX, INT32_MAX), ROW_FROM_CSV, fromCsv, 0,
         fromCsvTrace},
        {"create, negative dimension answers", Answer(-1, -1), ROW_FROM_CSV, fromCsv, 0,
         fromCsvTrace},

        // pkArrayToStrCSV reads what the host answers, no more.
        {"to text, create refused", kRefuseCreate, ROW_TO_CSV, toCsv, 0, toCsvTrace,
         "\"a\",\"b\"\r\n\"c\",\"\"\r\n"},
        {"to text, 0 x 0", Answer(0, 0), ROW_TO_CSV, toCsv, 0, "query@7 result(0)", ""},
        {"to text, rows without columns", Answer(3, 0), ROW_TO_CSV, toCsvBare, 0,
         "query@7 result(0)", "\r\n\r\n\r\n"},
        {"to text, huge rows, bare", Answer(INT32_MAX, 1), ROW_TO_CSV, toCsvBare, -2, memory},
        {"to text, huge rows of no columns", Answer(INT32_MAX, -1), ROW_TO_CSV, toCsvBare, -2,
         memory},

        // pkArrInitialize tests the index against what the host answers.
        {"fill, null element texts", kNullTexts, ROW_INITIALIZE, Init(1, 2), 0,
         "query@7 write(0,1)=v@100 write(1,1)=v@100 result(0)"},
        {"fill, create refused", kRefuseCreate, ROW_INITIALIZE, Init(0, 1), 0,
         "query@7 write(0,0)=v@100 write(0,1)=v@100 result(0)"},
        {"fill row of 0 x 0", Answer(0, 0), ROW_INITIALIZE, Init(0, 1), -3, subscript},
        {"fill column of 0 x 0", Answer(0, 0), ROW_INITIALIZE, Init(0, 2), -3, subscript},
        {"fill row, huge rows of no columns", Answer(INT32_MAX, 0), ROW_INITIALIZE, Init(5, 1), 0,
         "query@7 result(0)"},
        {"fill row, no rows of huge columns", Answer(0, INT32_MAX), ROW_INITIALIZE, Init(0, 1), -3,
         subscript},
        {"fill column, huge columns of no rows", Answer(0, INT32_MAX), ROW_INITIALIZE,
         Init(INT32_MAX - 1, 2), 0, "query@7 result(0)"},
        {"fill row beyond huge rows", Answer(INT32_MAX, INT32_MAX), ROW_INITIALIZE,
         Init(INT32_MAX, 1), -3, subscript},
        {"fill column beyond huge columns", Answer(INT32_MAX, INT32_MAX), ROW_INITIALIZE,
         Init(INT32_MAX, 2), -3, subscript},
        {"fill, negative index of huge", Answer(INT32_MAX, INT32_MAX), ROW_INITIALIZE, Init(-1, 2),
         -3, subscript},
        {"mode 3 of huge", Answer(INT32_MAX, INT32_MAX), ROW_INITIALIZE, Init(0, 3), 0,
         "query@7 result(0)"},
        {"fill row of most negative", Answer(INT32_MIN, INT32_MIN), ROW_INITIALIZE, Init(0, 1), -3,
         subscript},
        {"fill column of most negative", Answer(INT32_MIN, INT32_MIN), ROW_INITIALIZE, Init(0, 2),
         -3, subscript},
        {"fill column of negative rows", Answer(-5, 2), ROW_INITIALIZE, Init(1, 2), 0,
         "query@7 result(0)"},
    };
}

TEST_F(HostileHostTest, ArrayFunctionsAgainstHostileAnswers) {
    for (const HostileCase& c : HostileCases()) {
        SCOPED_TRACE(c.name);
        host.hostility = c.hostility;
        const Outcome outcome = Run(c.nRow, c.args);
        EXPECT_EQ(c.nStatus, outcome.nStatus);
        EXPECT_EQ(c.trace, Trace(host.Log()));
        if (c.text) {
            EXPECT_EQ(*c.text, outcome.text.value_or("(null)"));
        }
        if (c.nStatus == EXT_STATUS_OK && c.nRow != ROW_TO_CSV) {
            EXPECT_EQ(kHostValue, outcome.result.nValue); // an array result leaves nValue
        }
    }
}

} // namespace
