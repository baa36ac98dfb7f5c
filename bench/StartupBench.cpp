// Start-up to the first painted calendar window with 10,000 people in the data file, and the
// process's peak memory and the shared objects it loaded by then, each start a process of its
// own (offscreen).
#include "bench/BenchSupport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace {

long long MonotonicNs() {
    struct timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

void BM_StartupToFirstPaint(benchmark::State& state) {
    const std::string folder = BenchSupport::MakeScratchWithPeople(10000, "notify_advance=0\r\n");
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    long peakKb = 0;
    size_t objects = 0;
    for (auto _ : state) {
        int out[2];
        if (pipe(out) != 0)
            return state.SkipWithError("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const char* arguments[] = {ZEMBROLA_STARTUP_PROBE, folder.c_str(), nullptr};
        const long long started = MonotonicNs();
        pid_t child = 0;
        if (posix_spawn(&child, ZEMBROLA_STARTUP_PROBE, &actions, nullptr,
                        const_cast<char**>(arguments), environ) != 0)
            return state.SkipWithError("spawn");
        close(out[1]);
        char text[64] = {};
        const ssize_t got = read(out[0], text, sizeof text - 1);
        close(out[0]);
        int status = 0;
        struct rusage usage {};
        wait4(child, &status, 0, &usage);
        posix_spawn_file_actions_destroy(&actions);
        if (got <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return state.SkipWithError("the probe failed");
        size_t read = 0;
        state.SetIterationTime(static_cast<double>(std::stoll(text, &read) - started) / 1e9);
        objects = std::stoul(text + read);
        peakKb = std::max(peakKb, usage.ru_maxrss);
    }
    state.counters["peak_MB"] = static_cast<double>(peakKb) / 1024.0;
    state.counters["shared_objects"] = static_cast<double>(objects);
    BenchSupport::RemoveScratch(folder);
}
BENCHMARK(BM_StartupToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

BENCHMARK_MAIN();
