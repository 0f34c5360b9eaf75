#pragma once

#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

namespace Korvatune::testing {

using Bytes = std::vector<std::uint8_t>;

// Builds Standard MIDI File bytes by hand, so that tests say exactly what the file holds.
class TrackBytes {
public:
    // Delta time, then the raw event bytes (status may be left out for running status).
    TrackBytes& event(std::uint32_t delta, std::initializer_list<std::uint8_t> data) {
        variableLength(delta);
        bytes.insert(bytes.end(), data);
        return *this;
    }
    TrackBytes& tempo(std::uint32_t delta, std::uint32_t microsecondsPerQuarter) {
        return event(delta,
                     {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(microsecondsPerQuarter >> 16),
                      static_cast<std::uint8_t>(microsecondsPerQuarter >> 8),
                      static_cast<std::uint8_t>(microsecondsPerQuarter)});
    }
    TrackBytes& end(std::uint32_t delta = 0) { return event(delta, {0xFF, 0x2F, 0x00}); }

    Bytes chunk() const {
        Bytes result = {'M', 'T', 'r', 'k'};
        appendBigEndian(result, static_cast<std::uint32_t>(bytes.size()), 4);
        result.insert(result.end(), bytes.begin(), bytes.end());
        return result;
    }

    static void appendBigEndian(Bytes& out, std::uint32_t value, int count) {
        for (int shift = 8 * (count - 1); shift >= 0; shift -= 8) {
            out.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    }

private:
    void variableLength(std::uint32_t value) {
        Bytes groups = {static_cast<std::uint8_t>(value & 0x7F)};
        while (value >>= 7) {
            groups.insert(groups.begin(), static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
        }
        bytes.insert(bytes.end(), groups.begin(), groups.end());
    }

    Bytes bytes;
};

inline Bytes midiFile(int format, std::uint16_t division, const std::vector<TrackBytes>& tracks) {
    Bytes file = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
    TrackBytes::appendBigEndian(file, static_cast<std::uint32_t>(format), 2);
    TrackBytes::appendBigEndian(file, static_cast<std::uint32_t>(tracks.size()), 2);
    TrackBytes::appendBigEndian(file, division, 2);
    for (const TrackBytes& track : tracks) {
        const Bytes chunk = track.chunk();
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}

inline void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

} // namespace Korvatune::testing
