// pkStrCut through the stand-in host: field mode "1,3" and character mode "1-10,20" on
// comma-separated text with lines of about 80 characters.
#include "BenchHost.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

const int32_t ROW_CUT = 9;
const int CSV_FIELDS = 14; // about 80 characters a line

// Separators as GNU cut writes them: the delimiter between fields, nothing between columns.
void CutText(benchmark::State& state, const std::string& strText, const char* pszSelection,
             const char* pszType, const char* pszSeparator) {
    qvhost::StandInHost host(BenchModule());
    const std::vector<qvhost::Arg> args = {qvhost::Arg::Str(pszSelection),
                                           qvhost::Arg::Str(strText), qvhost::Arg::Str(pszType),
                                           qvhost::Arg::Str(pszSeparator)};
    for (auto _ : state) {
        qvhost::Outcome out = host.Call(ROW_CUT, args);
        if (out.nStatus != EXT_STATUS_OK) {
            state.SkipWithError("pkStrCut failed");
            break;
        }
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * strText.size()));
}

void BM_StrCutFields(benchmark::State& state) {
    CutText(state, MakeCsv(static_cast<size_t>(state.range(0)), CSV_FIELDS), "1,3", "f", ",");
    state.SetLabel("linearity:cut-linearity");
}
BENCHMARK(BM_StrCutFields)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);

void BM_StrCutColumns(benchmark::State& state) {
    CutText(state, MakeCsv(static_cast<size_t>(state.range(0)), CSV_FIELDS), "1-10,20", "c", "");
    state.SetLabel("linearity:cut-char-linearity");
}
BENCHMARK(BM_StrCutColumns)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);

// The text of bench/cut_vs_gnu.sh, named by QV_CUT_TEXT, timed against GNU cut on the same file.
std::string ReadCutText() {
    std::ifstream in(std::getenv("QV_CUT_TEXT"), std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

int32_t EXTAPI IgnoreDetail(void*, const char*) {
    return 0;
}

int32_t EXTAPI MeasureResult(int32_t nStatus, ExtOpaque pContext, ExtHostServices*,
                             ExtValue* pResult) {
    *reinterpret_cast<size_t*>(pContext) =
        nStatus == EXT_STATUS_OK ? std::strlen(pResult->pszValue) : 0;
    return nStatus;
}

// The entry point called the way a host calls it, on text that the host already holds: the
// time is the module's own, as GNU cut's is its own.
void CutTextDirect(benchmark::State& state, const std::string& strText, const char* pszSelection,
                   const char* pszType, const char* pszSeparator) {
    std::string strSelection = pszSelection, strType = pszType, strSeparator = pszSeparator;
    std::string strDelimiter = ",", strCopy = strText;
    ExtValue aArgs[6] = {};
    char* apszTexts[5] = {strSelection.data(), strCopy.data(), strType.data(), strSeparator.data(),
                          strDelimiter.data()};
    for (int i = 0; i < 5; ++i) {
        aArgs[i].nType = EXT_VALUE_STRING;
        aArgs[i].pszValue = apszTexts[i];
    }
    aArgs[5].nType = EXT_VALUE_INTEGER;
    ExtHostServices services{};
    services.pfnErrorDetail = &IgnoreDetail;
    ExtValue result{};
    size_t nOutput = 0;
    for (auto _ : state) {
        const int32_t nStatus =
            BenchModule().Command(0, 0, reinterpret_cast<ExtOpaque>(&nOutput), ROW_CUT,
                                  &MeasureResult, &services, 0, aArgs, 6, &result);
        if (nStatus != EXT_STATUS_OK) {
            state.SkipWithError("pkStrCut failed");
            break;
        }
        benchmark::DoNotOptimize(nOutput);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * strText.size()));
}

const bool s_bGnuComparison = [] {
    if (std::getenv("QV_CUT_TEXT") == nullptr)
        return false;
    benchmark::RegisterBenchmark("BM_StrCutText/field", [](benchmark::State& state) {
        CutTextDirect(state, ReadCutText(), "1,3", "f", ",");
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_StrCutText/char", [](benchmark::State& state) {
        CutTextDirect(state, ReadCutText(), "1-10,20", "c", "");
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_StrCutText/field-host", [](benchmark::State& state) {
        CutText(state, ReadCutText(), "1,3", "f", ",");
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_StrCutText/char-host", [](benchmark::State& state) {
        CutText(state, ReadCutText(), "1-10,20", "c", "");
    })->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
