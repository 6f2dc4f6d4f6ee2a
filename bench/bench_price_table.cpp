// A price table of each kind, beside the bare reads of the price files that
// it needs. A table costs 84 cells; every part costing of every cell reloads
// the four working tables, so a table can cost no less than (part costings)
// × (four file reads). The ratio printed at the end says what the table
// adds on top; it should stay within 1.5.

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "core/common/number_text.h"
#include "core/common/program_folder.h"
#include "core/costing/control_catalogue.h"
#include "core/costing/cost_book.h"
#include "core/job/form_state.h"
#include "core/costing/price_table.h"

namespace inkquot {
namespace {

using bench::benchFolder;

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

// The floor: the bare reads of the price files for each part costing.
void bareReads(benchmark::State& state, TableJob* job) {
    bench::bareReads(state, job->partCostings);
}

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
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%-14s %6s %10s %10s %7s %10s %10s %7s  (goal: ratio at most 1.5)\n", "table",
                "parts", "table ms", "reads ms", "ratio", "table cpu", "reads cpu", "ratio");
    for (const TableJob& job : jobs) {
        const auto t = reporter.time(std::string("table/") + job.name);
        const auto r = reporter.time(std::string("reads/") + job.name);
        if (t.real <= 0 || r.real <= 0) {
            continue;
        }
        std::printf("%-14s %6d %10.2f %10.2f %7.2f %10.2f %10.2f %7.2f\n", job.name,
                    job.partCostings, t.real, r.real, t.real / r.real, t.cpu, r.cpu, t.cpu / r.cpu);
    }
    benchmark::Shutdown();
    return 0;
}
