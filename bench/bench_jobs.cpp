// Whole jobs of every kind, each beside the bare reads of the price files
// that its part costings need: every CostPart reloads the four working
// tables, so a job can cost no less than (parts costed) × (four file reads).
// The ratio printed at the end says what the costing adds on top.

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "core/common/number_text.h"
#include "core/common/program_folder.h"
#include "core/costing/cost_book.h"
#include "core/costing/cost_box_bag.h"
#include "core/costing/cost_newspaper.h"
#include "core/costing/cost_single_sheet.h"
#include "core/costing/cost_sticker.h"
#include "core/job/form_state.h"

namespace inkquot {
namespace {

using bench::benchFolder;

FormState startingForm() {
    FormState form;
    form.setPaperNames(std::vector<std::string>(50, "纸"));
    form.setStickerPaperNames(std::vector<std::string>(10, "不干胶纸"));
    return form;
}

void tickAll(FormState& form, Ctl boxes, int count) {
    for (int i = 0; i < count; ++i) {
        form.setCheckState(boxes, i, CheckState::Checked);
    }
}

struct BenchJob {
    const char* name;
    FormState form;
    std::function<CostOutcome(const FormState&, CostResult&)> cost;
    int partCostings;
};

float number(const FormState& form, Ctl control, int index) {
    return parseNumber(form.text(control, index)).value_or(0);
}

int innerCostings(const FormState& form, int part, float pages) {
    const auto layout = layoutInnerBlock(pages, number(form, Ctl::Cmbkaizhi, part), 16);
    return layout ? static_cast<int>(layout->wholeSheets) + 2 : 0;
}

std::vector<BenchJob> benchJobs() {
    std::vector<BenchJob> jobs;
    const ProgramFolder& folder = benchFolder();

    // A 16开 book: cover, 400 pages of 内页一, 100 of 内页二, both inserts,
    // film, imposition, cover finishing and binding.
    FormState book = startingForm();
    for (int item = 0; item < 5; ++item) {
        book.setTicked(Ctl::Lsthua, item, true);
    }
    book.setText(Ctl::txtye, 0, "400");
    book.setText(Ctl::txtye, 1, "100");
    book.setText(Ctl::txttang, 0, "40");
    tickAll(book, Ctl::Chkhua, 6);
    const int bookCostings = 1 + innerCostings(book, 1, 400) + innerCostings(book, 2, 100) + 2;
    jobs.push_back({"book", book,
                    [&folder](const FormState& f, CostResult& r) {
                        return CostBook(folder, f, r, 10000, 16, 0.53f, 8, 0.53f, 400);
                    },
                    bookCostings});

    FormState paper = startingForm();
    paper.setTicked(Ctl::Lstbao, 0, true);
    paper.setTicked(Ctl::Lstbao, 1, true);
    paper.setText(Ctl::txtye, 2, "8");
    paper.setText(Ctl::txtye, 3, "8");
    tickAll(paper, Ctl::Chkbao, 2);
    jobs.push_back({"newspaper", paper,
                    [&folder](const FormState& f, CostResult& r) {
                        return CostNewspaper(folder, f, r, 20000, 2, 0.53f);
                    },
                    4});

    FormState leaflet = startingForm();
    tickAll(leaflet, Ctl::Chkdan, 6);
    jobs.push_back({"single sheet", leaflet,
                    [&folder](const FormState& f, CostResult& r) {
                        return CostSingleSheet(folder, f, r, 10000, 16, 0.53f);
                    },
                    1});

    FormState box = startingForm();
    box.setTicked(Ctl::lsthe, 0, true);
    box.setTicked(Ctl::lsthe, 1, true);
    box.setText(Ctl::txttang, 1, "25");
    tickAll(box, Ctl::Chkhe, 8);
    jobs.push_back({"box or bag", box,
                    [&folder](const FormState& f, CostResult& r) {
                        return CostBoxBag(folder, f, r, 10000, 16, 0.53f);
                    },
                    2});

    FormState label = startingForm();
    tickAll(label, Ctl::Chkbu, 5);
    jobs.push_back({"sticker", label,
                    [&folder](const FormState& f, CostResult& r) {
                        return CostSticker(folder, f, r, 10000, 0.53f, 16);
                    },
                    1});
    return jobs;
}

void costJob(benchmark::State& state, const BenchJob* job) {
    CostResult result;
    for (auto _ : state) {
        const CostOutcome outcome = job->cost(job->form, result);
        if (!outcome.ok()) {
            state.SkipWithError(outcome.refusal.c_str());
            return;
        }
        benchmark::DoNotOptimize(result);
    }
    state.counters["parts"] = job->partCostings;
}

// The floor: the bare reads of the price files for each of the job's part
// costings.
void readTables(benchmark::State& state, const BenchJob* job) {
    bench::bareReads(state, job->partCostings);
}

}  // namespace
}  // namespace inkquot

int main(int argc, char** argv) {
    using namespace inkquot;
    const std::vector<BenchJob> jobs = benchJobs();
    for (const BenchJob& job : jobs) {
        benchmark::RegisterBenchmark((std::string("job/") + job.name).c_str(), costJob, &job)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("reads/") + job.name).c_str(), readTables, &job)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%-14s %6s %12s %12s %7s\n", "job", "parts", "job us", "reads us", "ratio");
    for (const BenchJob& job : jobs) {
        const double costed = reporter.time(std::string("job/") + job.name).real;
        const double read = reporter.time(std::string("reads/") + job.name).real;
        if (costed <= 0 || read <= 0) {
            continue;
        }
        std::printf("%-14s %6d %12.1f %12.1f %7.2f\n", job.name, job.partCostings, costed, read,
                    costed / read);
    }
    benchmark::Shutdown();
    return 0;
}
