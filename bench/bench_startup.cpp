// Start-up of the desktop program beside a bare Qt program showing one
// dialog: time from the start of the process to the password window and to
// a usable main window, the processor time of the whole run (steadier on a
// busy machine) and peak memory. Each is run --rounds=N times (5 by
// default) and the medians are compared. Runs offscreen unless a platform is
// chosen. A last row times the window from the answer to usable when the
// answer comes as late as a person's would. A row for the floor whose dialog
// shows one line of Chinese text tells how much of each ratio the first text
// of any Chinese screen takes.

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

namespace {

using Clock = std::chrono::steady_clock;

struct Start {
    double password = 0;  // ms
    double usable = 0;    // ms
    double answered = 0;  // ms; the floor does not wait for an answer
    double peakMib = 0;
    double cpu = 0;  // ms of user and system time of the whole run
};

Start runOnce(const char* program, const char* argument = nullptr) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    const auto started = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeFds[1], 1);
        ::close(pipeFds[0]);
        ::execl(program, program, argument, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    Start s;
    std::FILE* out = ::fdopen(pipeFds[0], "r");
    char line[64];
    while (std::fgets(line, sizeof line, out) != nullptr) {
        const double ms =
            std::chrono::duration<double, std::milli>(Clock::now() - started).count();
        if (std::strncmp(line, "password", 8) == 0) {
            s.password = ms;
        } else if (std::strncmp(line, "answered", 8) == 0) {
            s.answered = ms;
        } else if (std::strncmp(line, "usable", 6) == 0) {
            s.usable = ms;
        }
    }
    std::fclose(out);
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    s.peakMib = usage.ru_maxrss / 1024.0;
    s.cpu = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
            (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    return s;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

Start medianRun(const char* program, int rounds, const char* argument = nullptr) {
    std::vector<double> password, usable, answered, peak, cpu;
    for (int i = 0; i < rounds; ++i) {
        const Start s = runOnce(program, argument);
        password.push_back(s.password);
        usable.push_back(s.usable);
        answered.push_back(s.answered);
        peak.push_back(s.peakMib);
        cpu.push_back(s.cpu);
    }
    return {median(password), median(usable), median(answered), median(peak), median(cpu)};
}

// From the answer to a usable window when the answer comes half a second
// after the prompt, as a person types it: the program builds its pages
// behind the prompt meanwhile. The floor has nothing to build: its window
// follows its dialog at once.
void answeredLater(int rounds) {
    ::setenv("INKQUOT_PROBE_TYPING_MS", "500", 1);
    std::vector<double> program, floor;
    for (int i = 0; i < rounds; ++i) {
        const Start p = runOnce(INKQUOT_STARTUP_PROBE);
        program.push_back(p.usable - p.answered);
        const Start f = runOnce(INKQUOT_STARTUP_FLOOR);
        floor.push_back(f.usable - f.password);
    }
    ::unsetenv("INKQUOT_PROBE_TYPING_MS");
    const double p = median(program);
    const double f = median(floor);
    std::printf("%-28s %10.1f %10.1f %7.2f\n", "usable after a 0.5 s answer", p, f, p / f);
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 5;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--rounds=", 9) == 0) {
            rounds = std::max(1, std::atoi(argv[i] + 9));
        }
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    runOnce(INKQUOT_STARTUP_FLOOR);  // warm the file cache for both
    runOnce(INKQUOT_STARTUP_PROBE);
    const Start floor = medianRun(INKQUOT_STARTUP_FLOOR, rounds);
    const Start program = medianRun(INKQUOT_STARTUP_PROBE, rounds);
    std::printf("%-28s %10s %10s %7s\n", "median of runs", "program", "floor", "ratio");
    std::printf("%-28s %10.1f %10.1f %7.2f\n", "password window (ms)", program.password,
                floor.password, program.password / floor.password);
    std::printf("%-28s %10.1f %10.1f %7.2f\n", "main window usable (ms)", program.usable,
                floor.usable, program.usable / floor.usable);
    std::printf("%-28s %10.1f %10.1f %7.2f\n", "processor time to usable (ms)", program.cpu,
                floor.cpu, program.cpu / floor.cpu);
    std::printf("%-28s %10.1f %10.1f %7.2f\n", "peak memory (MiB)", program.peakMib,
                floor.peakMib, program.peakMib / floor.peakMib);
    const Start labelled = medianRun(INKQUOT_STARTUP_FLOOR, rounds, "--label");
    std::printf("floor with one Chinese label: password %.1f ms (%.2fx), usable %.1f ms (%.2fx), "
                "peak %.1f MiB (%.2fx)\n",
                labelled.password, labelled.password / floor.password, labelled.usable,
                labelled.usable / floor.usable, labelled.peakMib, labelled.peakMib / floor.peakMib);
    answeredLater(rounds);
    return 0;
}
