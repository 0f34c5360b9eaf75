#include "host/cli/TempoMap.h"

#include <algorithm>

namespace Korvatune {

namespace {

constexpr std::uint32_t kDefaultTempo = 500000;

} // namespace

TempoMap::TempoMap(const MidiSong& song)
    : microTicksPerSecond(1e6 * song.ticksPerQuarter), ticksPerSecond(song.ticksPerSecond) {
    segments.push_back({0, 0.0, kDefaultTempo});
    for (const TempoChange& change : song.tempoChanges) {
        const Segment& last = segments.back();
        const double microTicks = last.microTicks + static_cast<double>(change.tick - last.tick) *
                                                        last.microsecondsPerQuarter;
        if (change.tick == last.tick) {
            segments.back().microsecondsPerQuarter = change.microsecondsPerQuarter;
        } else {
            segments.push_back({change.tick, microTicks, change.microsecondsPerQuarter});
        }
    }
}

double TempoMap::secondsAt(std::int64_t tick) const {
    if (ticksPerSecond > 0.0) {
        return static_cast<double>(tick) / ticksPerSecond;
    }
    const auto after = std::upper_bound(
        segments.begin(), segments.end(), tick,
        [](std::int64_t value, const Segment& segment) { return value < segment.tick; });
    const Segment& segment = *(after - 1);
    const double microTicks = segment.microTicks + static_cast<double>(tick - segment.tick) *
                                                       segment.microsecondsPerQuarter;
    return microTicks / microTicksPerSecond;
}

} // namespace Korvatune
