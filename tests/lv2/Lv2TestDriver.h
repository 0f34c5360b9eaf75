#pragma once

#include "plugin/VstXSynth.h"
#include "plugin/lv2/Lv2Instrument.h"
#include "plugin/lv2/Lv2Ports.h"
#include "support/Lv2HostFeatures.h"
#include "support/Lv2StateStore.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace Korvatune::testing {

// Plays an LV2 host for the shell linked into the test: ports, a MIDI sequence and blocks.
class Lv2Driver {
public:
    explicit Lv2Driver(double sampleRate = 44100.0) {
        instrument = Lv2::Lv2Instrument::create(sampleRate, "", features.data());
        for (int index = 0; index < kNumProgramKeys; ++index) {
            controls[static_cast<std::size_t>(index)] =
                instrument->instrument().synth().getParameter(index);
            instrument->connectPort(static_cast<std::uint32_t>(index),
                                    &controls[static_cast<std::size_t>(index)]);
        }
        instrument->connectPort(Lv2::kMidiInPort, midi.sequence());
        instrument->activate();
    }
    ~Lv2Driver() {
        if (instrument) {
            instrument->deactivate();
        }
    }

    // One block with the events added since the last.
    void render(std::uint32_t frames) {
        left.assign(frames, 1.0f);
        right.assign(frames, 1.0f);
        instrument->connectPort(Lv2::kLeftOutPort, left.data());
        instrument->connectPort(Lv2::kRightOutPort, right.data());
        instrument->run(frames);
        midi.clear();
    }

    // One map for every instance, as in a host, so that one instance's state restores into
    // another.
    static UridMap& hostUrids() {
        static UridMap map;
        return map;
    }

    UridMap& urids = hostUrids();
    RecordingLog log;
    std::array<const LV2_Feature*, 3> features = {urids.mapFeature(), log.feature(), nullptr};
    MidiSequence midi{urids};
    std::array<float, kNumProgramKeys> controls{};
    std::vector<float> left;
    std::vector<float> right;
    std::unique_ptr<Lv2::Lv2Instrument> instrument;
};

} // namespace Korvatune::testing
