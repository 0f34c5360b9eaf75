#pragma once

#include <lv2/state/state.h>

#include <cstdint>
#include <map>
#include <vector>

namespace Korvatune::testing {

// A plug-in's state as a host keeps it between save and restore.
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

    // From anything with the plug-in's save and restore: the shell itself, or its interface.
    template <class Instrument> void saveFrom(Instrument& instrument) {
        instrument.save(store, this);
    }
    template <class Instrument> void restoreInto(Instrument& instrument) {
        instrument.restore(retrieve, this);
    }

    std::map<std::uint32_t, Value> values;
};

} // namespace Korvatune::testing
