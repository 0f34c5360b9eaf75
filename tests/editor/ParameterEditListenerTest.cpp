#include "EditorTestSupport.h"

#include "programs/ProgramFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>
#include <utility>
#include <vector>

namespace Korvatune {
namespace {

// A host shell that records the user's edits hears of every value set in the editor, and only
// of those: changes from the host itself are not the user's.
class EditListener : public ::testing::Test {
protected:
    EditListener() : synth(testing::synthOf(driver.get())), editor(*synth.getDrawTestEditor()) {
        editor.openOffscreen();
        editor.setParameterEditListener(
            [this](int index, float value) { edits.emplace_back(index, value); });
    }
    ~EditListener() override { std::filesystem::remove(programFile); }

    void turn(int tag, float value) {
        Gui::Control& control = *editor.synthPage()->control(tag);
        control.setValue(value);
        editor.valueChanged(control);
    }

    testing::SynthDriver driver;
    VstXSynth& synth;
    DrawTestEditor& editor;
    std::vector<std::pair<int, float>> edits;
    const std::filesystem::path programFile =
        std::filesystem::temp_directory_path() /
        ("ombrafell-edits-" + std::to_string(::getpid()) + ".obp");
};

TEST_F(EditListener, HearsTheValuesTheUserSetsAsTheInstrumentStoredThem) {
    turn(kVolume, 0.3f);
    turn(kDistortion, 0.7f);
    synth.setParameter(kBassAmount, 0.4f);
    editor.idle();
    turn(oscillatorKey(1, kOscWaveform), 1.0f);
    const std::vector<std::pair<int, float>> expected = {
        {kVolume, 0.3f}, {kDistortion, 0.7f}, {kOscWaveform, waveformValue(1)}};
    EXPECT_EQ(edits, expected);
}

TEST_F(EditListener, HearsEveryValueOfALoadedProgramFile) {
    synth.setProgram(25);
    ASSERT_TRUE(writeProgramFile(programFile.c_str(), synth.currentProgram()));
    synth.setProgram(0);
    std::vector<Gui::FileSelectRequest> requests;
    editor.setFileSelector(std::make_unique<testing::FakeFileSelector>(programFile, requests));
    testing::clickOnPage(*editor.getFrame(), {510, 255});
    ASSERT_EQ(requests.size(), 1u);
    ASSERT_EQ(edits.size(), static_cast<std::size_t>(kNumProgramKeys));
    for (int index = 0; index < kNumProgramKeys; ++index) {
        EXPECT_EQ(edits[static_cast<std::size_t>(index)].first, index);
        EXPECT_EQ(edits[static_cast<std::size_t>(index)].second, synth.getParameter(index));
    }
    EXPECT_NEAR(edits[kQuantization].second, 0.124778f, 1e-6f);
}

} // namespace
} // namespace Korvatune
