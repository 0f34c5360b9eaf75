#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>

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
// realtime factor: seconds of audio rendered per second of CPU.
template <typename RenderBlock> void measureBlocks(benchmark::State& state, RenderBlock&& render) {
    double worstMicroseconds = 0.0;
    double totalMicroseconds = 0.0;
    for (auto _ : state) {
        const double start = threadMicroseconds();
        render();
        const double took = threadMicroseconds() - start;
        worstMicroseconds = std::max(worstMicroseconds, took);
        totalMicroseconds += took;
    }
    const auto blocks = static_cast<double>(state.iterations());
    const double audioSeconds = blocks * kBlockFrames / kSampleRate;
    state.counters["realtime"] = benchmark::Counter(audioSeconds, benchmark::Counter::kIsRate);
    state.counters["mean_block_us"] = blocks > 0.0 ? totalMicroseconds / blocks : 0.0;
    state.counters["worst_block_us"] = worstMicroseconds;
}

} // namespace Korvatune::bench
