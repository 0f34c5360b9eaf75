#include "EditorTestSupport.h"

#include "programs/ProgramFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace Korvatune {
namespace {

// Records the values edited and, apart, the gestures around them.
struct RecordingListener : Korvatune::EditListener {
    void beginEdit(int index) override { gestures.push_back("begin " + std::to_string(index)); }
    void valueEdited(int index, float value) override { edits.emplace_back(index, value); }
    void endEdit(int index) override { gestures.push_back("end " + std::to_string(index)); }

    std::vector<std::pair<int, float>> edits;
    std::vector<std::string> gestures;
};

// A host shell that records the user's edits hears of every value set in the editor, and only
// of those: changes from the host itself are not the user's.
class EditListener : public ::testing::Test {
protected:
    EditListener() : synth(testing::synthOf(driver.get())), editor(*drawTestEditorOf(synth)) {
        editor.openOffscreen();
        editor.setEditListener(&listener);
    }
    ~EditListener() override {
        editor.setEditListener(nullptr);
        std::filesystem::remove(programFile);
    }

    void turn(int tag, float value) {
        Gui::Control& control = *editor.synthPage()->control(tag);
        control.setValue(value);
        editor.valueChanged(control);
    }

    testing::SynthDriver driver;
    VstXSynth& synth;
    DrawTestEditor& editor;
    RecordingListener listener;
    std::vector<std::pair<int, float>>& edits = listener.edits;
    std::vector<std::string>& gestures = listener.gestures;
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

TEST_F(EditListener, FramesADragAsOneGestureThatEndsWithTheRelease) {
    Gui::Frame& frame = *editor.getFrame();
    const Gui::Point centre = Gui::Point{660, 318} + testing::kPageOrigin;
    frame.handleMouseDown({centre, Gui::MouseButton::Left});
    frame.handleMouseMove({centre + Gui::Point{-20, -25}, Gui::MouseButton::Left});
    frame.handleMouseMove({centre + Gui::Point{-25, 5}, Gui::MouseButton::Left});
    ASSERT_FALSE(edits.empty());
    EXPECT_EQ(gestures, (std::vector<std::string>{"begin 59"}));
    frame.handleMouseUp({centre + Gui::Point{-25, 5}, Gui::MouseButton::Left});
    EXPECT_EQ(gestures, (std::vector<std::string>{"begin 59", "end 59"}));
    for (const auto& [index, value] : edits) {
        EXPECT_EQ(index, kVolume);
    }
}

TEST_F(EditListener, FramesAnEditMadeWithoutThePointerAsAGestureOfItsOwn) {
    turn(kVolume, 0.3f);
    turn(kVolume, 0.4f);
    EXPECT_EQ(gestures, (std::vector<std::string>{"begin 59", "end 59", "begin 59", "end 59"}));
}

} // namespace
} // namespace Korvatune
