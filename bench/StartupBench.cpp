// Starts the program's start-up benchmark and its floor in turn, `runs` times each, on the
// offscreen platform, and prints the fastest and the median start of each:
//   startup_bench <startup_kelvane> <startup_floor> <runs>

#include "BenchClock.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// One start: the program's own report of the time from our clock reading to its first paint.
double StartOnce(const char* program) {
    int out[2];
    if (pipe(out) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char clock[64];
    std::snprintf(clock, sizeof clock, "%.3f", NowMs());
    char* const args[] = {const_cast<char*>(program), clock, nullptr};
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, program, &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    char chunk[256];
    for (ssize_t n; (n = read(out[0], chunk, sizeof chunk)) > 0;)
        text.append(chunk, static_cast<std::size_t>(n));
    close(out[0]);
    if (failed) return -1;
    waitpid(pid, nullptr, 0);
    const std::size_t at = text.find("ms=");
    return at == std::string::npos ? -1 : std::stod(text.substr(at + 3));
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_bench <startup_kelvane> <startup_floor> <runs>\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const int runs = std::max(1, std::atoi(argv[3]));
    std::vector<double> kelvane, floor;
    StartOnce(argv[1]); // the first start of each also loads the libraries from disk
    StartOnce(argv[2]);
    for (int i = 0; i < runs; ++i) {
        kelvane.push_back(StartOnce(argv[1]));
        floor.push_back(StartOnce(argv[2]));
    }
    if (*std::min_element(kelvane.begin(), kelvane.end()) < 0 ||
        *std::min_element(floor.begin(), floor.end()) < 0) {
        std::fprintf(stderr, "a start-up program did not report its first paint\n");
        return 1;
    }
    std::printf("ms=%.2f floor_ms=%.2f median_ms=%.2f floor_median_ms=%.2f\n",
                *std::min_element(kelvane.begin(), kelvane.end()),
                *std::min_element(floor.begin(), floor.end()), Median(kelvane), Median(floor));
    return 0;
}
