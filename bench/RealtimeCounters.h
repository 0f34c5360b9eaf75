#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <vector>

namespace Korvatune::bench {

inline constexpr double kSampleRate = 44100.0;
inline constexpr int kBlockFrames = 512;

// Processor time of the calling thread: on a shared machine the wall clock would count the
// moments other processes held the core as slow blocks.
inline double threadMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) * 1e-3;
}

// Times each block on its own so the report carries the worst block beside the mean, and the
// realtime factor: seconds of audio rendered per second of CPU spent rendering. The factor is
// taken from the timed blocks rather than the whole loop, which would also count the clock
// reads themselves (system calls on a virtual machine, 1.5 to 3 us per block).
// The 99.9th percentile sits beside the worst block: a virtual machine's interrupts land in
// a few blocks at random, while a spike the engine makes recurs in every period.
template <typename RenderBlock> void measureBlocks(benchmark::State& state, RenderBlock&& render) {
    std::vector<double> durations;
    durations.reserve(static_cast<std::size_t>(state.max_iterations));
    double totalMicroseconds = 0.0;
    for (auto _ : state) {
        const double start = threadMicroseconds();
        render();
        const double took = threadMicroseconds() - start;
        durations.push_back(took);
        totalMicroseconds += took;
    }
    const auto blocks = static_cast<double>(state.iterations());
    const double audioSeconds = blocks * kBlockFrames / kSampleRate;
    state.counters["realtime"] =
        totalMicroseconds > 0.0 ? audioSeconds / (totalMicroseconds * 1e-6) : 0.0;
    state.counters["mean_block_us"] = blocks > 0.0 ? totalMicroseconds / blocks : 0.0;
    if (!durations.empty()) {
        std::sort(durations.begin(), durations.end());
        const auto rank =
            static_cast<std::size_t>(0.999 * static_cast<double>(durations.size() - 1));
        state.counters["p999_block_us"] = durations[rank];
        state.counters["worst_block_us"] = durations.back();
    }
}

} // namespace Korvatune::bench
