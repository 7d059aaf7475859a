// Fuzz target: one script function call per input, through the entry points and the
// stand-in host, then checks of everything a call must honour.
//
// Input: byte 0 picks the row, byte 1 the host's hostility, the rest are the arguments,
// split at 0xFF: an integer from up to four bytes (little endian), a text as its bytes (a lone
// 0xFE is a null text), an array as rows split at 0xFD and cells at 0xFC (a cell 0xFE has no
// text).
#include "StandInHost.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

const int32_t kRows[] = {QV_FUZZ_ROWS};
const size_t kMaxCells = 4096;

const std::pair<int32_t, int32_t> kHostileDims[] = {
    {-1, -1}, {0, 0}, {0, 3}, {3, 0}, {INT32_MAX, 0}, {INT32_MAX, 1}, {1, INT32_MAX}, {INT32_MIN, 2},
};

qvhost::Module* g_pModule = nullptr;

void Check(bool bOk, const char* pszWhat) {
    if (!bOk) {
        std::fprintf(stderr, "check failed: %s\n", pszWhat);
        std::abort();
    }
}

std::vector<std::string> Split(const uint8_t* p, size_t n, uint8_t sep) {
    std::vector<std::string> pieces(1);
    for (size_t i = 0; i < n; ++i) {
        if (p[i] == sep)
            pieces.emplace_back();
        else
            pieces.back() += static_cast<char>(p[i]);
    }
    return pieces;
}

int32_t MakeArray(qvhost::StandInHost& host, const std::string& piece) {
    std::vector<std::vector<std::optional<std::string>>> rows;
    size_t nCols = 0, nCells = 0;
    for (const std::string& row : Split(reinterpret_cast<const uint8_t*>(piece.data()), piece.size(), 0xFD)) {
        rows.emplace_back();
        for (const std::string& cell : Split(reinterpret_cast<const uint8_t*>(row.data()), row.size(), 0xFC)) {
            if (++nCells > kMaxCells)
                break;
            rows.back().push_back(cell == "\xFE" ? std::nullopt : std::optional<std::string>(cell));
        }
        nCols = rows.back().size() > nCols ? rows.back().size() : nCols;
    }
    if (piece.empty())
        rows.clear();
    return host.NewArray(static_cast<int32_t>(rows.size()), static_cast<int32_t>(nCols), rows);
}

int32_t ToInteger(const std::string& piece) {
    uint32_t n = 0;
    for (size_t i = 0; i < piece.size() && i < 4; ++i)
        n |= static_cast<uint32_t>(static_cast<uint8_t>(piece[i])) << (8 * i);
    if (piece.size() == 1) // small values are the interesting ones
        return static_cast<int8_t>(piece[0]);
    return static_cast<int32_t>(n);
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
    const int32_t nRow = kRows[pData[0] % (sizeof(kRows) / sizeof(kRows[0]))];
    const uint8_t nHostility = pData[1];
    host.hostility.bNullElementTexts = nHostility & 1;
    host.hostility.bRefuseCreate = nHostility & 2;
    if (const int nDims = (nHostility >> 2) & 15; nDims > 0 && nDims <= 8)
        host.hostility.dims = kHostileDims[nDims - 1];

    ExtFunctionInfo info;
    Check(host.Describe(nRow, info), "describe");
    const std::vector<std::string> pieces = Split(pData + 2, nSize - 2, 0xFF);
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
        default:
            args.push_back(piece == "\xFE" ? qvhost::Arg::Null() : qvhost::Arg::Str(piece));
        }
    }

    host.nCallbackReturn = 0x3C3C;
    const qvhost::Outcome out = host.Call(nRow, args);

    Check(out.nResultCalls == 1, "exactly one result callback");
    Check(out.nReturned == 0x3C3C, "the entry point returns the callback's value");
    Check(out.nStatus <= 0 && out.nStatus >= -3, "a known status");
    if (out.nStatus < 0)
        Check(out.IsText() && out.text.has_value(), "a failure hands back its message");
    if (out.IsText())
        Check(out.text.has_value(), "a text result has text");
    const std::vector<qvhost::LogEntry>& log = host.Log();
    bool bQueried = false;
    for (const qvhost::LogEntry& e : log)
        bQueried = bQueried || e.event == qvhost::Event::ArrayQuery;
    Check(!log.empty() && log.back().event == qvhost::Event::Result, "the result comes last");
    for (const qvhost::LogEntry& e : log) {
        switch (e.event) {
        case qvhost::Event::ArrayCreate:
            Check(e.nResultType == EXT_MARK_ARRAY_WRITE, "write mark before a create");
            Check(e.anSubs[0] >= 0 && e.anSubs[1] >= 0, "no negative dimension");
            break;
        case qvhost::Event::ElementWrite:
            Check(e.nResultType == EXT_MARK_ARRAY_WRITE, "write mark before an element write");
            Check(!e.bOutOfBounds || host.hostility.dims || host.hostility.bRefuseCreate,
                  "element writes inside the array");
            break;
        case qvhost::Event::ElementRead:
            Check(e.nResultType == EXT_MARK_ARRAY_READ, "read mark before an element read");
            Check(!e.bOutOfBounds || host.hostility.dims, "element reads inside the array");
            break;
        case qvhost::Event::SetVariable:
            Check(e.nResultType == EXT_VALUE_STRING, "text mark before a variable");
            break;
        case qvhost::Event::ErrorDetail:
            Check(out.nStatus < 0, "a detail only before a failure");
            break;
        default:
            break;
        }
        const bool bElement = e.event == qvhost::Event::ElementRead || e.event == qvhost::Event::ElementWrite;
        if (host.hostility.dims && bQueried && bElement) {
            // Inside what the host answered.
            Check(e.anSubs[0] >= 0 && e.anSubs[0] < host.hostility.dims->first && e.anSubs[1] >= 0 &&
                      e.anSubs[1] < host.hostility.dims->second,
                  "element calls inside the dimensions the host answered");
        }
    }
    return 0;
}
