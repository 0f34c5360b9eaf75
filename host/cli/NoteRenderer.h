#pragma once

#include "host/PluginHost.h"

#include <vector>

namespace Korvatune {

struct NoteSettings {
    int note = 36;
    int velocity = 127;
    double lengthSeconds = 1.0;
    double gateSeconds = 0.5;
    int sampleRate = 44100;
    int blockSize = 512;
};

struct StereoBuffer {
    std::vector<float> left;
    std::vector<float> right;
};

// Plays one note from the start of the render and releases it after the gate, block by block,
// with the events placed at their exact frame as a sequencer would.
StereoBuffer renderNote(PluginHost& host, const NoteSettings& settings);

// Largest magnitude of both channels in dBFS; minus infinity for silence.
double peakDecibels(const StereoBuffer& buffer);

} // namespace Korvatune
