#include "vst3/Vst2Reference.h"
#include "vst3/Vst3Phrase.h"

#include "plugin/InstrumentState.h"
#include "plugin/vst3/StreamBytes.h"
#include "support/SameBits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>

namespace Korvatune {
namespace {

using namespace Vst3;
using testing::sameBits;

// A copy of the built bundle in a folder of its own, removed with it.
class BundleCopy {
public:
    BundleCopy() {
        std::random_device random;
        folder_ = std::filesystem::temp_directory_path() /
                  ("ombrafell-vst3-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(folder_);
        std::filesystem::copy(testing::bundleUnderTest(), bundle(),
                              std::filesystem::copy_options::recursive);
    }
    ~BundleCopy() {
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
    BundleCopy(const BundleCopy&) = delete;
    BundleCopy& operator=(const BundleCopy&) = delete;

    std::filesystem::path bundle() const { return folder_ / "Ombrafell.vst3"; }
    std::filesystem::path waveforms() const { return bundle() / "Contents/Resources/waveforms"; }

private:
    std::filesystem::path folder_;
};

void writeUser1(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    std::ofstream file(folder / "user01.raw", std::ios::binary);
    for (int i = 0; i < 4096; ++i) {
        const float phase = static_cast<float>(i) / 4096.0f;
        const float sample = std::sin(6.2831855f * phase) * std::sin(31.0f * phase);
        file.write(reinterpret_cast<const char*>(&sample), sizeof sample);
    }
}

// The phrase after the state given, without a program change.
std::vector<float> playRestored(const testing::LoadedModule& module, IMidiMapping* mapping,
                                const std::vector<std::uint8_t>& state) {
    testing::Processor processor(module, 44100.0);
    testing::MemoryStream stream(state);
    EXPECT_EQ(processor.component->setState(&stream), kResultOk);
    for (std::uint32_t start = 0; start < testing::kPhraseFrames; start += 512) {
        const std::uint32_t end = std::min(start + 512, testing::kPhraseFrames);
        testing::EventList events;
        testing::ParameterChanges changes;
        testing::addPhraseEvents(start, end, mapping, events, changes);
        processor.render(static_cast<std::int32_t>(end - start), &events, &changes);
    }
    std::vector<float> both = processor.left;
    both.insert(both.end(), processor.right.begin(), processor.right.end());
    return both;
}

// A session saved with a user waveform loaded from a file sounds the same when it is opened
// where the file is gone: the state carries the table itself.
TEST(Vst3State, CarriesAUserWaveformBeyondItsFile) {
    BundleCopy copy;
    writeUser1(copy.waveforms());
    testing::LoadedModule module(copy.bundle());
    ASSERT_TRUE(module.entered());
    testing::Controller controller(module);
    // Darkcore Bassdrum 1 plays User1 on its first oscillator.
    std::vector<std::uint8_t> saved;
    std::vector<float> withFile;
    {
        testing::Processor processor(module, 44100.0);
        withFile = testing::playPhrase(processor, controller.midi.get(), 18, {}, 512);
        saved = processor.savedState();
    }
    std::filesystem::remove_all(copy.waveforms());
    testing::Processor withoutFile(module, 44100.0);
    EXPECT_FALSE(
        sameBits(testing::playPhrase(withoutFile, controller.midi.get(), 18, {}, 512), withFile));
    EXPECT_TRUE(sameBits(playRestored(module, controller.midi.get(), saved), withFile));
}

// The controller follows the processor's state alone, as when a host runs them apart.
TEST(Vst3State, TheControllerShowsTheValuesOfTheProcessorsState) {
    testing::LoadedModule module;
    testing::Controller controller(module);
    testing::Processor processor(module, 44100.0);
    const testing::Overrides overrides = {{kVolume, 0.3f}, {kFilterCutoff, 0.6f}};
    testing::playPhrase(processor, controller.midi.get(), 41, overrides, 4096);
    testing::MemoryStream stream(processor.savedState());
    ASSERT_EQ(controller.edit->setComponentState(&stream), kResultOk);
    const auto values = testing::vst2Values(testing::vst2Entry(), 41, overrides);
    for (int index = 0; index < Instrument::kParameterCount; ++index) {
        EXPECT_EQ(controller.edit->getParamNormalized(static_cast<ParamID>(index)),
                  values[static_cast<std::size_t>(index)])
            << index;
    }
}

// A session reopened shows the program it was saved with.
TEST(Vst3State, TheControllersProgramFollowsTheProcessorsState) {
    testing::LoadedModule module;
    testing::Controller controller(module);
    testing::Processor processor(module, 44100.0);
    testing::playPhrase(processor, controller.midi.get(), 41, {}, 4096);
    ASSERT_EQ(controller.edit->getParamNormalized(kProgramId), 0.0);
    testing::MemoryStream stream(processor.savedState());
    ASSERT_EQ(controller.edit->setComponentState(&stream), kResultOk);
    EXPECT_EQ(controller.edit->getParamNormalized(kProgramId), 41.0 / kLastProgram);

    testing::Processor reopened(module, 44100.0);
    testing::MemoryStream again(processor.savedState());
    ASSERT_EQ(reopened.component->setState(&again), kResultOk);
    EXPECT_EQ(reopened.savedState(), processor.savedState());
}

class Vst3DamagedState : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(processor.ready);
        testing::playPhrase(processor, controller.midi.get(), 25, {{kVolume, 0.4f}}, 4096);
        good = processor.savedState();
    }

    tresult restore(std::vector<std::uint8_t> bytes) {
        testing::MemoryStream stream(std::move(bytes));
        return processor.component->setState(&stream);
    }

    tresult restoreController(std::vector<std::uint8_t> bytes) {
        testing::MemoryStream stream(std::move(bytes));
        return controller.edit->setComponentState(&stream);
    }

    testing::LoadedModule module;
    testing::Controller controller{module};
    testing::Processor processor{module, 44100.0};
    std::vector<std::uint8_t> good;
};

// What is no record of the instrument's, or one too large to be one, changes nothing.
TEST_F(Vst3DamagedState, ForeignOrOversizedStatesAreRefused) {
    std::vector<std::uint8_t> foreign(4000, 0x5A);
    std::vector<std::uint8_t> later = good;
    later[4] = 99;
    std::vector<std::uint8_t> oversized = good;
    oversized.resize(kMaxStateBytes + 1, 0);
    for (const auto& bytes : {foreign, later, oversized, std::vector<std::uint8_t>{}}) {
        EXPECT_NE(restore(bytes), kResultOk);
        restoreController(bytes);
    }
    EXPECT_EQ(processor.savedState(), good);
    EXPECT_EQ(controller.edit->getParamNormalized(kVolume), Instrument::defaultValue(kVolume));
}

// A record cut short keeps what came before the cut.
TEST_F(Vst3DamagedState, ATruncatedRecordRestoresItsWholePieces) {
    testing::Processor fresh(module, 44100.0);
    std::vector<std::uint8_t> cut = good;
    cut.resize(cut.size() / 2);
    testing::MemoryStream stream(cut);
    EXPECT_EQ(fresh.component->setState(&stream), kResultOk);
    const auto restored = decodeStateRecord(fresh.savedState());
    ASSERT_TRUE(restored->values[kVolume].has_value());
    EXPECT_EQ(*restored->values[kVolume], 0.4f);
    for (std::size_t length = 0; length < good.size(); length += 97) {
        restore(std::vector<std::uint8_t>(good.begin(), good.begin() + length));
        restoreController(std::vector<std::uint8_t>(good.begin(), good.begin() + length));
    }
    processor.render(64);
    EXPECT_EQ(processor.lastResult, kResultOk);
}

} // namespace
} // namespace Korvatune
