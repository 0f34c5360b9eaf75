// libFuzzer target: whatever a host hands back as the LV2 state, the reader must not crash, and
// every waveform it accepts must be one the instrument can play and store again unchanged.
#include "Lv2StateRecords.h"
#include "plugin/lv2/StateReader.h"

#include <cmath>
#include <cstdlib>

namespace Korvatune::Lv2 {
namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

const void* retrieve(LV2_State_Handle handle, std::uint32_t key, std::size_t* size,
                     std::uint32_t* type, std::uint32_t* flags) {
    const auto& records = *static_cast<const std::map<std::uint32_t, StateRecord>*>(handle);
    const auto found = records.find(key);
    if (found == records.end()) {
        return nullptr;
    }
    *size = found->second.bytes.size();
    *type = found->second.type;
    *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
    // An empty value still has an address, as a host's would.
    return found->second.bytes.empty() ? "" : static_cast<const void*>(found->second.bytes.data());
}

void checkWaveform(const WaveformTable& table) {
    for (const float sample : table) {
        require(std::isfinite(sample) && std::fabs(sample) <= 1.0f);
    }
    const std::vector<std::uint8_t> stored = encodeUserWaveform(table);
    WaveformTable again{};
    require(decodeUserWaveform(stored.data(), stored.size(), again) == WaveformRefusal::None);
    require(again == table);
}

} // namespace
} // namespace Korvatune::Lv2

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace Korvatune::Lv2;
    auto records = decodeRecords(data, size);
    const auto state = readState(retrieve, &records, fuzzUrids());
    std::size_t pieces = state->programName ? 1 : 0;
    for (const auto& table : state->userWaveforms) {
        if (table) {
            checkWaveform(*table);
            ++pieces;
        }
    }
    require(pieces + state->refusals.size() <= records.size());
    return 0;
}
