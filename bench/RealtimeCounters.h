#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace Korvatune::bench {

inline constexpr double kSampleRate = 44100.0;
inline constexpr int kBlockFrames = 512;

// Times each block on its own so the report carries the worst block beside the mean, and the
// realtime factor: seconds of audio rendered per second of CPU.
template <typename RenderBlock> void measureBlocks(benchmark::State& state, RenderBlock&& render) {
    double worstMicroseconds = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        render();
        const std::chrono::duration<double, std::micro> took =
            std::chrono::steady_clock::now() - start;
        worstMicroseconds = std::max(worstMicroseconds, took.count());
    }
    const double audioSeconds =
        static_cast<double>(state.iterations()) * kBlockFrames / kSampleRate;
    state.counters["realtime"] = benchmark::Counter(audioSeconds, benchmark::Counter::kIsRate);
    state.counters["worst_block_us"] = worstMicroseconds;
}

} // namespace Korvatune::bench
