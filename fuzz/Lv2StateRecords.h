#pragma once

// The LV2 state fuzzer's input: a run of records, each a key byte (0 the program name, 1..10 the
// user waveforms, others no key the instrument reads), a type byte (0 text, 1 user waveform,
// others no type the instrument takes), a 16-bit little-endian size and that many bytes.

#include "plugin/lv2/Urids.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

namespace Korvatune::Lv2 {

inline Urids fuzzUrids() {
    Urids urids;
    urids.atomString = 1;
    urids.userWaveformType = 2;
    urids.programNameKey = 100;
    for (std::size_t slot = 0; slot < urids.userWaveformKeys.size(); ++slot) {
        urids.userWaveformKeys[slot] = static_cast<LV2_URID>(101 + slot);
    }
    return urids;
}

struct StateRecord {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> bytes;
};

inline std::uint32_t fuzzKey(std::uint8_t key) {
    return 100u + key;
}

inline std::uint32_t fuzzType(std::uint8_t type) {
    return type < 2 ? type + 1u : 50u + type;
}

inline std::vector<std::uint8_t> encodeRecord(std::uint8_t key, std::uint8_t type,
                                              const std::vector<std::uint8_t>& bytes) {
    std::vector<std::uint8_t> record = {key, type, static_cast<std::uint8_t>(bytes.size()),
                                        static_cast<std::uint8_t>(bytes.size() >> 8)};
    record.insert(record.end(), bytes.begin(), bytes.end());
    return record;
}

// The records by key; a later record for a key replaces an earlier one. A record cut short by
// the end of the input keeps the bytes there are.
inline std::map<std::uint32_t, StateRecord> decodeRecords(const std::uint8_t* data,
                                                          std::size_t size) {
    std::map<std::uint32_t, StateRecord> records;
    std::size_t at = 0;
    while (at + 4 <= size) {
        const std::size_t length = data[at + 2] | (std::size_t{data[at + 3]} << 8);
        const std::size_t end = std::min(size, at + 4 + length);
        records[fuzzKey(data[at])] = {fuzzType(data[at + 1]), {data + at + 4, data + end}};
        at = end;
    }
    return records;
}

} // namespace Korvatune::Lv2
