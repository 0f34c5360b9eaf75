#pragma once

#include "host/cli/MidiFile.h"

#include <cstdint>
#include <vector>

namespace Korvatune {

// Turns ticks into seconds through every tempo change of a song.
class TempoMap {
public:
    explicit TempoMap(const MidiSong& song);

    double secondsAt(std::int64_t tick) const;

private:
    // From its tick on, a segment runs at one tempo; microTicks sums ticks times tempo before it,
    // so that the time of a tick is one division away from exact.
    struct Segment {
        std::int64_t tick;
        double microTicks;
        std::uint32_t microsecondsPerQuarter;
    };

    std::vector<Segment> segments;
    double microTicksPerSecond = 0.0;
    double ticksPerSecond = 0.0;
};

} // namespace Korvatune
