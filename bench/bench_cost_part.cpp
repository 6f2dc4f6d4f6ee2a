// The costing of one printed part, beside the floor it cannot go below: the
// bare reads of the four working price files that every part costing does
// afresh. Prints the ratio at the end; the part costing should stay within
// 1.5 times the bare reads.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "core/common/program_folder.h"
#include "core/costing/part_costing.h"
#include "core/pricedata/default_scheme.h"
#include "core/pricedata/price_tables.h"

namespace {

using namespace inkquot;

// A program folder in the temporary folder whose working files hold the
// built-in scheme, as after a scheme selection.
class BenchFolder {
public:
    BenchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "inkquot-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        root_ = pattern;
        const ProgramFolder folder(root_);
        bool ok =
            writeTable(folder.file("fjiben.dat"), defaultJibenTable()).ok() &&
            writeTable(folder.file("fgongjia.dat"), defaultGongjiaTable()).ok() &&
            writeTable(folder.file("fzhijia.dat"), PriceTable::Zhijia, defaultZhijiaTable()).ok() &&
            writeTable(folder.file("fzhijiabu.dat"), PriceTable::Zhijiabu, defaultZhijiabuTable())
                .ok();
        if (!ok) {
            std::fprintf(stderr, "cannot write the working files in %s\n", root_.c_str());
            std::exit(1);
        }
    }
    ~BenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    ProgramFolder folder() const { return ProgramFolder(root_); }

private:
    std::filesystem::path root_;
};

BenchFolder& benchFolder() {
    static BenchFolder f;
    return f;
}

// A 16开 leaflet with film, imposition, surface finishing, die cutting and
// folding: every step of the rules that a single sheet can take.
PartSpec leaflet() {
    PartSpec s;
    s.quantity = 5000;
    s.halfSheetArea = 0.53f;
    s.kai = 16;
    s.sheetKai = 4;
    s.gsm = 157;
    s.paperIndex = 1;
    s.coloursFront = 4;
    s.coloursBack = 4;
    s.spotColours = 1;
    s.printFlag = 1;
    s.workAndTurn = 1;
    s.press = 1;
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
    s.printDifficulty = 1;
    s.dieCutDifficulty = 1;
    s.dieBoardDifficulty = 1;
    return s;
}

void BM_CostPart(benchmark::State& state) {
    const ProgramFolder folder = benchFolder().folder();
    const PartSpec spec = leaflet();
    PartCost cost;
    PriceBook book;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CostPart(folder, spec, cost, book));
        benchmark::DoNotOptimize(cost);
    }
}
BENCHMARK(BM_CostPart);

// The floor: open, read the whole file, close, four times, with the paths
// formed once beforehand.
void BM_BareReads(benchmark::State& state) {
    const ProgramFolder folder = benchFolder().folder();
    std::array<std::string, 4> paths;
    for (std::size_t t = 0; t < paths.size(); ++t) {
        paths[t] = folder.file(layoutOf(kAllPriceTables[t]).workingFile).string();
    }
    static char buffer[64 * 1024];
    for (auto _ : state) {
        for (const std::string& path : paths) {
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            ::close(fd);
            benchmark::DoNotOptimize(n);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BareReads);

void BM_CostPartWithoutFiles(benchmark::State& state) {
    PriceBook book;
    if (!LoadPriceBook(benchFolder().folder(), book).ok()) {
        state.SkipWithError("cannot load the price book");
        return;
    }
    const PartSpec spec = leaflet();
    for (auto _ : state) {
        benchmark::DoNotOptimize(costPartWithBook(book, spec));
    }
}
BENCHMARK(BM_CostPartWithoutFiles);

// Keeps the console output and remembers each benchmark's time per
// iteration for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        // With --benchmark_repetitions the median wins over single runs.
        for (const Run& run : runs) {
            if (run.error_occurred) {
                continue;
            }
            const std::string name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                nanos_[name] = run.GetAdjustedRealTime();
                medians_.insert(name);
            } else if (run.run_type == Run::RT_Iteration && medians_.count(name) == 0) {
                nanos_[name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double time(const std::string& name) const {
        const auto it = nanos_.find(name);
        return it == nanos_.end() ? 0 : it->second;
    }

private:
    std::map<std::string, double> nanos_;
    std::set<std::string> medians_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double costPart = reporter.time("BM_CostPart");
    const double bareReads = reporter.time("BM_BareReads");
    if (costPart > 0 && bareReads > 0) {
        std::printf("\nCostPart / bare reads of the four working files: %.2f (goal: at most 1.5)\n",
                    costPart / bareReads);
    }
    benchmark::Shutdown();
    return 0;
}
