#include "plugin/UserWaveformCodec.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace Korvatune {

namespace {

constexpr std::array<std::uint8_t, 4> kMagic = {'O', 'B', 'W', 'F'};

void putWord(std::vector<std::uint8_t>& bytes, std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(word >> shift));
    }
}

std::uint32_t wordAt(const std::uint8_t* bytes) {
    std::uint32_t word = 0;
    for (int i = 3; i >= 0; --i) {
        word = (word << 8) | bytes[i];
    }
    return word;
}

} // namespace

const char* describe(WaveformRefusal refusal) {
    switch (refusal) {
    case WaveformRefusal::None:
        return "accepted";
    case WaveformRefusal::NotAWaveform:
        return "not a user waveform";
    case WaveformRefusal::Truncated:
        return "truncated";
    case WaveformRefusal::OtherVersion:
        return "from another version";
    case WaveformRefusal::WrongSize:
        return "not 4096 samples";
    case WaveformRefusal::NonFiniteSample:
        return "holds a sample that is not a number";
    case WaveformRefusal::SampleOutOfRange:
        return "holds a sample beyond -1..1";
    }
    return "refused";
}

std::vector<std::uint8_t>
encodeUserWaveform(std::span<const float, WaveformProvider::kTableSize> table) {
    std::vector<std::uint8_t> bytes(kMagic.begin(), kMagic.end());
    bytes.reserve(kUserWaveformEncodedSize);
    putWord(bytes, kUserWaveformVersion);
    putWord(bytes, static_cast<std::uint32_t>(table.size()));
    for (const float sample : table) {
        putWord(bytes, std::bit_cast<std::uint32_t>(sample));
    }
    return bytes;
}

WaveformRefusal decodeUserWaveform(const void* data, std::size_t size, WaveformTable& table) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (bytes == nullptr || size < kMagic.size() ||
        !std::equal(kMagic.begin(), kMagic.end(), bytes)) {
        return WaveformRefusal::NotAWaveform;
    }
    if (size < kUserWaveformHeaderSize) {
        return WaveformRefusal::Truncated;
    }
    if (wordAt(bytes + 4) != kUserWaveformVersion) {
        return WaveformRefusal::OtherVersion;
    }
    const std::uint64_t count = wordAt(bytes + 8);
    if (count != table.size()) {
        return WaveformRefusal::WrongSize;
    }
    if (size < kUserWaveformEncodedSize) {
        return WaveformRefusal::Truncated;
    }
    if (size > kUserWaveformEncodedSize) {
        return WaveformRefusal::WrongSize;
    }
    WaveformTable decoded;
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        const float sample = std::bit_cast<float>(wordAt(bytes + kUserWaveformHeaderSize + 4 * i));
        if (!std::isfinite(sample)) {
            return WaveformRefusal::NonFiniteSample;
        }
        if (std::fabs(sample) > 1.0f) {
            return WaveformRefusal::SampleOutOfRange;
        }
        decoded[i] = sample;
    }
    table = decoded;
    return WaveformRefusal::None;
}

} // namespace Korvatune
