#include "BenchHost.h"

#include <benchmark/benchmark.h>

// pkFormatNumber on a long number and a long mask of the same length.
static void BM_FormatNumber(benchmark::State& state) {
    const size_t nBytes = static_cast<size_t>(state.range(0));
    std::string number, mask;
    for (size_t i = 0; i < nBytes; ++i) {
        number += static_cast<char>('0' + i % 10);
        mask += i % 4 == 3 ? ',' : '#';
    }
    qvhost::StandInHost host(BenchModule());
    const std::vector<qvhost::Arg> args{qvhost::Arg::Str(number), qvhost::Arg::Str(mask)};
    for (auto _ : state)
        benchmark::DoNotOptimize(host.Call(10, args));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * nBytes));
    state.SetLabel("linearity:format-linearity");
}
BENCHMARK(BM_FormatNumber)
    ->Arg(1 << 20)
    ->Arg(16 << 20)
    ->MinTime(1.0)
    ->Unit(benchmark::kMillisecond);

// pkStrTrim on a long text with whitespace at both ends. Trimming is one copy, so both sizes
// lie beyond the caches and the allocator's reuse: the figure then shows the algorithm.
static void BM_StrTrim(benchmark::State& state) {
    const size_t nBytes = static_cast<size_t>(state.range(0));
    std::string text(nBytes / 4, ' ');
    text += MakeCsv(nBytes / 2);
    text.append(nBytes / 4, '\t');
    qvhost::StandInHost host(BenchModule());
    const std::vector<qvhost::Arg> args{qvhost::Arg::Str(text), qvhost::Arg::Int(0)};
    for (auto _ : state)
        benchmark::DoNotOptimize(host.Call(7, args));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.SetLabel("linearity:trim-linearity");
}
BENCHMARK(BM_StrTrim)->Arg(4 << 20)->Arg(32 << 20)->MinTime(1.0)->Unit(benchmark::kMillisecond);
