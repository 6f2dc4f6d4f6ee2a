#pragma once

// What every benchmark here shares: a program folder whose working files
// hold the built-in scheme, the floor that costing cannot go below (the bare
// reads of the four working files that every part costing does afresh), and
// a reporter that keeps each benchmark's time for the ratios printed at the
// end.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "core/common/program_folder.h"
#include "core/pricedata/price_tables.h"
#include "tests/core/costing/sample_parts.h"

namespace inkquot::bench {

// A program folder in the temporary folder, as after a scheme selection;
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
        if (!testing::writeDefaultWorkingFiles(ProgramFolder(root_)).ok()) {
            std::fprintf(stderr, "cannot write the working files in %s\n", root_.c_str());
            std::exit(1);
        }
    }
    ~BenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    ProgramFolder folder() const { return ProgramFolder(root_); }

private:
    std::filesystem::path root_;
};

inline const ProgramFolder& benchFolder() {
    static const BenchFolder folder;
    static const ProgramFolder program = folder.folder();
    return program;
}

// The floor: `times` × (open, read the whole file, close) of the four
// working files, with the paths formed once beforehand.
inline void bareReads(benchmark::State& state, int times) {
    std::array<std::string, 4> paths;
    for (std::size_t t = 0; t < paths.size(); ++t) {
        paths[t] = benchFolder().file(layoutOf(kAllPriceTables[t]).workingFile).string();
    }
    static char buffer[64 * 1024];
    for (auto _ : state) {
        for (int call = 0; call < times; ++call) {
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

// Keeps the console output and each benchmark's real and CPU time per
// iteration (the medians with --benchmark_repetitions). On a busy machine the
// CPU times (user and system, so the file reads count) give the steadier
// ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Times {
        double real = 0;
        double cpu = 0;
    };

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) {
                continue;
            }
            const std::string name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                times_[name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
                medians_[name] = true;
            } else if (run.run_type == Run::RT_Iteration && !medians_[name]) {
                times_[name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Zero times for a benchmark that did not run.
    Times time(const std::string& name) const {
        const auto it = times_.find(name);
        return it == times_.end() ? Times{} : it->second;
    }

private:
    std::map<std::string, Times> times_;
    std::map<std::string, bool> medians_;
};

}  // namespace inkquot::bench
