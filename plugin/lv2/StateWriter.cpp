#include "plugin/lv2/StateWriter.h"

#include "plugin/UserWaveformCodec.h"

#include <cstring>

namespace Korvatune::Lv2 {

namespace {

constexpr std::uint32_t kPortableData = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;

} // namespace

LV2_State_Status writeState(LV2_State_Store_Function store, LV2_State_Handle handle,
                            const Urids& urids, const char* programName,
                            const std::function<const float*(int slot)>& userTable) {
    if (store == nullptr) {
        return LV2_STATE_ERR_UNKNOWN;
    }
    LV2_State_Status status = store(handle, urids.programNameKey, programName,
                                    std::strlen(programName) + 1, urids.atomString, kPortableData);
    for (std::size_t slot = 0; slot < urids.userWaveformKeys.size(); ++slot) {
        const std::vector<std::uint8_t> encoded =
            encodeUserWaveform(std::span<const float, WaveformProvider::kTableSize>(
                userTable(static_cast<int>(slot)), WaveformProvider::kTableSize));
        const LV2_State_Status stored =
            store(handle, urids.userWaveformKeys[slot], encoded.data(), encoded.size(),
                  urids.userWaveformType, kPortableData);
        if (status == LV2_STATE_SUCCESS) {
            status = stored;
        }
    }
    return status;
}

} // namespace Korvatune::Lv2
