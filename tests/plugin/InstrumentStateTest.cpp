#include "plugin/InstrumentState.h"
#include "plugin/Instrument.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace Korvatune {
namespace {

std::unique_ptr<InstrumentState> sampleState() {
    auto state = std::make_unique<InstrumentState>();
    state->program = 33;
    for (std::size_t index = 0; index < state->values.size(); ++index) {
        state->values[index] = static_cast<float>(index) / 64.0f;
    }
    state->programName = "Jürgen's Kick";
    for (std::size_t slot = 0; slot < state->userWaveforms.size(); ++slot) {
        for (std::size_t i = 0; i < state->userWaveforms[slot].size(); ++i) {
            state->userWaveforms[slot][i] =
                std::sin(static_cast<float>(i * (slot + 1)) * 0.0015f) * 0.9f;
        }
    }
    return state;
}

// Where a piece's payload starts in an encoded record.
std::size_t payloadOf(const std::vector<std::uint8_t>& record, const char* id) {
    for (std::size_t offset = 8; offset + 8 <= record.size();) {
        std::uint32_t length = 0;
        std::memcpy(&length, &record[offset + 4], 4);
        if (std::memcmp(&record[offset], id, 4) == 0) {
            return offset + 8;
        }
        offset += 8 + length;
    }
    return record.size();
}

TEST(StateRecord, RestoresEveryPieceItStored) {
    const auto state = sampleState();
    const auto restored = decodeStateRecord(encodeStateRecord(*state));
    EXPECT_TRUE(restored->refusals.empty());
    EXPECT_EQ(restored->program, 33);
    for (std::size_t index = 0; index < state->values.size(); ++index) {
        EXPECT_EQ(restored->values[index], state->values[index]) << index;
    }
    EXPECT_EQ(restored->programName, state->programName);
    for (std::size_t slot = 0; slot < state->userWaveforms.size(); ++slot) {
        EXPECT_EQ(restored->userWaveforms[slot], state->userWaveforms[slot]) << slot;
    }
}

TEST(StateRecord, ADamagedPieceCostsOnlyItself) {
    std::vector<std::uint8_t> record = encodeStateRecord(*sampleState());
    const float bad = std::numeric_limits<float>::quiet_NaN();
    std::memcpy(&record[payloadOf(record, "VALS") + 4 * 7], &bad, 4);
    record[payloadOf(record, "UW03") + 16] = 0xFF; // a sample far beyond -1..1
    record[payloadOf(record, "UW03") + 17] = 0xFF;
    record[payloadOf(record, "UW03") + 18] = 0x7F;
    record[payloadOf(record, "UW03") + 19] = 0x7F;
    const auto restored = decodeStateRecord(record);
    EXPECT_EQ(restored->refusals.size(), 2u);
    EXPECT_FALSE(restored->values[7]);
    EXPECT_TRUE(restored->values[8]);
    EXPECT_FALSE(restored->userWaveforms[2]);
    EXPECT_TRUE(restored->userWaveforms[3]);
    EXPECT_TRUE(restored->programName);
}

TEST(StateRecord, ForeignLaterOrCutRecordsRestoreOnlyWhatIsWhole) {
    const std::vector<std::uint8_t> record = encodeStateRecord(*sampleState());
    const std::vector<std::uint8_t> foreign = {'R', 'I', 'F', 'F', 1, 0, 0, 0};
    EXPECT_FALSE(decodeStateRecord(foreign)->programName);
    EXPECT_EQ(decodeStateRecord({})->refusals.size(), 1u);

    std::vector<std::uint8_t> later = record;
    later[4] = 2;
    const auto fromLater = decodeStateRecord(later);
    EXPECT_FALSE(fromLater->values[0]);
    EXPECT_EQ(fromLater->refusals.size(), 1u);

    const std::vector<std::uint8_t> cut(record.begin(),
                                        record.begin() + payloadOf(record, "UW02") + 100);
    const auto fromCut = decodeStateRecord(cut);
    EXPECT_TRUE(fromCut->programName);
    EXPECT_TRUE(fromCut->userWaveforms[0]);
    EXPECT_FALSE(fromCut->userWaveforms[1]);
    EXPECT_EQ(fromCut->refusals.size(), 1u);
}

// A record written before the program was stored, with its pieces after the header as they were.
std::vector<std::uint8_t> withoutProgram(const std::vector<std::uint8_t>& record) {
    const std::size_t program = payloadOf(record, "PROG") - 8;
    std::vector<std::uint8_t> older(record.begin(), record.begin() + program);
    older.insert(older.end(), record.begin() + program + 12, record.end());
    return older;
}

TEST(StateRecord, AnOlderRecordWithoutTheProgramStillRestores) {
    const auto state = sampleState();
    const std::vector<std::uint8_t> record = encodeStateRecord(*state);
    ASSERT_LT(payloadOf(record, "PROG"), record.size());
    const auto restored = decodeStateRecord(withoutProgram(record));
    EXPECT_TRUE(restored->refusals.empty());
    EXPECT_FALSE(restored->program);
    EXPECT_EQ(restored->values[5], state->values[5]);
    EXPECT_EQ(restored->programName, state->programName);
    EXPECT_EQ(restored->userWaveforms[9], state->userWaveforms[9]);
}

TEST(StateRecord, AProgramOutsideTheBankIsRefused) {
    std::vector<std::uint8_t> record = encodeStateRecord(*sampleState());
    record[payloadOf(record, "PROG")] = Instrument::kProgramCount;
    const auto restored = decodeStateRecord(record);
    EXPECT_FALSE(restored->program);
    EXPECT_EQ(restored->refusals.size(), 1u);
    EXPECT_TRUE(restored->values[0]);
}

// The program is selected before the values, so the record's values and name are what stay.
TEST(InstrumentFace, ARestoredStateSelectsItsProgramWithItsValuesAndName) {
    Instrument original("/nonexistent", nullptr);
    original.selectProgram(12);
    original.setParameterValue(59, 0.25f);
    original.renameCurrentProgram("Twelve");
    const std::vector<std::uint8_t> record = encodeStateRecord(*original.state());

    Instrument copy("/nonexistent", nullptr);
    copy.restore(*decodeStateRecord(record));
    EXPECT_EQ(copy.currentProgram(), 12);
    EXPECT_EQ(copy.parameterValue(59), 0.25f);
    EXPECT_EQ(copy.programName(12), "Twelve");
    EXPECT_EQ(copy.programName(0), Instrument::factoryProgramName(0));

    Instrument older("/nonexistent", nullptr);
    older.selectProgram(3);
    older.restore(*decodeStateRecord(withoutProgram(record)));
    EXPECT_EQ(older.currentProgram(), 3);
    EXPECT_EQ(older.parameterValue(59), 0.25f);
}

TEST(InstrumentFace, AStateRestoredInAFreshInstanceSoundsTheSame) {
    Instrument original("/nonexistent", nullptr);
    original.setSampleRate(48000.0);
    original.selectProgram(25);
    original.setParameterValue(59, 0.4f);
    original.renameCurrentProgram("Mine");
    RestoredState tables;
    tables.userWaveforms[0] = sampleState()->userWaveforms[0];
    original.restore(tables);
    original.setParameterValue(0, 20.0f / 29.0f); // User1
    const std::vector<std::uint8_t> record = encodeStateRecord(*original.state());

    Instrument copy("/nonexistent", nullptr);
    copy.setSampleRate(48000.0);
    copy.selectProgram(25);
    copy.restore(*decodeStateRecord(record));
    EXPECT_EQ(copy.state()->programName, "Mine");

    const auto renderNote = [](Instrument& instrument) {
        instrument.activate();
        const std::uint8_t noteOn[] = {0x90, 36, 127};
        instrument.queueMidi(noteOn, 10);
        std::vector<float> left(2048), right(2048);
        instrument.render(left.data(), right.data(), 2048);
        return left;
    };
    const std::vector<float> expected = renderNote(original);
    EXPECT_EQ(renderNote(copy), expected);
    EXPECT_GT(std::abs(expected[1000]), 0.0f);
}

TEST(InstrumentFace, DescribesItsParametersForEveryFormat) {
    Instrument instrument("/nonexistent", nullptr);
    EXPECT_EQ(instrument.editor(), nullptr);
    EXPECT_EQ(Instrument::parameterKey(5), "OscPitch1");
    EXPECT_EQ(Instrument::stepCount(0), 29);
    EXPECT_EQ(Instrument::stepName(0, 29), "User10");
    EXPECT_EQ(Instrument::stepCount(54), 24);
    EXPECT_EQ(Instrument::stepName(54, 0), "Linear");
    EXPECT_EQ(Instrument::stepCount(58), 1);
    EXPECT_EQ(Instrument::stepCount(59), 0);
    EXPECT_EQ(Instrument::stepName(59, 0), "");
    EXPECT_LE(Instrument::parameterShortName(42).size(), 8u);
    EXPECT_EQ(instrument.displayText(4, 0.5f), "Center");
    EXPECT_EQ(instrument.displayText(58, 1.0f), "on");
    EXPECT_EQ(instrument.displayText(60, 1.0f), "");
    EXPECT_EQ(instrument.programName(0), "KV Bassdrum");
    EXPECT_EQ(instrument.programName(45), "");
    EXPECT_FALSE(instrument.setSampleRate(0.0));
    EXPECT_EQ(instrument.sampleRate(), 44100.0);
}

} // namespace
} // namespace Korvatune
