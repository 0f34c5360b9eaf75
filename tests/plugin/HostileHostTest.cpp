#include "HostileHost.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace Korvatune {
namespace {

constexpr int kSeeds = 24;
constexpr int kStepsPerSeed = 400;

// One seed's moves; the first fault, or an empty text.
std::string faultOfSeed(std::uint64_t seed) {
    testing::HostileHost host(seed, stderr);
    for (int step = 0; step < kStepsPerSeed; ++step) {
        const std::string fault = host.step();
        if (!fault.empty()) {
            return "step " + std::to_string(step) + ", " + host.lastMove() + ": " + fault;
        }
    }
    return {};
}

// Leaves the process: status 0 when the output stayed sane, 1 with the fault on stderr.
[[noreturn]] void playSeed(std::uint64_t seed) {
    const std::string fault = faultOfSeed(seed);
    if (!fault.empty()) {
        std::fprintf(stderr, "seed %llu, %s\n", static_cast<unsigned long long>(seed),
                     fault.c_str());
    }
    std::exit(fault.empty() ? 0 : 1);
}

class HostileHost : public ::testing::TestWithParam<int> {};

// Each seed plays in a child process of its own, so a crash fails that seed alone; the child's
// log of moves is shown when it fails.
TEST_P(HostileHost, CannotCrashTheInstrumentNorDriveItsOutputOutOfRange) {
    EXPECT_EXIT(playSeed(static_cast<std::uint64_t>(GetParam())), ::testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(Seeds, HostileHost, ::testing::Range(1, kSeeds + 1));

} // namespace
} // namespace Korvatune
