// A batch of jobs through `inkquot-cli price --lines`, beside the floor of
// the file reads its costing needs (the four working files for each part
// costing), with the tool's peak memory. Run with --jobs=N for another batch
// size than 10,000 leaflets, or give a batch of your own:
//   --input=FILE   the JSON Lines of FILE (a realistic mix, as
//                  `price --describe --lines` writes it);
//   --parts=N      the part costings that batch does, for the floor;
//   --written-out  each job of FILE with every control written out;
//   --cli=PATH     another build of the tool, to compare two builds.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "core/costing/control_catalogue.h"
#include "core/job/job_description.h"
#include "core/job/json_text.h"

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

Run runTool(const char* cli, const std::string& folder, const std::string& input) {
    Run run;
    const auto started = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open(input.c_str(), O_RDONLY);
        const int out = ::open("/dev/null", O_WRONLY);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::execl(cli, cli, "--dir", folder.c_str(), "price", "--lines", static_cast<char*>(nullptr));
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

// The job of `line` with every control of its form written out, as a job
// saved by a program that writes everything would look.
std::string writtenOut(const std::string& line, const inkquot::FormState& starting) {
    using inkquot::ControlKind;
    inkquot::FormState form = starting;
    inkquot::readJobDescription(inkquot::readJsonText(line), "bench", form);
    nlohmann::json controls = nlohmann::json::object();
    for (const inkquot::ControlDef& d : inkquot::controlCatalogue()) {
        if (d.control == inkquot::Ctl::comleibie) {
            continue;
        }
        const int count = d.kind == ControlKind::PartList
                              ? static_cast<int>(d.entries.front().items.size())
                              : d.count();
        const bool single = count == 1 && d.kind != ControlKind::PartList;
        for (int i = 0; i < count; ++i) {
            if (single) {
                controls[std::string(d.name)] = inkquot::describedValue(d, i, form);
            } else {
                controls[std::string(d.name)][std::to_string(i)] = inkquot::describedValue(d, i, form);
            }
        }
    }
    return nlohmann::json{{"kind", form.listIndex(inkquot::Ctl::comleibie)},
                          {"controls", std::move(controls)}}
        .dump();
}

}  // namespace

int main(int argc, char** argv) {
    long jobs = 10000;
    long parts = -1;
    std::string given;
    bool everyControl = false;
    const char* cli = INKQUOT_CLI_PATH;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--jobs=", 7) == 0) {
            jobs = std::strtol(argv[i] + 7, nullptr, 10);
        } else if (std::strncmp(argv[i], "--parts=", 8) == 0) {
            parts = std::strtol(argv[i] + 8, nullptr, 10);
        } else if (std::strncmp(argv[i], "--input=", 8) == 0) {
            given = argv[i] + 8;
        } else if (std::strcmp(argv[i], "--written-out") == 0) {
            everyControl = true;
        } else if (std::strncmp(argv[i], "--cli=", 6) == 0) {
            cli = argv[i] + 6;
        }
    }
    const std::string folder = inkquot::bench::benchFolder().root().string();
    const std::string input = inkquot::bench::benchFolder().file("batch.jsonl").string();
    {
        std::ofstream out(input, std::ios::binary);
        if (given.empty()) {
            for (long i = 0; i < jobs; ++i) {
                out << kLeaflet << '\n';
            }
        } else {
            inkquot::FormState starting;
            inkquot::fillPaperLists(inkquot::bench::benchFolder(), starting);
            std::ifstream in(given, std::ios::binary);
            jobs = 0;
            for (std::string line; std::getline(in, line); ++jobs) {
                out << (everyControl ? writtenOut(line, starting) : line) << '\n';
            }
        }
    }
    // A leaflet is one part costing.
    parts = parts < 0 ? jobs : parts;
    // Each round runs the tool and then the floor, so that both meet the
    // machine in the same moment; the ratio is the median of the rounds'.
    constexpr int kRounds = 7;
    Run best;
    best.seconds = 1e30;
    double floor = 1e30;
    std::vector<double> ratios;
    for (int round = 0; round < kRounds; ++round) {
        const Run run = runTool(cli, folder, input);
        if (!WIFEXITED(run.status) || WEXITSTATUS(run.status) != 0) {
            std::fprintf(stderr, "inkquot-cli failed (status %d)\n", run.status);
            return 1;
        }
        if (run.seconds < best.seconds) {
            best = run;
        }
        const double reads = bareReadSeconds(parts);
        floor = std::min(floor, reads);
        ratios.push_back(run.seconds / reads);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf(
        "%ld jobs, %ld part costings: batch %.3f s, floor %.3f s (best of %d), ratio %.2f (median "
        "of the rounds); peak memory %.1f MiB\n",
        jobs, parts, best.seconds, floor, kRounds, ratios[ratios.size() / 2],
        best.peakKib / 1024.0);
    return 0;
}
