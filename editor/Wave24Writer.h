#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace Korvatune {

// A sample as the command line's 24-bit files hold it: scaled to 32 bits and rounded to the
// nearest (ties to even), then cut to the upper three bytes; full scale and beyond clamp.
std::int32_t pcm24Sample(float sample);

// A RIFF/WAVE file of 24-bit PCM, the two channels interleaved. Both channels have one length.
std::string encodeWave24(std::span<const float> left, std::span<const float> right, int sampleRate);

} // namespace Korvatune
