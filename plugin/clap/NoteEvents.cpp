#include "plugin/clap/NoteEvents.h"

#include <algorithm>
#include <cmath>

namespace Korvatune::Clap {

namespace {

using Message = std::array<std::uint8_t, 3>;

constexpr std::uint8_t kNoteOff = 0x80;
constexpr std::uint8_t kNoteOn = 0x90;
constexpr std::uint8_t kControlChange = 0xB0;
constexpr std::uint8_t kAllNotesOff = 0x7B;
constexpr int kHighestKey = 127;

std::uint8_t channelOf(const NoteEvent& note) {
    return static_cast<std::uint8_t>(note.channel < 0 ? 0 : note.channel & 0x0F);
}

std::uint8_t velocityOf(double velocity) {
    return static_cast<std::uint8_t>(
        std::lround(std::clamp(std::isfinite(velocity) ? velocity : 0.0, 0.0, 1.0) * 127.0));
}

// A note-on message of velocity 0 would be a release, so the softest note is 1.
std::optional<Message> noteOn(const NoteEvent& note) {
    if (note.key < 0 || note.key > kHighestKey) {
        return std::nullopt;
    }
    return Message{static_cast<std::uint8_t>(kNoteOn | channelOf(note)),
                   static_cast<std::uint8_t>(note.key),
                   std::max<std::uint8_t>(velocityOf(note.velocity), 1)};
}

std::optional<Message> noteOff(const NoteEvent& note) {
    if (note.key < 0) {
        return Message{static_cast<std::uint8_t>(kControlChange | channelOf(note)), kAllNotesOff,
                       0};
    }
    if (note.key > kHighestKey) {
        return std::nullopt;
    }
    return Message{static_cast<std::uint8_t>(kNoteOff | channelOf(note)),
                   static_cast<std::uint8_t>(note.key), velocityOf(note.velocity)};
}

} // namespace

std::optional<std::array<std::uint8_t, 3>> midiMessageOf(const EventHeader& event) {
    if (event.spaceId != kCoreEventSpace) {
        return std::nullopt;
    }
    switch (event.type) {
    case kEventNoteOn:
        return event.size >= sizeof(NoteEvent) ? noteOn(reinterpret_cast<const NoteEvent&>(event))
                                               : std::nullopt;
    case kEventNoteOff:
    // The instrument has no faster silence than a release.
    case kEventNoteChoke:
        return event.size >= sizeof(NoteEvent) ? noteOff(reinterpret_cast<const NoteEvent&>(event))
                                               : std::nullopt;
    case kEventMidi:
        if (event.size < sizeof(MidiEvent)) {
            return std::nullopt;
        }
        return std::to_array(reinterpret_cast<const MidiEvent&>(event).data);
    default:
        return std::nullopt;
    }
}

} // namespace Korvatune::Clap
