#pragma once

#include <span>
#include <string>

namespace Korvatune {

// Float, Pcm16 and Pcm24 are WAV files; Flac holds 24-bit samples.
enum class SampleFormat { Float, Pcm16, Pcm24, Flac };

// Parses "float", "pcm16", "pcm24" or "flac"; false for anything else.
bool parseSampleFormat(const std::string& text, SampleFormat& format);

// ".wav" or ".flac".
const char* fileExtensionOf(SampleFormat format);

// Writes a stereo sound file; on failure says why in error and leaves no file behind.
bool writeStereoFile(const std::string& path, std::span<const float> left,
                     std::span<const float> right, int sampleRate, SampleFormat format,
                     std::string& error);

} // namespace Korvatune
