// A batch of jobs through `inkquot-cli price --lines`, beside the floor of
// the file reads its costing needs (the four working files for each part
// costing), with the tool's peak memory. Run with --jobs=N for another batch
// size than 10,000 leaflets.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_support.h"

namespace {

using Clock = std::chrono::steady_clock;

// One printed part: a 16开 leaflet on 四开 sheets, printing only.
const char* const kLeaflet =
    R"({"kind": 2, "controls": {"txtshuliang": {"2": "1000"}, "Ncomkai": {"5": "16"},)"
    R"( "Cmbkaizhi": {"7": "4"}, "Ncomke": {"7": "157"}, "Chkdan": {"0": 1}}})";

struct Run {
    double seconds = 0;
    long peakKib = 0;
    int status = -1;
};

Run runTool(const std::string& folder, const std::string& input) {
    Run run;
    const auto started = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open(input.c_str(), O_RDONLY);
        const int out = ::open("/dev/null", O_WRONLY);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::execl(INKQUOT_CLI_PATH, INKQUOT_CLI_PATH, "--dir", folder.c_str(), "price", "--lines",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    struct rusage usage {};
    ::wait4(pid, &run.status, 0, &usage);
    run.seconds = std::chrono::duration<double>(Clock::now() - started).count();
    run.peakKib = usage.ru_maxrss;
    return run;
}

double bareReadSeconds(long times) {
    std::array<std::string, 4> paths;
    for (std::size_t t = 0; t < paths.size(); ++t) {
        paths[t] = inkquot::bench::benchFolder()
                       .file(inkquot::layoutOf(inkquot::kAllPriceTables[t]).workingFile)
                       .string();
    }
    static char buffer[64 * 1024];
    const auto started = Clock::now();
    for (long call = 0; call < times; ++call) {
        for (const std::string& path : paths) {
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            benchmark::DoNotOptimize(::read(fd, buffer, sizeof buffer));
            ::close(fd);
        }
    }
    return std::chrono::duration<double>(Clock::now() - started).count();
}

}  // namespace

int main(int argc, char** argv) {
    long jobs = 10000;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--jobs=", 7) == 0) {
            jobs = std::strtol(argv[i] + 7, nullptr, 10);
        }
    }
    const std::string folder = inkquot::bench::benchFolder().root().string();
    const std::string input = inkquot::bench::benchFolder().file("batch.jsonl").string();
    {
        std::FILE* f = std::fopen(input.c_str(), "w");
        for (long i = 0; i < jobs; ++i) {
            std::fprintf(f, "%s\n", kLeaflet);
        }
        std::fclose(f);
    }
    // Each round runs the tool and then the floor, so that both meet the
    // machine in the same moment; the ratio is the median of the rounds'.
    constexpr int kRounds = 7;
    Run best;
    best.seconds = 1e30;
    double floor = 1e30;
    std::vector<double> ratios;
    for (int round = 0; round < kRounds; ++round) {
        const Run run = runTool(folder, input);
        if (!WIFEXITED(run.status) || WEXITSTATUS(run.status) != 0) {
            std::fprintf(stderr, "inkquot-cli failed (status %d)\n", run.status);
            return 1;
        }
        if (run.seconds < best.seconds) {
            best = run;
        }
        const double reads = bareReadSeconds(jobs);  // one part costing a job
        floor = std::min(floor, reads);
        ratios.push_back(run.seconds / reads);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf(
        "%ld jobs: batch %.3f s, floor %.3f s (best of %d), ratio %.2f (median of the rounds); "
        "peak memory %.1f MiB\n",
        jobs, best.seconds, floor, kRounds, ratios[ratios.size() / 2], best.peakKib / 1024.0);
    return 0;
}
