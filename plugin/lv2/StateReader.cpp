#include "plugin/lv2/StateReader.h"

#include <cstring>

namespace Korvatune::Lv2 {

namespace {

struct Retrieved {
    const void* data = nullptr;
    std::size_t size = 0;
    std::uint32_t type = 0;
};

Retrieved retrieveKey(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle, LV2_URID key) {
    Retrieved value;
    std::uint32_t flags = 0;
    value.data = retrieve(handle, key, &value.size, &value.type, &flags);
    return value;
}

// A stored text may come with or without its terminating zero; it ends at the first zero.
std::string textOf(const Retrieved& value) {
    const auto* text = static_cast<const char*>(value.data);
    return std::string(text, strnlen(text, value.size));
}

void readProgramName(const Retrieved& value, const Urids& urids, RestoredState& state) {
    if (value.type != urids.atomString) {
        state.refusals.emplace_back("state: the program name is not a text; it was not restored");
        return;
    }
    state.programName = textOf(value);
}

void readUserWaveform(const Retrieved& value, const Urids& urids, std::size_t slot,
                      RestoredState& state) {
    WaveformTable table;
    const WaveformRefusal refusal = value.type == urids.userWaveformType
                                        ? decodeUserWaveform(value.data, value.size, table)
                                        : WaveformRefusal::NotAWaveform;
    if (refusal == WaveformRefusal::None) {
        state.userWaveforms[slot] = table;
        return;
    }
    state.refusals.push_back("state: user waveform User" + std::to_string(slot + 1) + " " +
                             describe(refusal) + "; the instrument keeps the one it has");
}

} // namespace

std::unique_ptr<RestoredState> readState(LV2_State_Retrieve_Function retrieve,
                                         LV2_State_Handle handle, const Urids& urids) {
    auto state = std::make_unique<RestoredState>();
    if (retrieve == nullptr) {
        return state;
    }
    if (const Retrieved name = retrieveKey(retrieve, handle, urids.programNameKey); name.data) {
        readProgramName(name, urids, *state);
    }
    for (std::size_t slot = 0; slot < urids.userWaveformKeys.size(); ++slot) {
        const Retrieved table = retrieveKey(retrieve, handle, urids.userWaveformKeys[slot]);
        if (table.data != nullptr) {
            readUserWaveform(table, urids, slot, *state);
        }
    }
    return state;
}

} // namespace Korvatune::Lv2
