// The history at scale: a query and a deletion over a generated history,
// each beside the bare file operation it cannot beat (reading the file once;
// copying it once with the same flush to disk). Run with --records=N for
// another size than 100,000 quotations.

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/bench_support.h"
#include "core/common/file_io.h"
#include "core/records/history_file.h"
#include "core/records/history_query.h"
#include "core/records/history_scan.h"
#include "core/records/history_summary.h"

namespace inkquot {
namespace {

constexpr std::size_t kPiece = 1024 * kHistorySlotLength;
constexpr int kShown = 1000;  // records the history page lists at most

std::filesystem::path historyFile() {
    return bench::benchFolder().file(kHistoryFileName);
}

void writeHistory(std::uint64_t records) {
    JiluRec r;
    r.Kehuming = "某某印务有限公司";
    r.Yinjianming = "产品宣传画册";
    r.Shuliang = 5000;
    r.Guige = "大度16开";
    r.Yaoqiu = "封面大度8开157克铜版纸4+0色印刷；内页一48页，128克铜版纸4+4色印刷；骑马订装订；";
    r.Danjia = 2.3456f;
    r.Zongjia = 11728;
    AtomicFileWriter writer(historyFile());
    std::string piece;
    for (std::uint64_t i = 0; i < records; ++i) {
        r.Riqi = 46000 + static_cast<double>(i % 1000);
        // A shop's few thousand customers, every one a 印务 company.
        r.Kehuming = "某某印务有限公司" + std::to_string(i % 5000);
        std::string slot;
        encodeJiluSlot(r, slot);
        piece += slot;
        if (piece.size() >= kPiece) {
            writer.write(piece);
            piece.clear();
        }
    }
    writer.write(piece);
    if (!writer.commit()) {
        std::fprintf(stderr, "cannot write the history\n");
        std::exit(1);
    }
}

void bareRead(benchmark::State& state) {
    std::string buffer(kPiece, '\0');
    const std::string path = historyFile().string();
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        while (::read(fd, buffer.data(), buffer.size()) > 0) {
        }
        ::close(fd);
        benchmark::ClobberMemory();
    }
}

// What the history page does for a query: read every record, count the
// matches and build the lines of the first ones shown.
void query(benchmark::State& state, const HistoryQuery* q) {
    const auto matcher = HistoryMatcher::from(*q);
    for (auto _ : state) {
        std::vector<std::string> lines;
        HistoryScanResult result;
        scanHistory(
            historyFile(), *matcher,
            [&](std::string_view data, std::uint64_t k) {
                for (auto& line : historyLines(decodeJilu(data), static_cast<int>(k))) {
                    lines.push_back(std::move(line));
                }
            },
            {}, result, kShown);
        benchmark::DoNotOptimize(lines.data());
        state.counters["matched"] = static_cast<double>(result.matched);
    }
}

// The history page's glance: every record's month and customer summed.
void summary(benchmark::State& state, const HistoryQuery* q) {
    const auto matcher = HistoryMatcher::from(*q);
    for (auto _ : state) {
        HistorySummary s;
        summarizeHistory(historyFile(), *matcher, s);
        benchmark::DoNotOptimize(s.customers.data());
    }
}

// The floor of a deletion: copy the file piece by piece to a new file,
// flush it to disk and rename it over a scratch name.
void bareCopy(benchmark::State& state) {
    std::string buffer(kPiece, '\0');
    const std::string from = historyFile().string();
    const std::string to = bench::benchFolder().file("copy.dat").string();
    for (auto _ : state) {
        const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
        const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        ssize_t n;
        while ((n = ::read(in, buffer.data(), buffer.size())) > 0) {
            if (::write(out, buffer.data(), static_cast<std::size_t>(n)) != n) {
                state.SkipWithError("write failed");
                break;
            }
        }
        ::fsync(out);
        ::close(out);
        ::close(in);
        ::rename(to.c_str(), bench::benchFolder().file("copy2.dat").c_str());
    }
}

// A deletion up to a day before every record: the worst case, every record
// is copied (and the file stays the same for the next round).
void deleteUpTo(benchmark::State& state) {
    for (auto _ : state) {
        std::size_t dropped = 0;
        if (!deleteHistoryUpTo(historyFile(), 45000, &dropped)) {
            state.SkipWithError("deletion failed");
            return;
        }
        benchmark::DoNotOptimize(dropped);
    }
}

// Saving one quotation into the history (it grows by one record a round),
// beside the copy of the whole file that saving once cost.
void appendOne(benchmark::State& state) {
    JiluRec rec;
    rec.Riqi = 46363;
    rec.Kehuming = "追加客户";
    rec.Yinjianming = "追加印件";
    for (auto _ : state) {
        if (!appendHistory(historyFile(), rec)) {
            state.SkipWithError("append failed");
            return;
        }
    }
}

}  // namespace
}  // namespace inkquot

int main(int argc, char** argv) {
    using namespace inkquot;
    std::uint64_t records = 100000;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--records=", 10) == 0) {
            records = std::strtoull(argv[i] + 10, nullptr, 10);
        }
    }
    writeHistory(records);
    static const HistoryQuery all{};
    static HistoryQuery customer;
    customer.customer = "印务";
    static HistoryQuery byDate;
    byDate.mode = HistoryMode::Date;
    byDate.cutoff = "2025/12/1";

    benchmark::RegisterBenchmark("history/bare read", bareRead)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("history/query all", query, &all)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("history/query customer", query, &customer)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("history/query date", query, &byDate)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("history/summary all", summary, &all)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("history/summary customer", summary, &customer)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("history/bare copy", bareCopy)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("history/delete up to", deleteUpTo)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("history/append one", appendOne)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\n%llu records\n%-24s %10s %10s %7s\n", static_cast<unsigned long long>(records),
                "what", "ms", "floor ms", "ratio");
    const auto row = [&](const char* what, const char* floor) {
        const double t = reporter.time(what).real;
        const double f = reporter.time(floor).real;
        if (t > 0 && f > 0) {
            std::printf("%-24s %10.1f %10.1f %7.2f\n", what + 8, t, f, t / f);
        }
    };
    row("history/query all", "history/bare read");
    row("history/query customer", "history/bare read");
    row("history/query date", "history/bare read");
    row("history/summary all", "history/bare read");
    row("history/summary customer", "history/bare read");
    row("history/delete up to", "history/bare copy");
    row("history/append one", "history/bare copy");
    benchmark::Shutdown();
    return 0;
}
