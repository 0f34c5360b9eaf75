#pragma once

#include <string>

namespace Korvatune {

// Name of a MIDI note as most hosts show it, note 60 being C3: 36 is "C1", 61 "C#3", 0 "C-2".
std::string noteName(int note);

} // namespace Korvatune
