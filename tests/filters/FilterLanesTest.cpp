#include "filters/Filter_MoogVCF_variant1.h"
#include "filters/HighPassLanes.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace Korvatune {
namespace {

constexpr int kSamples = 3000;

// Controls that hold for a while and then jump, as knobs and modulators move them; a lane
// rests (is not run) now and then.
struct LaneControls {
    FloatLanes input{};
    FloatLanes cutoff{};
    FloatLanes resonance{};
    IntLanes active{};
};

class ControlSource {
public:
    explicit ControlSource(unsigned seed) : random(seed) {}

    LaneControls next() {
        LaneControls controls = current;
        for (int lane = 0; lane < kLanes; ++lane) {
            controls.input[lane] = uniform(random) * 2.0f - 1.0f;
            if (uniform(random) < 0.1f) {
                current.cutoff[lane] = uniform(random) * 1.2f - 0.1f;
            }
            if (uniform(random) < 0.05f) {
                current.resonance[lane] = uniform(random);
            }
            if (uniform(random) < 0.02f) {
                current.active[lane] = current.active[lane] != 0 ? 0 : -1;
            }
            controls.cutoff[lane] = current.cutoff[lane];
            controls.resonance[lane] = current.resonance[lane];
            controls.active[lane] = current.active[lane];
        }
        return controls;
    }

private:
    std::mt19937 random;
    std::uniform_real_distribution<float> uniform{0.0f, 1.0f};
    LaneControls current{{}, {0.5f, 0.2f, 0.9f, 0.0f}, {0.0f, 0.5f, 0.9f, 0.3f}, {-1, -1, -1, -1}};
};

void expectSameBits(float lane, float scalar, int sample, int index) {
    ASSERT_EQ(std::bit_cast<std::uint32_t>(lane), std::bit_cast<std::uint32_t>(scalar))
        << "sample " << sample << " lane " << index;
}

TEST(FilterLanes, EachHighPassLaneRunsAsItsOwnFilterWhetherOrNotItShares) {
    ControlSource source(11);
    HighPassLanes alone;
    HighPassLanes sharing;
    HighPassLanes partner;
    HighPassLanesMemo memo;
    sharing.shareDesignMemo(&memo);
    partner.shareDesignMemo(&memo);
    std::array<HighPassLanes::Scalar, kLanes> scalars;
    for (int n = 0; n < kSamples; ++n) {
        const LaneControls c = source.next();
        const auto held = [&c](std::uint32_t) { return c.cutoff; };
        const auto halved = [&c](std::uint32_t) { return c.cutoff * 0.5f; };
        const auto frame = static_cast<std::uint32_t>(n);
        alone.setControls(c.cutoff, c.resonance, c.active, true, frame, held);
        // A partner with other controls between the two keeps the memo changing hands.
        partner.setControls(c.cutoff * 0.5f, c.resonance, c.active, true, frame, halved);
        sharing.setControls(c.cutoff, c.resonance, c.active, true, frame, held);
        const FloatLanes outputAlone = alone.run(c.input, c.active);
        const FloatLanes outputSharing = sharing.run(c.input, c.active);
        for (int lane = 0; lane < kLanes; ++lane) {
            if (c.active[lane] == 0) {
                continue;
            }
            const float expected = scalars[static_cast<std::size_t>(lane)].process(
                c.input[lane], c.cutoff[lane], c.resonance[lane]);
            expectSameBits(outputAlone[lane], expected, n, lane);
            expectSameBits(outputSharing[lane], expected, n, lane);
        }
    }
}

// A voice without its third oscillator leaves lanes 2 and 3 out of the designs; when the
// oscillator comes back, its lane must get coefficients of its own again.
TEST(FilterLanes, HighPassLanesLeftOutOfTheDesignGetTheirOwnWhenTheyComeBack) {
    ControlSource source(5);
    HighPassLanes lanes;
    HighPassLanesMemo memo;
    lanes.shareDesignMemo(&memo);
    std::array<HighPassLanes::Scalar, kLanes> scalars;
    for (int n = 0; n < kSamples; ++n) {
        LaneControls c = source.next();
        const bool upper = (n / 37) % 2 == 1;
        c.active = IntLanes{-1, -1, upper ? -1 : 0, 0};
        // At the bottom of its range the curve reads 0 whether or not the lane was computed,
        // so only the design's own record of its lanes can tell.
        c.cutoff[2] = 0.0f;
        lanes.setControls(c.cutoff, c.resonance, c.active, upper, static_cast<std::uint32_t>(n),
                          [&c](std::uint32_t) { return c.cutoff; });
        const FloatLanes output = lanes.run(c.input, c.active);
        for (int lane = 0; lane < (upper ? 3 : 2); ++lane) {
            const float expected = scalars[static_cast<std::size_t>(lane)].process(
                c.input[lane], c.cutoff[lane], c.resonance[lane]);
            expectSameBits(output[lane], expected, n, lane);
        }
    }
}

enum class Forecast { Exact, Held, Wrong };

// A voice's designs are planned from the cutoffs it expects; whether the forecast is right, stale
// or wrong, and when the frame count starts again as a note restarts, every lane must compute
// what its own filter computes.
TEST(FilterLanes, HighPassPlansChangeNothingWhateverTheForecast) {
    ControlSource source(31);
    std::vector<LaneControls> run;
    for (int n = 0; n < kSamples + static_cast<int>(HighPassPlan::kMaxLength); ++n) {
        LaneControls c = source.next();
        // Cutoffs moving every frame, as modulators move them.
        for (int lane = 0; lane < kLanes; ++lane) {
            c.cutoff[lane] += 0.2f * std::sin(0.01f * static_cast<float>(n * (lane + 1)));
        }
        run.push_back(c);
    }
    for (Forecast kind : {Forecast::Exact, Forecast::Held, Forecast::Wrong}) {
        HighPassLanes lanes;
        std::array<HighPassLanes::Scalar, kLanes> scalars;
        for (int n = 0; n < kSamples; ++n) {
            const LaneControls& c = run[static_cast<std::size_t>(n)];
            const auto forecast = [&run, &c, n, kind](std::uint32_t ahead) {
                const FloatLanes later = run[static_cast<std::size_t>(n) + ahead].cutoff;
                switch (kind) {
                case Forecast::Exact:
                    return later;
                case Forecast::Held:
                    return c.cutoff;
                case Forecast::Wrong:
                    break;
                }
                return ahead % 3 == 0 ? later : later * 1.01f;
            };
            lanes.setControls(c.cutoff, c.resonance, c.active, true,
                              static_cast<std::uint32_t>(n % 700), forecast);
            const FloatLanes output = lanes.run(c.input, c.active);
            for (int lane = 0; lane < kLanes; ++lane) {
                if (c.active[lane] != 0) {
                    const float expected = scalars[static_cast<std::size_t>(lane)].process(
                        c.input[lane], c.cutoff[lane], c.resonance[lane]);
                    expectSameBits(output[lane], expected, n, lane);
                }
            }
        }
    }
}

TEST(FilterLanes, EachLadderLaneRunsAsItsOwnFilterAndRestingLanesKeepTheirState) {
    ControlSource source(23);
    LadderFilter<FloatLanes> lanes;
    std::array<Filter_MoogVCF_variant1, kLanes> scalars;
    for (int n = 0; n < kSamples; ++n) {
        const LaneControls c = source.next();
        const LadderFilter<FloatLanes>::Stages earlier = lanes.stages();
        const FloatLanes output = lanes.process(c.input, c.cutoff, c.resonance);
        lanes.keepStages(!c.active, earlier);
        for (int lane = 0; lane < kLanes; ++lane) {
            Filter_MoogVCF_variant1& scalar = scalars[static_cast<std::size_t>(lane)];
            if (c.active[lane] != 0) {
                const float expected =
                    scalar.process(c.input[lane], c.cutoff[lane], c.resonance[lane]);
                expectSameBits(output[lane], expected, n, lane);
            }
            for (int stage = 0; stage <= 4; ++stage) {
                expectSameBits(lanes.getStage(stage)[lane], scalar.getStage(stage), n, lane);
            }
        }
    }
}

} // namespace
} // namespace Korvatune
