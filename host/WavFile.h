#pragma once

#include <span>
#include <string>

namespace Korvatune {

enum class SampleFormat { Float, Pcm16, Pcm24 };

// Parses "float", "pcm16" or "pcm24"; false for anything else.
bool parseSampleFormat(const std::string& text, SampleFormat& format);

// Writes a stereo WAV file; on failure says why in error and leaves no file behind.
bool writeStereoWav(const std::string& path, std::span<const float> left,
                    std::span<const float> right, int sampleRate, SampleFormat format,
                    std::string& error);

} // namespace Korvatune
