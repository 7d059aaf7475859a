#include "BenchHost.h"
#include "qvPalvek.h"

#include <benchmark/benchmark.h>

static void BM_NormalizeLineBreaks(benchmark::State& state) {
    const std::string text = MakeCsv(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        std::string copy = text;
        state.ResumeTiming();
        benchmark::DoNotOptimize(CqvPalvek::NormalizeLineBreaks(copy));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.SetLabel("linearity:normalize-linearity");
}
BENCHMARK(BM_NormalizeLineBreaks)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);
