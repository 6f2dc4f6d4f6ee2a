// Whole jobs of every kind, each beside the bare reads of the price files
// that its part costings need: every CostPart reloads the four working
// tables, so a job can cost no less than (parts costed) × (four file reads).
// The ratio printed at the end says what the costing adds on top.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/common/number_text.h"
#include "core/common/program_folder.h"
#include "core/costing/cost_book.h"
#include "core/costing/cost_box_bag.h"
#include "core/costing/cost_newspaper.h"
#include "core/costing/cost_single_sheet.h"
#include "core/costing/cost_sticker.h"
#include "core/costing/form_state.h"
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
        root_ = ::mkdtemp(pattern.data());
        const ProgramFolder folder(root_);
        bool ok = writeTable(folder.file("fjiben.dat"), defaultJibenTable()).ok();
        ok = writeTable(folder.file("fgongjia.dat"), defaultGongjiaTable()).ok() && ok;
        ok =
            writeTable(folder.file("fzhijia.dat"), PriceTable::Zhijia, defaultZhijiaTable()).ok() &&
            ok;
        ok = writeTable(folder.file("fzhijiabu.dat"), PriceTable::Zhijiabu, defaultZhijiabuTable())
                 .ok() &&
             ok;
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

// The floor: what the job's part costings read from disk, and nothing else.
void readTables(benchmark::State& state, const BenchJob* job) {
    const ProgramFolder& folder = benchFolder();
    std::array<TableImage, 4> images;
    for (auto _ : state) {
        for (int call = 0; call < job->partCostings; ++call) {
            for (std::size_t t = 0; t < kAllPriceTables.size(); ++t) {
                const PriceTable table = kAllPriceTables[t];
                const IoStatus status =
                    TableImage::load(folder.file(layoutOf(table).workingFile), table, images[t]);
                benchmark::DoNotOptimize(status);
            }
            benchmark::DoNotOptimize(images);
        }
    }
}

// Keeps the mean time of every run by name, to print the ratios after.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

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
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%-14s %6s %12s %12s %7s\n", "job", "parts", "job us", "reads us", "ratio");
    for (const BenchJob& job : jobs) {
        const auto costed = reporter.times.find(std::string("job/") + job.name);
        const auto read = reporter.times.find(std::string("reads/") + job.name);
        if (costed == reporter.times.end() || read == reporter.times.end()) {
            continue;
        }
        std::printf("%-14s %6d %12.1f %12.1f %7.2f\n", job.name, job.partCostings, costed->second,
                    read->second, costed->second / read->second);
    }
    benchmark::Shutdown();
    return 0;
}
