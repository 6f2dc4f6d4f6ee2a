// The costing of one printed part, beside the floor it cannot go below: the
// bare reads of the four working price files that every part costing does
// afresh. Prints the ratio at the end; the part costing should stay within
// 1.5 times the bare reads.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/bench_support.h"
#include "core/costing/part_costing.h"
#include "tests/core/costing/sample_parts.h"

namespace {

using namespace inkquot;

using bench::benchFolder;

// A 16开 leaflet with film, imposition, surface finishing, die cutting and
// folding: every step of the rules that a single sheet can take.
PartSpec leaflet() {
    PartSpec s = testing::leafletPart(5000);
    s.coloursBack = 4;
    s.spotColours = 1;
    s.workAndTurn = 1;
    s.filmFlag = 1;
    s.filmMode = 3;
    s.impositionFlag = 1;
    s.surfaceFlag = 1;
    s.surfaceSides = 1;
    s.surfaceType = 2;
    s.dieCutFlag = 1;
    s.dieBoardFlag = 1;
    s.foldFlag = 1;
    s.folds = 2;
    return s;
}

void BM_CostPart(benchmark::State& state) {
    const ProgramFolder folder = benchFolder();
    const PartSpec spec = leaflet();
    PartCost cost;
    PriceBook book;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CostPart(folder, spec, cost, book));
        benchmark::DoNotOptimize(cost);
    }
}
BENCHMARK(BM_CostPart);

void BM_BareReads(benchmark::State& state) {
    bench::bareReads(state, 1);
}
BENCHMARK(BM_BareReads);

void BM_CostPartWithoutFiles(benchmark::State& state) {
    PriceBook book;
    if (!LoadPriceBook(benchFolder(), book).ok()) {
        state.SkipWithError("cannot load the price book");
        return;
    }
    const PartSpec spec = leaflet();
    for (auto _ : state) {
        benchmark::DoNotOptimize(costPartWithBook(book, spec));
    }
}
BENCHMARK(BM_CostPartWithoutFiles);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double costPart = reporter.time("BM_CostPart").real;
    const double bareReads = reporter.time("BM_BareReads").real;
    if (costPart > 0 && bareReads > 0) {
        std::printf("\nCostPart / bare reads of the four working files: %.2f (goal: at most 1.5)\n",
                    costPart / bareReads);
    }
    benchmark::Shutdown();
    return 0;
}
