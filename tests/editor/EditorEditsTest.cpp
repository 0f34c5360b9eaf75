#include "EditorTestSupport.h"
#include "support/SettingsTestSupport.h"

#include <gtest/gtest.h>

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
