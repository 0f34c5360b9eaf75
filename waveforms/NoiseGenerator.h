#pragma once

#include <cstdint>

namespace Korvatune {

// The provider's private linear congruential generator: 32-bit state,
// state = state * 214013 + 2531011 (mod 2^32), each draw (state >> 16) & 0x7FFF.
// Every user owns its instance; there is no shared state.
class NoiseGenerator {
public:
    explicit NoiseGenerator(std::uint32_t seed = 0) : state(seed) {}

    void seed(std::uint32_t value) { state = value; }
    std::uint32_t getState() const { return state; }

    // One draw in 0..32767.
    int draw() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFFu);
    }

    // One noise value (draw mod 200 - 100) / 100 in single precision: -1.00, -0.99, ..., 0.99.
    float noiseValue() { return static_cast<float>(draw() % 200 - 100) / 100.0f; }

private:
    std::uint32_t state;
};

} // namespace Korvatune
