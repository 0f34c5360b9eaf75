#pragma once

#include "plugin/UserWaveformCodec.h"
#include "programs/ProgramKeys.h"
#include "waveforms/WaveformProvider.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace Korvatune {

// What a saved session holds of an instance beyond the factory bank: which program is current,
// its values and name and the ten user waveform tables, so that it sounds the same on a machine
// without the waveform files.
struct InstrumentState {
    int program = 0;
    std::array<float, kNumProgramKeys> values{};
    std::string programName;
    std::array<WaveformTable, WaveformProvider::kNumUserWaveforms> userWaveforms{};
};

// What a host handed back. A piece that was missing or refused stays empty, so the instrument
// keeps what it has for it.
struct RestoredState {
    std::optional<int> program;
    std::array<std::optional<float>, kNumProgramKeys> values;
    std::optional<std::string> programName;
    std::array<std::optional<WaveformTable>, WaveformProvider::kNumUserWaveforms> userWaveforms;
    // One line per refused piece, for the host's log.
    std::vector<std::string> refusals;
};

// The state as one record of bytes, for formats that store a stream: the magic "OBST" and the
// record version as a 32-bit little-endian integer, then pieces of a four-character id, a 32-bit
// little-endian length and that many bytes: "PROG" (the current program's index as a 32-bit
// little-endian integer), "VALS" (the values as little-endian floats, by parameter index),
// "NAME" (the name in UTF-8) and "UW01" .. "UW10" (each table as the user waveform codec
// encodes it). Readers skip pieces they do not know, so records without "PROG" still load.
inline constexpr std::uint32_t kStateRecordVersion = 1;

std::vector<std::uint8_t> encodeStateRecord(const InstrumentState& state);

// Reads every piece on its own: a damaged piece costs only itself. A record that is not one at
// all, or of a later version, restores nothing. On the heap: the tables are large for a host's
// thread.
std::unique_ptr<RestoredState> decodeStateRecord(std::span<const std::uint8_t> bytes);

} // namespace Korvatune
