#include "EditorTestSupport.h"
#include "support/SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace Korvatune {
namespace {

using testing::clickOnPage;
using testing::dispatch;

constexpr Gui::Point kVolumeKnob{660, 318};
constexpr Gui::Point kNextProgram{660, 279};
constexpr Gui::Point kAudition{675, 279};
constexpr Gui::Point kExport{689, 279};
constexpr Gui::Point kSave{560, 257};

// The editor without a window: the frame takes the events a window would pass on.
class EditorEdits : public ::testing::Test {
protected:
    EditorEdits() : synth(testing::synthOf(driver.get())), editor(*drawTestEditorOf(synth)) {
        editor.openOffscreen();
        editor.setFileSelector(std::make_unique<testing::FakeFileSelector>(choice, requests));
    }

    Gui::Frame& frame() { return *editor.getFrame(); }
    void answerWith(const std::filesystem::path& path) {
        choice = path;
        editor.setFileSelector(std::make_unique<testing::FakeFileSelector>(choice, requests));
    }
    float volume() { return driver->getParameter(driver.get(), kVolume); }
    void wheelOnVolume(int notches) {
        frame().handleMouseWheel({kVolumeKnob + testing::kPageOrigin}, notches);
        editor.idle();
    }
    void setFromHost(int index, float value) {
        driver->setParameter(driver.get(), index, value);
        editor.idle();
    }
    std::string programName() { return editor.synthPage()->programName().text(); }

    testing::ScratchSettings settings;
    std::filesystem::path library = settings.folder() / "share" / "Programs";
    testing::ScopedVariable libraryVariable{"OMBRAFELL_LIBRARY", library.string()};
    testing::SynthDriver driver;
    VstXSynth& synth;
    DrawTestEditor& editor;
    std::optional<std::filesystem::path> choice;
    std::vector<Gui::FileSelectRequest> requests;
};

TEST_F(EditorEdits, ChangesFromTheHostAreNoSteps) {
    setFromHost(kVolume, 0.3f);
    setFromHost(kPitchAmount, 0.7f);
    EXPECT_FALSE(editor.history().canUndo());
    EXPECT_FALSE(editor.undo());
    EXPECT_EQ(volume(), 0.3f);
}

TEST_F(EditorEdits, WheelNotchesInARowAreOneStepThatOutlivesTheWindow) {
    setFromHost(kVolume, 0.5f);
    wheelOnVolume(2);
    wheelOnVolume(3);
    EXPECT_NEAR(volume(), 0.55f, 1e-5f);
    EXPECT_EQ(editor.history().size(), 1u);
    editor.close();
    editor.openOffscreen();
    EXPECT_TRUE(editor.undo());
    EXPECT_EQ(volume(), 0.5f);
    EXPECT_FLOAT_EQ(editor.synthPage()->control(kVolume)->value(), 0.5f);
    EXPECT_TRUE(editor.redo());
    EXPECT_NEAR(volume(), 0.55f, 1e-5f);
}

TEST_F(EditorEdits, AnEditedProgramIsMarkedUntilItsEditsAreUndone) {
    const std::string name = programName();
    wheelOnVolume(-1);
    EXPECT_EQ(programName(), name + " *");
    editor.undo();
    editor.idle();
    EXPECT_EQ(programName(), name);
}

TEST_F(EditorEdits, SteppingToAnotherProgramIsOneStep) {
    clickOnPage(frame(), kNextProgram);
    EXPECT_EQ(dispatch(driver.get(), effGetProgram), 1);
    EXPECT_TRUE(editor.undo());
    EXPECT_EQ(dispatch(driver.get(), effGetProgram), 0);
    EXPECT_TRUE(editor.redo());
    EXPECT_EQ(dispatch(driver.get(), effGetProgram), 1);
}

TEST_F(EditorEdits, TheHistoryKeepsAtLeastAHundredSteps) {
    for (int step = 0; step < 120; ++step) {
        clickOnPage(frame(), kNextProgram);
    }
    int undone = 0;
    while (editor.undo()) {
        ++undone;
    }
    EXPECT_EQ(undone, 120);
    EXPECT_EQ(dispatch(driver.get(), effGetProgram), 0);
}

TEST_F(EditorEdits, AUserWaveformLoadIsOneStep) {
    const std::filesystem::path file = settings.folder() / "square.raw";
    {
        std::ofstream raw(file, std::ios::binary);
        for (int i = 0; i < WaveformProvider::kTableSize; ++i) {
            const float sample = i < WaveformProvider::kTableSize / 2 ? 0.5f : -0.5f;
            raw.write(reinterpret_cast<const char*>(&sample), sizeof sample);
        }
    }
    constexpr int kUser1 = WaveformProvider::kFirstUserWaveform;
    const float* table = synth.getWaveformProvider()->getTableAt(kUser1);
    const std::vector<float> before(table, table + WaveformProvider::kTableSize);
    synth.setParameter(kOscWaveform, waveformValue(kUser1));
    dispatch(driver.get(), effMainsChanged, 0, 0);
    answerWith(file);
    clickOnPage(frame(), {40, 110});
    EXPECT_FLOAT_EQ(table[10], 0.98777f);
    EXPECT_EQ(editor.history().size(), 1u);
    EXPECT_TRUE(editor.undo());
    EXPECT_TRUE(std::equal(before.begin(), before.end(), table));
    EXPECT_TRUE(editor.redo());
    EXPECT_FLOAT_EQ(table[10], 0.98777f);
}

TEST_F(EditorEdits, SaveProposesTheLibraryAndTheProgramsName) {
    dispatch(driver.get(), effSetProgramName, 0, 0, const_cast<char*>("Kick: Hard/Fast"));
    clickOnPage(frame(), kSave);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].initialPath, library / "Kick_ Hard_Fast.obp");
    EXPECT_TRUE(std::filesystem::is_directory(library));
}

TEST_F(EditorEdits, ExportWritesAWaveFileNamedAfterTheProgram) {
    answerWith(settings.folder() / "kick.wav");
    clickOnPage(frame(), kExport);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].initialPath.filename(), "KV Bassdrum.wav");
    EXPECT_EQ(requests[0].initialPath.parent_path(), library.parent_path() / "Exports");
    std::ifstream written(*choice, std::ios::binary);
    std::string header(12, '\0');
    written.read(header.data(), 12);
    EXPECT_EQ(header.substr(0, 4), "RIFF");
    EXPECT_EQ(header.substr(8, 4), "WAVE");
    EXPECT_EQ(editor.readoutText(), "Exported kick.wav");
}

TEST_F(EditorEdits, ExportIntoAMissingFolderSaysWhyAndWritesNothing) {
    answerWith(settings.folder() / "missing" / "kick.wav");
    clickOnPage(frame(), kExport);
    EXPECT_FALSE(std::filesystem::exists(*choice));
    EXPECT_EQ(editor.readoutText().rfind("Export failed: ", 0), 0u) << editor.readoutText();
}

TEST_F(EditorEdits, AuditionPlaysThroughTheRunningInstrument) {
    driver.render(4096);
    EXPECT_LT(testing::peakOf(driver.left), 1e-6f);
    clickOnPage(frame(), kAudition);
    driver.render(4096);
    EXPECT_GT(testing::peakOf(driver.left), 0.1f);
}

} // namespace
} // namespace Korvatune
