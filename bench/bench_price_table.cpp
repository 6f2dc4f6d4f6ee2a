// A price table of each kind, beside the bare reads of the price files that
// it needs. A table costs 84 cells; every part costing of every cell reloads
// the four working tables, so a table can cost no less than (part costings)
// × (four file reads). The ratio printed at the end says what the table
// adds on top; it should stay within 1.5.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/common/number_text.h"
#include "core/common/program_folder.h"
#include "core/costing/control_catalogue.h"
#include "core/costing/cost_book.h"
#include "core/costing/form_state.h"
#include "core/costing/price_table.h"
#include "core/pricedata/default_scheme.h"
#include "core/pricedata/price_tables.h"

namespace inkquot {
namespace {

// A program folder holding the built-in scheme as its working tables,
// removed at exit.
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
        const bool ok =
            writeTable(folder.file("fjiben.dat"), defaultJibenTable()).ok() &&
            writeTable(folder.file("fgongjia.dat"), defaultGongjiaTable()).ok() &&
            writeTable(folder.file("fzhijia.dat"), PriceTable::Zhijia, defaultZhijiaTable()).ok() &&
            writeTable(folder.file("fzhijiabu.dat"), PriceTable::Zhijiabu, defaultZhijiabuTable())
                .ok();
        if (!ok) {
            std::fprintf(stderr, "cannot write the price tables in %s\n", root_.c_str());
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

const ProgramFolder& benchFolder() {
    static const BenchFolder folder;
    static const ProgramFolder program = folder.folder();
    return program;
}

struct TableJob {
    const char* name;
    FormState form;
    int partCostings = 0;  // over the whole table
};

FormState startingForm(int kind) {
    FormState form;
    form.setPaperNames(std::vector<std::string>(50, "铜版纸"));
    form.setStickerPaperNames(std::vector<std::string>(10, "不干胶纸"));
    form.setListIndex(Ctl::comleibie, 0, kind);
    return form;
}

// The part costings of a table: one per printed part of each cell, and for
// a book the cover (or, without one, the cover finishing), the whole press
// sheets of the inner block and its two remainder parts.
int partCostingsOf(FormState form) {
    CostResult result;
    const auto grid = generatePriceTable(benchFolder(), form, result);
    if (!grid || grid->refusedCount() > 0) {
        std::fprintf(stderr, "the bench table does not price\n");
        std::exit(1);
    }
    if (grid->kind != kBook) {
        return kTableCellCount;
    }
    const float sheetKai = parseNumber(form.text(Ctl::Cmbkaizhi, 1)).value_or(0);
    int calls = 0;
    for (float pages : grid->rows) {
        const auto layout = layoutInnerBlock(pages, sheetKai, 16);
        calls += 1 + static_cast<int>(layout->wholeSheets) + 2;
    }
    return calls * kTableSeriesCount * kTableQuantityCount;
}

std::vector<TableJob>& tableJobs() {
    static std::vector<TableJob> jobs = [] {
        std::vector<TableJob> out;
        FormState book = startingForm(kBook);
        book.setTicked(Ctl::Lsthua, 0, true);
        out.push_back({"book", book});
        out.push_back({"single sheet", startingForm(kSingleSheet)});
        FormState box = startingForm(kBoxBag);
        box.setCheckState(Ctl::Chkhe, 6, CheckState::Checked);
        out.push_back({"box", box});
        for (TableJob& job : out) {
            job.partCostings = partCostingsOf(job.form);
        }
        return out;
    }();
    return jobs;
}

void generate(benchmark::State& state, TableJob* job) {
    CostResult result;
    for (auto _ : state) {
        auto grid = generatePriceTable(benchFolder(), job->form, result);
        benchmark::DoNotOptimize(grid);
    }
    state.counters["parts"] = job->partCostings;
}

// The floor: open, read the whole file, close, four times per part costing,
// with the paths formed once beforehand.
void bareReads(benchmark::State& state, TableJob* job) {
    std::array<std::string, 4> paths;
    for (std::size_t t = 0; t < paths.size(); ++t) {
        paths[t] = benchFolder().file(layoutOf(kAllPriceTables[t]).workingFile).string();
    }
    static char buffer[64 * 1024];
    for (auto _ : state) {
        for (int call = 0; call < job->partCostings; ++call) {
            for (const std::string& path : paths) {
                const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
                const ssize_t n = ::read(fd, buffer, sizeof buffer);
                ::close(fd);
                benchmark::DoNotOptimize(n);
            }
        }
        benchmark::ClobberMemory();
    }
}

// Keeps each benchmark's real and CPU time per iteration (the medians with
// repetitions). On a busy machine the CPU times (user and system, so the
// file reads count) give the steadier ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) {
                continue;
            }
            const std::string name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                times[name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
                medians_[name] = true;
            } else if (run.run_type == Run::RT_Iteration && !medians_[name]) {
                times[name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    struct Times {
        double real = 0;
        double cpu = 0;
    };
    std::map<std::string, Times> times;

private:
    std::map<std::string, bool> medians_;
};

}  // namespace
}  // namespace inkquot

int main(int argc, char** argv) {
    using namespace inkquot;
    std::vector<TableJob>& jobs = tableJobs();
    for (TableJob& job : jobs) {
        benchmark::RegisterBenchmark((std::string("table/") + job.name).c_str(), generate, &job)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("reads/") + job.name).c_str(), bareReads, &job)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%-14s %6s %10s %10s %7s %10s %10s %7s  (goal: ratio at most 1.5)\n", "table",
                "parts", "table ms", "reads ms", "ratio", "table cpu", "reads cpu", "ratio");
    for (const TableJob& job : jobs) {
        const auto table = reporter.times.find(std::string("table/") + job.name);
        const auto reads = reporter.times.find(std::string("reads/") + job.name);
        if (table == reporter.times.end() || reads == reporter.times.end()) {
            continue;
        }
        const auto& t = table->second;
        const auto& r = reads->second;
        std::printf("%-14s %6d %10.2f %10.2f %7.2f %10.2f %10.2f %7.2f\n", job.name,
                    job.partCostings, t.real, r.real, t.real / r.real, t.cpu, r.cpu, t.cpu / r.cpu);
    }
    benchmark::Shutdown();
    return 0;
}
