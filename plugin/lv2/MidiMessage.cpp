#include "plugin/lv2/MidiMessage.h"

#include <algorithm>

namespace Korvatune::Lv2 {

namespace {

// The length of the message a status byte begins, or 0 for one the instrument does not take.
std::uint32_t messageLength(std::uint8_t status) {
    if (status < 0x80) {
        return 0;
    }
    if (status < 0xF0) {
        const std::uint8_t kind = status & 0xF0;
        return kind == 0xC0 || kind == 0xD0 ? 2 : 3;
    }
    switch (status) {
    case 0xF1: // time code quarter frame
    case 0xF3: // song select
        return 2;
    case 0xF2: // song position
        return 3;
    case 0xF6: // tune request
    case 0xF8: // real-time messages
    case 0xFA:
    case 0xFB:
    case 0xFC:
    case 0xFE:
    case 0xFF:
        return 1;
    default: // system exclusive, its end and the undefined statuses
        return 0;
    }
}

} // namespace

std::optional<MidiMessage> midiMessageOf(const std::uint8_t* bytes, std::uint32_t size) {
    if (bytes == nullptr || size == 0 || messageLength(bytes[0]) != size) {
        return std::nullopt;
    }
    if (std::any_of(bytes + 1, bytes + size, [](std::uint8_t data) { return data >= 0x80; })) {
        return std::nullopt;
    }
    MidiMessage message;
    std::copy(bytes, bytes + size, message.bytes.begin());
    return message;
}

} // namespace Korvatune::Lv2
