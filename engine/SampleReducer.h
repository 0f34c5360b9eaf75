#pragma once

#include "engine/StereoSample.h"

#include <cstdint>

namespace Korvatune {

// The lo-fi stage of the per-sample chain: bit-depth quantisation and sample-rate reduction
// by holding one frame for several samples.
class SampleReducer {
public:
    // Quantisation levels for a Quantization value, 0 when it is off (1 or more). Values below
    // the floor of 0.001 are raised to it, and the caller keeps the raised value.
    static float quantizationLevels(float& quantization);
    // Samples each frame is held for a SampleRate value: 0 passes every frame, a negative step
    // holds the last frame for good.
    static int reductionStep(float rateValue);

    StereoSample process(StereoSample frame, float levels, int step);
    // process and advance over a block.
    void processBlock(float* left, float* right, std::int32_t frames, float levels, int step);
    // One sample on, or `frames` on; the clock never restarts.
    void advance(std::uint32_t frames = 1) { counter += frames; }

private:
    StereoSample held;
    std::uint32_t counter = 0;
};

} // namespace Korvatune
