// pkArrayFromStrCSV and pkArrayToStrCSV through the entry points and the stand-in host, on
// 1 MB and 16 MB of CSV text of short fields. The host's own work per element (its log, its
// cells) is part of the figure. Bytes processed: the size of the CSV text.
#include "BenchHost.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

enum { ROW_FROM_CSV = 0, ROW_TO_CSV = 1 };

// The cells of MakeCsv's text: lines end in CR LF, fields are split at ','.
std::vector<std::vector<std::optional<std::string>>> CellsOf(std::string_view text, size_t& nCols) {
    std::vector<std::vector<std::optional<std::string>>> rows;
    nCols = 0;
    size_t nStart = 0;
    for (size_t nEnd; (nEnd = text.find("\r\n", nStart)) != std::string_view::npos;
         nStart = nEnd + 2) {
        std::vector<std::optional<std::string>> row;
        const std::string_view line = text.substr(nStart, nEnd - nStart);
        for (size_t f = 0;;) {
            const size_t nComma = line.find(',', f);
            row.emplace_back(std::string(line.substr(f, nComma - f)));
            if (nComma == std::string_view::npos)
                break;
            f = nComma + 1;
        }
        nCols = std::max(nCols, row.size());
        rows.push_back(std::move(row));
    }
    return rows;
}

void BM_ArrayFromStrCSV(benchmark::State& state) {
    const std::string text = MakeCsv(static_cast<size_t>(state.range(0)));
    const std::vector<qvhost::Arg> args{qvhost::Arg::Str(text), qvhost::Arg::Int(0)};
    std::unique_ptr<qvhost::StandInHost> host;
    for (auto _ : state) {
        // A fresh host each time, so that the arrays made before are freed (untimed).
        state.PauseTiming();
        host.reset();
        host = std::make_unique<qvhost::StandInHost>(BenchModule());
        state.ResumeTiming();
        const qvhost::Outcome outcome = host->Call(ROW_FROM_CSV, args);
        benchmark::DoNotOptimize(outcome.nArrayHandle);
        if (outcome.nStatus != EXT_STATUS_OK || outcome.nArrayHandle < 0) {
            state.SkipWithError("pkArrayFromStrCSV failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.SetLabel("linearity:csv-from-linearity");
}
BENCHMARK(BM_ArrayFromStrCSV)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);

void BM_ArrayToStrCSV(benchmark::State& state) {
    const std::string text = MakeCsv(static_cast<size_t>(state.range(0)));
    qvhost::StandInHost host(BenchModule());
    size_t nCols = 0;
    const auto cells = CellsOf(text, nCols);
    const int32_t nArray =
        host.NewArray(static_cast<int32_t>(cells.size()), static_cast<int32_t>(nCols), cells);
    // Bare elements: the output is the CSV text itself.
    const std::vector<qvhost::Arg> args{qvhost::Arg::ArrayOf(nArray), qvhost::Arg::Str(","),
                                        qvhost::Arg::Int(0), qvhost::Arg::Int(2)};
    // One untimed call first: the host keeps the capacity of its log and element texts from
    // one call to the next, so every timed call at either size finds them grown (the 1 MB
    // figure would otherwise be warm and the 16 MB one, a single call, cold).
    host.Call(ROW_TO_CSV, args);
    for (auto _ : state) {
        const qvhost::Outcome outcome = host.Call(ROW_TO_CSV, args);
        benchmark::DoNotOptimize(outcome.text);
        if (outcome.nStatus != EXT_STATUS_OK || outcome.text != text) {
            state.SkipWithError("pkArrayToStrCSV did not give the CSV text back");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.SetLabel("linearity:csv-to-linearity");
}
BENCHMARK(BM_ArrayToStrCSV)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);

} // namespace
