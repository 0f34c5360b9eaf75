#include "editor/Wave24Writer.h"

#include <cmath>

namespace Korvatune {

namespace {

constexpr int kChannels = 2;
constexpr int kBytesPerSample = 3;
constexpr std::uint32_t kHeaderBytesAfterSize = 36;

void appendLittleEndian(std::string& bytes, std::uint32_t value, int count) {
    for (int byte = 0; byte < count; ++byte) {
        bytes.push_back(static_cast<char>((value >> (8 * byte)) & 0xFF));
    }
}

void appendHeader(std::string& bytes, std::uint32_t dataBytes, int sampleRate) {
    const auto rate = static_cast<std::uint32_t>(sampleRate);
    bytes.append("RIFF");
    appendLittleEndian(bytes, kHeaderBytesAfterSize + dataBytes, 4);
    bytes.append("WAVEfmt ");
    appendLittleEndian(bytes, 16, 4);
    appendLittleEndian(bytes, 1, 2);
    appendLittleEndian(bytes, kChannels, 2);
    appendLittleEndian(bytes, rate, 4);
    appendLittleEndian(bytes, rate * kChannels * kBytesPerSample, 4);
    appendLittleEndian(bytes, kChannels * kBytesPerSample, 2);
    appendLittleEndian(bytes, 8 * kBytesPerSample, 2);
    bytes.append("data");
    appendLittleEndian(bytes, dataBytes, 4);
}

} // namespace

std::int32_t pcm24Sample(float sample) {
    constexpr float kThirtyTwoBitScale = 2147483648.0f;
    constexpr std::int32_t kLargest = 0x7FFFFF;
    constexpr std::int32_t kSmallest = -0x800000;
    if (std::isnan(sample)) {
        return 0;
    }
    const float scaled = sample * kThirtyTwoBitScale;
    if (scaled >= 2147483647.0) {
        return kLargest;
    }
    if (scaled <= -2147483648.0) {
        return kSmallest;
    }
    return static_cast<std::int32_t>(std::lrint(scaled)) >> 8;
}

std::string encodeWave24(std::span<const float> left, std::span<const float> right,
                         int sampleRate) {
    const std::size_t frames = left.size();
    std::string bytes;
    bytes.reserve(kHeaderBytesAfterSize + 8 + frames * kChannels * kBytesPerSample);
    appendHeader(bytes, static_cast<std::uint32_t>(frames * kChannels * kBytesPerSample),
                 sampleRate);
    for (std::size_t frame = 0; frame < frames; ++frame) {
        for (float sample : {left[frame], right[frame]}) {
            appendLittleEndian(bytes, static_cast<std::uint32_t>(pcm24Sample(sample)),
                               kBytesPerSample);
        }
    }
    return bytes;
}

} // namespace Korvatune
