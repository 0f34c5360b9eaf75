#include "engine/SampleReducer.h"

#include "maths/PreciseExponential.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Korvatune {

namespace {

constexpr float kMinimumQuantization = 0.001f;
constexpr int kReductionSteps = 64;

// Truncation toward zero that saturates instead of overflowing on wild parameter values.
int truncateToInt(float value) {
    constexpr float limit = static_cast<float>(std::numeric_limits<int>::max() / 2);
    return static_cast<int>(std::clamp(value, -limit, limit));
}

} // namespace

float SampleReducer::quantizationLevels(float& quantization) {
    if (!(quantization < 1.0f)) {
        return 0.0f;
    }
    quantization = std::max(quantization, kMinimumQuantization);
    return std::max(PreciseMath::exp2(15.0f * quantization), 2.0f);
}

int SampleReducer::reductionStep(float rateValue) {
    // A value of exactly 1 passes every frame, whatever the truncation gives.
    return rateValue == 1.0f ? 0 : truncateToInt((1.0f - rateValue) * kReductionSteps);
}

StereoSample SampleReducer::process(StereoSample frame, float levels, int step) {
    if (levels > 0.0f) {
        frame.left = std::trunc(frame.left * levels) / levels;
        frame.right = std::trunc(frame.right * levels) / levels;
    }
    if (step == 0 || (step > 0 && counter % static_cast<std::uint32_t>(step) == 0)) {
        held = frame;
    }
    return held;
}

void SampleReducer::processBlock(float* left, float* right, std::int32_t frames, float levels,
                                 int step) {
    // Neither quantising nor holding: every frame passes as it is and is the one held.
    if (!(levels > 0.0f) && step == 0) {
        if (frames > 0) {
            held = {left[frames - 1], right[frames - 1]};
        }
        advance(static_cast<std::uint32_t>(frames));
        return;
    }
    for (std::int32_t i = 0; i < frames; ++i) {
        const StereoSample frame = process({left[i], right[i]}, levels, step);
        left[i] = frame.left;
        right[i] = frame.right;
        advance();
    }
}

} // namespace Korvatune
