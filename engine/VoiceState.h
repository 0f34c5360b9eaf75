#pragma once

#include <cstdint>

namespace Korvatune {

// Amplitude stages of a voice; the numbers are fixed because the engine core stores them.
enum class VoiceState : std::int32_t {
    Attack = 1,
    Hold = 2,
    Sustain = 3,
    Release = 4,
    Idle = 5,
};

} // namespace Korvatune
