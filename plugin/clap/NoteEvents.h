#pragma once

#include "plugin/clap/ClapAbi.h"

#include <array>
#include <cstdint>
#include <optional>

namespace Korvatune::Clap {

// The MIDI message the instrument takes for a note or MIDI event of the core space: note events
// become note-on and note-off messages (a release of any key, all notes off), MIDI events pass
// through as a VST 2 host hands them over. Nothing for other events and for notes the
// instrument cannot play.
std::optional<std::array<std::uint8_t, 3>> midiMessageOf(const EventHeader& event);

} // namespace Korvatune::Clap
