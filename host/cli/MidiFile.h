#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace Korvatune {

// A file that is not a readable Standard MIDI File; what() says why in a few words.
class MidiFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A channel message at its tick. Note-ons of velocity 0 arrive as note-offs.
struct MidiMessage {
    std::int64_t tick = 0;
    std::array<std::uint8_t, 3> bytes{};
    int size = 0;

    std::uint8_t kind() const { return bytes[0] & 0xF0; }
};

struct TempoChange {
    std::int64_t tick = 0;
    std::uint32_t microsecondsPerQuarter = 500000;
};

// Everything a renderer needs from a format 0 or 1 file: its tracks merged into one time line.
struct MidiSong {
    int format = 0;
    // Musical time: ticks per quarter note; zero when the file counts time code frames instead.
    int ticksPerQuarter = 0;
    // Time code: ticks per second.
    double ticksPerSecond = 0.0;
    // In time order; messages on the same tick keep the order of their tracks.
    std::vector<MidiMessage> messages;
    // In time order, from whichever track holds them.
    std::vector<TempoChange> tempoChanges;
};

MidiSong parseMidiFile(std::span<const std::uint8_t> bytes);
// Reads and parses a file; MidiFileError says what is wrong (the caller names the file).
MidiSong readMidiFile(const std::string& path);

} // namespace Korvatune
