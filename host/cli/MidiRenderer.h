#pragma once

#include "host/PluginHost.h"
#include "host/cli/MidiFile.h"
#include "host/cli/NoteRenderer.h"

#include <functional>
#include <optional>

namespace Korvatune {

struct MidiRenderSettings {
    int sampleRate = 44100;
    int blockSize = 512;
    // Fixed time after the last event; without it the render ends when the output has stayed
    // below kSilenceDecibels for kSilenceSeconds, at most kLongestTailSeconds after the last event.
    std::optional<double> tailSeconds;
    // Program changes in the file select programs as they come.
    bool followProgramChanges = true;
};

inline constexpr double kSilenceDecibels = -100.0;
inline constexpr double kSilenceSeconds = 0.1;
inline constexpr double kLongestTailSeconds = 60.0;

// Seconds rendered so far and the length expected at this point.
using RenderProgress = std::function<void(double renderedSeconds, double expectedSeconds)>;

// Plays a song through the instance block by block, each message at its exact frame; program
// changes split the block so that they too land on their frame.
StereoBuffer renderMidi(PluginHost& host, const MidiSong& song, const MidiRenderSettings& settings,
                        const RenderProgress& progress = {});

// The program a song selects before its first note, if it does.
std::optional<int> openingProgram(const MidiSong& song);

// Time of the last message in seconds.
double lastMessageSeconds(const MidiSong& song);

} // namespace Korvatune
