#pragma once

#include "waveforms/WaveformProvider.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace Korvatune {

using WaveformTable = std::array<float, WaveformProvider::kTableSize>;

// A user waveform as the instrument's state stores it: the magic "OBWF", the format version and
// the sample count as 32-bit little-endian integers, then the samples as little-endian floats.
// Hosts may carry it to a machine of another byte order.
inline constexpr std::uint32_t kUserWaveformVersion = 1;
inline constexpr std::size_t kUserWaveformHeaderSize = 12;
inline constexpr std::size_t kUserWaveformEncodedSize =
    kUserWaveformHeaderSize + 4 * WaveformProvider::kTableSize;

enum class WaveformRefusal {
    None,
    NotAWaveform,
    Truncated,
    OtherVersion,
    WrongSize,
    NonFiniteSample,
    SampleOutOfRange,
};

// Why a stored waveform was refused, in words for the host's log.
const char* describe(WaveformRefusal refusal);

std::vector<std::uint8_t>
encodeUserWaveform(std::span<const float, WaveformProvider::kTableSize> table);

// Decodes into table only when the whole waveform is sound: every sample finite and within
// -1..1, as every table the instrument makes is. Otherwise table is left as it was.
WaveformRefusal decodeUserWaveform(const void* data, std::size_t size, WaveformTable& table);

} // namespace Korvatune
