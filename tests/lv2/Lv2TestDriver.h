#pragma once

#include "plugin/lv2/Lv2Instrument.h"
#include "plugin/lv2/Lv2Ports.h"
#include "support/Lv2HostFeatures.h"

#include <lv2/state/state.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace Korvatune::testing {

// Plays an LV2 host for the shell linked into the test: ports, a MIDI sequence and blocks.
class Lv2Driver {
public:
    explicit Lv2Driver(double sampleRate = 44100.0) {
        instrument = Lv2::Lv2Instrument::create(sampleRate, "", features.data());
        for (int index = 0; index < kNumProgramKeys; ++index) {
            controls[static_cast<std::size_t>(index)] = instrument->synth().getParameter(index);
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

// A state as a host keeps it between save and restore.
class StateStore {
public:
    struct Value {
        std::uint32_t type = 0;
        std::vector<std::uint8_t> bytes;
        bool operator==(const Value&) const = default;
    };

    static LV2_State_Status store(LV2_State_Handle handle, std::uint32_t key, const void* value,
                                  std::size_t size, std::uint32_t type, std::uint32_t) {
        const auto* bytes = static_cast<const std::uint8_t*>(value);
        static_cast<StateStore*>(handle)->values[key] = {type, {bytes, bytes + size}};
        return LV2_STATE_SUCCESS;
    }

    static const void* retrieve(LV2_State_Handle handle, std::uint32_t key, std::size_t* size,
                                std::uint32_t* type, std::uint32_t* flags) {
        auto& values = static_cast<StateStore*>(handle)->values;
        const auto found = values.find(key);
        if (found == values.end()) {
            return nullptr;
        }
        *size = found->second.bytes.size();
        *type = found->second.type;
        *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
        return found->second.bytes.data();
    }

    void saveFrom(Lv2::Lv2Instrument& instrument) { instrument.save(store, this); }
    void restoreInto(Lv2::Lv2Instrument& instrument) { instrument.restore(retrieve, this); }

    std::map<std::uint32_t, Value> values;
};

} // namespace Korvatune::testing
