#include "lv2/Lv2TestDriver.h"
#include "plugin/UserWaveformCodec.h"
#include "plugin/lv2/Lv2Uris.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <string>

namespace Korvatune {
namespace {

WaveformTable rampTable(float scale) {
    WaveformTable table;
    for (std::size_t i = 0; i < table.size(); ++i) {
        table[i] = scale * (static_cast<float>(i) / 2048.0f - 1.0f);
    }
    return table;
}

const float* userTable(Lv2::Lv2Instrument& instrument, int slot) {
    return instrument.instrument().synth().getWaveformProvider()->getTableAt(
        WaveformProvider::kFirstUserWaveform + slot);
}

void setUserTable(Lv2::Lv2Instrument& instrument, int slot, const WaveformTable& table) {
    std::copy(table.begin(), table.end(),
              instrument.instrument().synth().getWaveformProvider()->getMutableTableAt(
                  WaveformProvider::kFirstUserWaveform + slot));
    instrument.instrument().synth().getWaveformProvider()->markTablesChanged();
}

bool holds(const float* actual, const WaveformTable& expected) {
    return std::equal(expected.begin(), expected.end(), actual, [](float a, float b) {
        return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
    });
}

std::string programName(Lv2::Lv2Instrument& instrument) {
    char name[32] = {};
    instrument.instrument().synth().getProgramName(name);
    return name;
}

TEST(UserWaveformCodec, CarriesEveryBitOfATable) {
    WaveformTable table = rampTable(0.98777f);
    table[1] = -0.0f;
    table[2] = std::numeric_limits<float>::denorm_min();
    table[3] = -1.0f;
    const std::vector<std::uint8_t> encoded = encodeUserWaveform(table);
    ASSERT_EQ(encoded.size(), kUserWaveformEncodedSize);
    EXPECT_EQ(std::string(encoded.begin(), encoded.begin() + 4), "OBWF");
    WaveformTable decoded{};
    EXPECT_EQ(decodeUserWaveform(encoded.data(), encoded.size(), decoded), WaveformRefusal::None);
    EXPECT_TRUE(holds(decoded.data(), table));
}

TEST(UserWaveformCodec, RefusesDamagedWaveformsAndKeepsTheTable) {
    const std::vector<std::uint8_t> sound = encodeUserWaveform(rampTable(0.5f));
    const auto damaged = [&sound](std::size_t size, std::size_t at = 0, std::uint8_t byte = 0,
                                  bool change = false) {
        std::vector<std::uint8_t> bytes(sound.begin(),
                                        sound.begin() + std::min(size, sound.size()));
        bytes.resize(size, 0);
        if (change) {
            bytes[at] = byte;
        }
        return bytes;
    };
    const auto withSample = [&sound](std::size_t index, float value) {
        std::vector<std::uint8_t> bytes = sound;
        const auto bits = std::bit_cast<std::uint32_t>(value);
        for (int k = 0; k < 4; ++k) {
            bytes[kUserWaveformHeaderSize + 4 * index + k] =
                static_cast<std::uint8_t>(bits >> (8 * k));
        }
        return bytes;
    };
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
        WaveformRefusal refusal;
    } cases[] = {
        {"empty", {}, WaveformRefusal::NotAWaveform},
        {"other magic", damaged(sound.size(), 0, 'X', true), WaveformRefusal::NotAWaveform},
        {"header cut short", damaged(10), WaveformRefusal::Truncated},
        {"samples cut short", damaged(sound.size() - 1), WaveformRefusal::Truncated},
        {"version 2", damaged(sound.size(), 4, 2, true), WaveformRefusal::OtherVersion},
        {"3840 samples", damaged(sound.size(), 9, 0x0F, true), WaveformRefusal::WrongSize},
        {"a byte too many", damaged(sound.size() + 1), WaveformRefusal::WrongSize},
        {"not a number", withSample(4095, std::nanf("")), WaveformRefusal::NonFiniteSample},
        {"infinite", withSample(0, -INFINITY), WaveformRefusal::NonFiniteSample},
        {"beyond 1", withSample(100, 1.5f), WaveformRefusal::SampleOutOfRange},
    };
    const WaveformTable before = rampTable(0.25f);
    for (const auto& c : cases) {
        WaveformTable table = before;
        EXPECT_EQ(decodeUserWaveform(c.bytes.data(), c.bytes.size(), table), c.refusal) << c.what;
        EXPECT_TRUE(holds(table.data(), before)) << c.what;
    }
}

TEST(Lv2State, SavedStateRestoresIntoAFreshInstance) {
    testing::Lv2Driver saved;
    setUserTable(*saved.instrument, 0, rampTable(0.9f));
    setUserTable(*saved.instrument, 9, rampTable(-0.7f));
    saved.instrument->instrument().synth().setProgramName("My Kick");
    testing::StateStore state;
    state.saveFrom(*saved.instrument);

    testing::Lv2Driver restored;
    state.restoreInto(*restored.instrument);
    restored.render(16);
    EXPECT_TRUE(holds(userTable(*restored.instrument, 0), rampTable(0.9f)));
    EXPECT_TRUE(holds(userTable(*restored.instrument, 9), rampTable(-0.7f)));
    EXPECT_EQ(programName(*restored.instrument), "My Kick");
    EXPECT_TRUE(restored.log.lines.empty());
}

// Each piece stands on its own: the damaged ones are refused and reported, the instrument
// keeps what it had for them, and the sound pieces still arrive.
TEST(Lv2State, DamagedPiecesAreRefusedOneByOneAndReported) {
    testing::Lv2Driver saved;
    for (int slot = 0; slot < 4; ++slot) {
        setUserTable(*saved.instrument, slot, rampTable(0.1f * static_cast<float>(slot + 1)));
    }
    testing::StateStore state;
    state.saveFrom(*saved.instrument);
    const auto key = [&saved](const std::string& uri) { return saved.urids.id(uri.c_str()); };
    const std::string waveformKey = Lv2::kUserWaveformKeyPrefix;
    state.values[key(waveformKey + "2")].bytes.resize(100);
    state.values[key(waveformKey + "3")].bytes[4] = 7;
    state.values[key(waveformKey + "4")].type = key(LV2_ATOM__Chunk);
    state.values[key(Lv2::kProgramNameKey)].type = key(LV2_ATOM__Int);

    testing::Lv2Driver restored;
    const std::string nameBefore = programName(*restored.instrument);
    WaveformTable keptTables[3];
    for (int slot = 1; slot < 4; ++slot) {
        std::copy_n(userTable(*restored.instrument, slot), keptTables[0].size(),
                    keptTables[slot - 1].begin());
    }
    state.restoreInto(*restored.instrument);
    restored.render(16);

    EXPECT_TRUE(holds(userTable(*restored.instrument, 0), rampTable(0.1f)));
    for (int slot = 1; slot < 4; ++slot) {
        EXPECT_TRUE(holds(userTable(*restored.instrument, slot), keptTables[slot - 1])) << slot;
    }
    EXPECT_EQ(programName(*restored.instrument), nameBefore);
    ASSERT_EQ(restored.log.lines.size(), 4u);
    EXPECT_NE(restored.log.lines[0].find("program name"), std::string::npos);
    EXPECT_NE(restored.log.lines[1].find("User2 truncated"), std::string::npos);
    EXPECT_NE(restored.log.lines[2].find("User3 from another version"), std::string::npos);
    EXPECT_NE(restored.log.lines[3].find("User4 not a user waveform"), std::string::npos);
}

// Restored into a running instrument, a table waits for the next block; a save before then
// already holds it, since it is what the instrument is about to play.
TEST(Lv2State, ATableWaitingForTheNextBlockIsSavedAndThenPlayed) {
    testing::Lv2Driver source;
    setUserTable(*source.instrument, 4, rampTable(0.6f));
    testing::StateStore state;
    state.saveFrom(*source.instrument);

    testing::Lv2Driver running;
    running.render(64);
    state.restoreInto(*running.instrument);
    EXPECT_FALSE(holds(userTable(*running.instrument, 4), rampTable(0.6f)));
    testing::StateStore resaved;
    resaved.saveFrom(*running.instrument);
    EXPECT_EQ(resaved.values, state.values);
    running.render(64);
    EXPECT_TRUE(holds(userTable(*running.instrument, 4), rampTable(0.6f)));
}

TEST(Lv2State, RestoringWithoutAHostLogStillRefusesQuietly) {
    testing::UridMap& urids = testing::Lv2Driver::hostUrids();
    const LV2_Feature* features[] = {urids.mapFeature(), nullptr};
    auto instrument = Lv2::Lv2Instrument::create(48000.0, "", features);
    ASSERT_NE(instrument, nullptr);
    testing::StateStore state;
    state.values[urids.id((std::string(Lv2::kUserWaveformKeyPrefix) + "1").c_str())] = {
        urids.id(Lv2::kUserWaveformType), {'O', 'B', 'W', 'F', 1}};
    const WaveformTable before = [&] {
        WaveformTable table;
        std::copy_n(userTable(*instrument, 0), table.size(), table.begin());
        return table;
    }();
    EXPECT_EQ(instrument->restore(testing::StateStore::retrieve, &state), LV2_STATE_SUCCESS);
    EXPECT_TRUE(holds(userTable(*instrument, 0), before));
}

} // namespace
} // namespace Korvatune
