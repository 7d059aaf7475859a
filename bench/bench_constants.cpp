#include "BenchHost.h"
#include "ConstantsData.h"
#include "ConstantsMap.h"
#include "qvPalvek.h"

#include <benchmark/benchmark.h>

#include <vector>

// The first pkGetConstants call: the fill of the whole map and one lookup.
static void BM_ConstantsFill(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        ResetConstantsMap();
        state.ResumeTiming();
        benchmark::DoNotOptimize(CqvPalvek::LookupConstant("xlDialogPhonetic"));
    }
    state.SetLabel("value:constants-fill-ms:ms");
}
BENCHMARK(BM_ConstantsFill)->Unit(benchmark::kMillisecond);

// Later lookups, over every name of the table in turn.
static void BM_ConstantsLookup(benchmark::State& state) {
    std::vector<std::string> names;
    for (uint32_t i = 0; i < g_nConstantEntries; ++i)
        names.emplace_back(g_achConstantNames + g_aConstantEntries[i].nNameOffset,
                           g_aConstantEntries[i].nNameLength);
    CqvPalvek::LookupConstant(names[0]);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CqvPalvek::LookupConstant(names[i]));
        i = i + 1 < names.size() ? i + 1 : 0;
    }
    state.SetLabel("value:constants-lookup-ns:ns");
}
BENCHMARK(BM_ConstantsLookup)->Unit(benchmark::kNanosecond);

// A whole pkGetConstants call through the entry point and the stand-in host.
static void BM_GetConstantsCall(benchmark::State& state) {
    qvhost::StandInHost host(BenchModule());
    const std::vector<qvhost::Arg> args{qvhost::Arg::Str("xlDialogPhonetic")};
    for (auto _ : state)
        benchmark::DoNotOptimize(host.Call(8, args));
}
BENCHMARK(BM_GetConstantsCall)->Unit(benchmark::kNanosecond);
