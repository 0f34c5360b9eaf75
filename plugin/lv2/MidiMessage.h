#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace Korvatune::Lv2 {

// One MIDI message of at most three bytes, as the instrument takes its events.
struct MidiMessage {
    std::array<std::uint8_t, 3> bytes{};

    std::uint8_t status() const { return bytes[0] & 0xF0; }
    bool isProgramChange() const { return status() == 0xC0; }
    int program() const { return bytes[1]; }
};

// The message the bytes hold, or nothing unless they are exactly one complete message: a status
// byte, then as many data bytes (each below 0x80) as the status calls for. Running status,
// system exclusive and undefined statuses are refused.
std::optional<MidiMessage> midiMessageOf(const std::uint8_t* bytes, std::uint32_t size);

} // namespace Korvatune::Lv2
