// Fuzz target: one script function call per input, through the entry points and the
// stand-in host, then checks of everything a call must honour.
//
// Input: byte 0 picks the row, byte 1 the host's hostility, the rest are the arguments,
// split at 0xFF: an integer from up to four bytes (little endian; one byte is signed), a text
// as its bytes (a lone 0xFE is a null text), an array as rows split at 0xFD and cells at 0xFC
// (a cell 0xFE has no text). 0xFB makes the byte after it an ordinary byte, so that integers
// such as -1 and texts may hold the marks.
//
// pkArrInitialize writes every element of the row or column it fills, so an answer of
// 2,147,483,647 on the axis it walks means 2^31 writes: such an input gets an index just
// outside the array instead, and huge answers stay on the other axis or with the error path.
#include "StandInHost.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

const int32_t kRows[] = {QV_FUZZ_ROWS};
const size_t kMaxCells = 4096;               // cells of an array argument
const int64_t kMaxCreateCells = 1024 * 1024; // the host refuses larger creates
const int32_t kMaxWalk = 1 << 16;            // most element calls one pkArrInitialize call may make

enum {
    ROW_ARR_FROM_CSV = 0,
    ROW_ARR_INITIALIZE = 2, // arguments: array, value, index, mode
    INIT_MODE_ROW = 1,      // walks the columns of row "index"
    INIT_MODE_COLUMN = 2,   // walks the rows of column "index"
};

// The result record as the host holds it before the call: the module may only put marks
// into nType and its result in, and ReturnRecord leaves nValue and dwReserved alone.
const int32_t kHostType = 7;
const int32_t kHostValue = 0x7777;
const uint32_t kHostReserved = 0xABCD1234;

const std::pair<int32_t, int32_t> kHostileDims[] = {
    {-1, -1},       {0, 0},         {0, 3},         {3, 0},
    {INT32_MAX, 0}, {INT32_MAX, 1}, {1, INT32_MAX}, {INT32_MIN, 2},
};

qvhost::Module* g_pModule = nullptr;

void Check(bool bOk, const char* pszWhat) {
    if (!bOk) {
        std::fprintf(stderr, "check failed: %s\n", pszWhat);
        std::abort();
    }
}

const uint8_t kEscape = 0xFB;
const char kNullMark[] = "\xFE";

// Pieces between separators; an escaped byte stays escaped for the next split.
std::vector<std::string> Split(const std::string& text, uint8_t sep) {
    std::vector<std::string> pieces(1);
    for (size_t i = 0; i < text.size(); ++i) {
        const uint8_t c = static_cast<uint8_t>(text[i]);
        if (c == kEscape && i + 1 < text.size()) {
            pieces.back() += text.substr(i, 2);
            ++i;
        } else if (c == sep) {
            pieces.emplace_back();
        } else {
            pieces.back() += text[i];
        }
    }
    return pieces;
}

// The bytes of a piece, escapes resolved.
std::string Unescape(const std::string& piece) {
    std::string out;
    for (size_t i = 0; i < piece.size(); ++i) {
        if (static_cast<uint8_t>(piece[i]) == kEscape && i + 1 < piece.size())
            ++i;
        out += piece[i];
    }
    return out;
}

std::optional<std::string> TextOrNull(const std::string& piece) {
    return piece == kNullMark ? std::nullopt : std::optional<std::string>(Unescape(piece));
}

int32_t MakeArray(qvhost::StandInHost& host, const std::string& piece) {
    std::vector<std::vector<std::optional<std::string>>> rows;
    size_t nCols = 0, nCells = 0;
    for (const std::string& row : Split(piece, 0xFD)) {
        rows.emplace_back();
        for (const std::string& cell : Split(row, 0xFC)) {
            if (++nCells > kMaxCells)
                break;
            rows.back().push_back(TextOrNull(cell));
        }
        nCols = rows.back().size() > nCols ? rows.back().size() : nCols;
    }
    if (piece.empty())
        rows.clear();
    return host.NewArray(static_cast<int32_t>(rows.size()), static_cast<int32_t>(nCols), rows);
}

int32_t ToInteger(const std::string& escaped) {
    const std::string piece = Unescape(escaped);
    uint32_t n = 0;
    for (size_t i = 0; i < piece.size() && i < 4; ++i)
        n |= static_cast<uint32_t>(static_cast<uint8_t>(piece[i])) << (8 * i);
    if (piece.size() == 1) // small values are the interesting ones
        return static_cast<int8_t>(piece[0]);
    return static_cast<int32_t>(n);
}

// Keeps a pkArrInitialize call bounded: an index inside a huge walked axis moves just outside
// the array, which takes the subscript error.
void BoundWalk(int32_t nRow, const qvhost::Hostility& hostility, std::vector<qvhost::Arg>& args) {
    if (nRow != ROW_ARR_INITIALIZE || !hostility.dims || args.size() < 4)
        return;
    const int32_t nRows = hostility.dims->first, nCols = hostility.dims->second;
    int32_t& nIndex = args[2].nValue;
    const int32_t nMode = args[3].nValue;
    if (nMode == INIT_MODE_ROW && nCols > kMaxWalk && nIndex >= 0 && nIndex < nRows)
        nIndex = nRows;
    else if (nMode == INIT_MODE_COLUMN && nRows > kMaxWalk && nIndex >= 0 && nIndex < nCols)
        nIndex = nCols;
}

// Rows whose result is an array record: the one created, or the one passed in.
bool ReturnsArray(int32_t nRow) {
    return nRow == ROW_ARR_FROM_CSV || nRow == ROW_ARR_INITIALIZE;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_pModule = new qvhost::Module(qvhost::Module::DefaultPath());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    if (nSize < 2)
        return 0;
    qvhost::StandInHost host(*g_pModule);
    host.nMaxCreateCells = kMaxCreateCells;
    const int32_t nRow = kRows[pData[0] % (sizeof(kRows) / sizeof(kRows[0]))];
    const uint8_t nHostility = pData[1];
    host.hostility.bNullElementTexts = nHostility & 1;
    host.hostility.bRefuseCreate = nHostility & 2;
    if (const int nDims = (nHostility >> 2) & 15; nDims > 0 && nDims <= 8)
        host.hostility.dims = kHostileDims[nDims - 1];

    ExtFunctionInfo info;
    Check(host.Describe(nRow, info), "describe");
    const std::vector<std::string> pieces =
        Split(std::string(reinterpret_cast<const char*>(pData) + 2, nSize - 2), 0xFF);
    std::vector<qvhost::Arg> args;
    const int nDeclared = info.nRequiredArgs + info.nOptionalArgs;
    for (int i = 0; i < nDeclared && i < static_cast<int>(pieces.size()); ++i) {
        const std::string& piece = pieces[i];
        switch ((info.qwArgTypes >> (4 * i)) & 0xF) {
        case EXT_ARG_INTEGER:
            args.push_back(qvhost::Arg::Int(ToInteger(piece)));
            break;
        case EXT_ARG_ARRAY:
            args.push_back(qvhost::Arg::ArrayOf(MakeArray(host, piece)));
            break;
        default: {
            const std::optional<std::string> text = TextOrNull(piece);
            args.push_back(text ? qvhost::Arg::Str(*text) : qvhost::Arg::Null());
        }
        }
    }

    BoundWalk(nRow, host.hostility, args);

    ExtValue initial{};
    initial.nType = kHostType;
    initial.nValue = kHostValue;
    initial.dwReserved = kHostReserved;
    host.nCallbackReturn = 0x3C3C;
    const qvhost::Outcome out = host.Call(nRow, args, &initial);

    Check(out.nResultCalls == 1, "exactly one result callback");
    Check(out.bOwnRecords, "the callback gets the command's services and result record");
    Check(out.nReturned == 0x3C3C, "the entry point returns the callback's value");
    Check(out.nStatus <= 0 && out.nStatus >= -3, "a known status");
    if (out.nStatus < 0)
        Check(out.IsText() && out.text.has_value() && !out.text->empty(),
              "a failure hands back its message");
    else if (ReturnsArray(nRow))
        // 0: the record of a create that the host refused, as the module made it.
        Check((out.result.nType == qvhost::HOST_ARRAY_TYPE || out.result.nType == 0) &&
                  out.result.nValue == kHostValue && out.result.dwReserved == kHostReserved,
              "an array result, leaving nValue and dwReserved");
    else
        Check(out.IsText() || out.IsInteger(), "a text or an integer result");
    if (out.IsText())
        Check(out.text.has_value(), "a text result has text");

    const std::vector<qvhost::LogEntry>& log = host.Log();
    Check(!log.empty() && log.back().event == qvhost::Event::Result, "the result comes last");
    std::optional<std::pair<int32_t, int32_t>> answered; // dimensions the host answered
    std::optional<std::pair<int32_t, int32_t>> created;  // sizes the module asked to create
    bool bCreateRefused = false;     // by hostility, or sizes beyond what this host holds
    int32_t nTypeBefore = kHostType; // nType at the previous service call
    for (const qvhost::LogEntry& e : log) {
        switch (e.event) {
        case qvhost::Event::ArrayQuery:
            Check(e.nResultType == nTypeBefore, "no mark before a query");
            Check(e.nRecordSize == EXT_VALUE_SIZE && e.nBufferBytes == 32 && e.nOp == EXT_OP_GET,
                  "query record, buffer and operation");
            answered = std::make_pair(e.anSubs[0], e.anSubs[1]);
            break;
        case qvhost::Event::ArrayCreate:
            Check(e.nResultType == EXT_MARK_ARRAY_WRITE, "write mark before a create");
            Check(e.nRecordSize == EXT_VALUE_SIZE && e.nBufferBytes == 20 && e.nOp == EXT_OP_SET,
                  "create record, sizes and operation");
            Check(e.anSubs[0] >= 0 && e.anSubs[1] >= 0, "no negative dimension");
            Check(e.anSubs[2] == 0 && e.anSubs[3] == 0 && e.anSubs[4] == 0,
                  "two dimensions created");
            created = std::make_pair(e.anSubs[0], e.anSubs[1]);
            bCreateRefused = e.nHandle < 0;
            break;
        case qvhost::Event::ElementWrite:
        case qvhost::Event::ElementRead: {
            const bool bWrite = e.event == qvhost::Event::ElementWrite;
            Check(e.nResultType == (bWrite ? EXT_MARK_ARRAY_WRITE : EXT_MARK_ARRAY_READ),
                  "the mark before an element call");
            Check(e.nValueType == EXT_VALUE_STRING && e.nRecordSize == EXT_VALUE_SIZE &&
                      e.nOp == (bWrite ? EXT_OP_SET : EXT_OP_GET),
                  "element record and operation");
            Check(!bWrite || !e.bNullText, "a write hands a text");
            // Inside what the host answered, or what the module asked it to create.
            const std::optional<std::pair<int32_t, int32_t>>& bounds =
                answered ? answered : created;
            Check(bounds.has_value(), "an element call only after a query or a create");
            Check(e.anSubs[0] >= 0 && e.anSubs[0] < bounds->first && e.anSubs[1] >= 0 &&
                      e.anSubs[1] < bounds->second,
                  "element calls inside the array");
            Check(e.anSubs[2] == 0 && e.anSubs[3] == 0 && e.anSubs[4] == 0, "two subscripts used");
            Check(!e.bOutOfBounds || host.hostility.dims || bCreateRefused,
                  "element calls inside the host's array");
            break;
        }
        case qvhost::Event::SetVariable:
            Check(e.nResultType == EXT_VALUE_STRING, "text mark before a variable");
            Check(!e.bNullText && e.nValueType == EXT_VALUE_INTEGER &&
                      e.nRecordSize == EXT_VALUE_SIZE && e.nOp == EXT_OP_SET,
                  "variable name, record and operation");
            Check(out.nStatus == 0 && out.IsInteger() && out.result.nValue == e.nValue,
                  "the variable holds the result");
            break;
        case qvhost::Event::ErrorDetail:
            Check(out.nStatus < 0, "a detail only before a failure");
            Check(!e.bNullText, "a detail has text");
            Check(e.nResultType == nTypeBefore, "no mark before a detail");
            break;
        case qvhost::Event::Result:
            break;
        }
        nTypeBefore = e.nResultType;
    }
    return 0;
}
