#include "plugin/InstrumentState.h"

#include "programs/FactoryBank.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace Korvatune {

namespace {

constexpr std::string_view kMagic = "OBST";
constexpr std::string_view kProgramId = "PROG";
constexpr std::string_view kValuesId = "VALS";
constexpr std::string_view kNameId = "NAME";
constexpr std::size_t kIdSize = 4;
constexpr std::size_t kPieceHeaderSize = kIdSize + 4;

void putWord(std::vector<std::uint8_t>& bytes, std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(word >> shift));
    }
}

std::uint32_t wordAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    std::uint32_t word = 0;
    for (std::size_t i = 4; i-- > 0;) {
        word = (word << 8) | bytes[offset + i];
    }
    return word;
}

void putPiece(std::vector<std::uint8_t>& record, std::string_view id,
              std::span<const std::uint8_t> payload) {
    record.insert(record.end(), id.begin(), id.end());
    putWord(record, static_cast<std::uint32_t>(payload.size()));
    record.insert(record.end(), payload.begin(), payload.end());
}

std::string userWaveformId(std::size_t slot) {
    char id[kIdSize + 1];
    std::snprintf(id, sizeof id, "UW%02u", static_cast<unsigned>(slot + 1));
    return id;
}

std::string_view textOf(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

void readValues(std::span<const std::uint8_t> payload, RestoredState& state) {
    if (payload.size() % 4 != 0) {
        state.refusals.emplace_back("state: the parameter values are truncated; none was restored");
        return;
    }
    const std::size_t count = std::min<std::size_t>(payload.size() / 4, kNumProgramKeys);
    for (std::size_t index = 0; index < count; ++index) {
        const float value = std::bit_cast<float>(wordAt(payload, 4 * index));
        if (std::isfinite(value) && value >= 0.0f && value <= 1.0f) {
            state.values[index] = value;
        } else {
            state.refusals.push_back("state: the value of parameter " + std::to_string(index) +
                                     " is not within 0..1; it was not restored");
        }
    }
}

void readProgram(std::span<const std::uint8_t> payload, RestoredState& state) {
    const std::uint32_t program = payload.size() == 4 ? wordAt(payload, 0) : kNumPrograms;
    if (program < static_cast<std::uint32_t>(kNumPrograms)) {
        state.program = static_cast<int>(program);
    } else {
        state.refusals.emplace_back("state: the current program is not one of the bank's; the "
                                    "instrument keeps the one it has");
    }
}

// A name ends at its first zero, as every name the instrument keeps does.
void readName(std::span<const std::uint8_t> payload, RestoredState& state) {
    const std::string_view text = textOf(payload);
    state.programName = std::string(text.substr(0, text.find('\0')));
}

void readUserWaveform(std::span<const std::uint8_t> payload, std::size_t slot,
                      RestoredState& state) {
    WaveformTable table;
    const WaveformRefusal refusal = decodeUserWaveform(payload.data(), payload.size(), table);
    if (refusal == WaveformRefusal::None) {
        state.userWaveforms[slot] = table;
        return;
    }
    state.refusals.push_back("state: user waveform User" + std::to_string(slot + 1) + " " +
                             describe(refusal) + "; the instrument keeps the one it has");
}

void readPiece(std::string_view id, std::span<const std::uint8_t> payload, RestoredState& state) {
    if (id == kProgramId) {
        readProgram(payload, state);
    } else if (id == kValuesId) {
        readValues(payload, state);
    } else if (id == kNameId) {
        readName(payload, state);
    } else {
        for (std::size_t slot = 0; slot < state.userWaveforms.size(); ++slot) {
            if (id == userWaveformId(slot)) {
                readUserWaveform(payload, slot, state);
            }
        }
    }
}

} // namespace

std::vector<std::uint8_t> encodeStateRecord(const InstrumentState& state) {
    std::vector<std::uint8_t> record(kMagic.begin(), kMagic.end());
    putWord(record, kStateRecordVersion);
    std::vector<std::uint8_t> program;
    putWord(program, static_cast<std::uint32_t>(state.program));
    putPiece(record, kProgramId, program);
    std::vector<std::uint8_t> values;
    for (const float value : state.values) {
        putWord(values, std::bit_cast<std::uint32_t>(value));
    }
    putPiece(record, kValuesId, values);
    putPiece(record, kNameId,
             {reinterpret_cast<const std::uint8_t*>(state.programName.data()),
              state.programName.size()});
    for (std::size_t slot = 0; slot < state.userWaveforms.size(); ++slot) {
        putPiece(record, userWaveformId(slot), encodeUserWaveform(state.userWaveforms[slot]));
    }
    return record;
}

std::unique_ptr<RestoredState> decodeStateRecord(std::span<const std::uint8_t> bytes) {
    auto restored = std::make_unique<RestoredState>();
    RestoredState& state = *restored;
    if (bytes.size() < kMagic.size() + 4 || textOf(bytes.first(kMagic.size())) != kMagic) {
        state.refusals.emplace_back("state: not a state of this instrument; nothing was restored");
        return restored;
    }
    if (wordAt(bytes, kMagic.size()) > kStateRecordVersion) {
        state.refusals.emplace_back("state: from a later version; nothing was restored");
        return restored;
    }
    std::size_t offset = kMagic.size() + 4;
    while (offset < bytes.size()) {
        if (bytes.size() - offset < kPieceHeaderSize ||
            wordAt(bytes, offset + kIdSize) > bytes.size() - offset - kPieceHeaderSize) {
            state.refusals.emplace_back("state: truncated; the rest was not restored");
            break;
        }
        const std::string_view id = textOf(bytes.subspan(offset, kIdSize));
        const std::size_t length = wordAt(bytes, offset + kIdSize);
        readPiece(id, bytes.subspan(offset + kPieceHeaderSize, length), state);
        offset += kPieceHeaderSize + length;
    }
    return restored;
}

} // namespace Korvatune
