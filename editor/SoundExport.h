#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace Korvatune {

class VstXSynth;

// The longest sound an export holds; a sound that keeps ringing is cut here.
inline constexpr double kLongestExportSeconds = 4.0;

struct ExportResult {
    bool ok = false;
    std::string error;
    std::size_t frames = 0;
};

// Renders the instrument's current sound (note 36, velocity 127, released after
// kAuditionGateSeconds, until the sound ends or kLongestExportSeconds) at sampleRate with a fresh
// copy of the instrument (its parameters, program name and user waveform tables as they are
// now), and writes it as a 24-bit stereo WAV. Never touches the running instrument's audio
// state; call from the UI thread.
ExportResult exportSound(VstXSynth& synth, const std::filesystem::path& file, double sampleRate);

} // namespace Korvatune
