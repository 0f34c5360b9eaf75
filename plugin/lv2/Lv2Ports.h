#pragma once

#include "programs/ProgramKeys.h"

#include <cstdint>

namespace Korvatune::Lv2 {

// Port indices: the parameters first, so that port i is parameter i, then the MIDI input, the
// two audio outputs and the notifications to the host.
enum Port : std::uint32_t {
    kMidiInPort = kNumProgramKeys,
    kLeftOutPort,
    kRightOutPort,
    kNotifyPort,
    kNumPorts,
};

constexpr bool isParameterPort(std::uint32_t port) {
    return port < static_cast<std::uint32_t>(kNumProgramKeys);
}

} // namespace Korvatune::Lv2
