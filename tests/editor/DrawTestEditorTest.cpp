#include "EditorTestSupport.h"

#include "gui/AnimatedKnob.h"
#include "programs/ProgramFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace Korvatune {
namespace {

using testing::clickOnPage;
using testing::dispatch;

// The instrument's own editor, opened without a window, as a host would see it.
class EditorWithSynth : public ::testing::Test {
protected:
    EditorWithSynth() : synth(testing::synthOf(driver.get())), editor(*drawTestEditorOf(synth)) {
        editor.openOffscreen();
        page = editor.synthPage();
    }

    void setFromHost(int index, float value) {
        driver->setParameter(driver.get(), index, value);
        editor.idle();
    }

    float knob(int tag) const { return page->control(tag)->value(); }

    testing::SynthDriver driver;
    VstXSynth& synth;
    DrawTestEditor& editor;
    ControlsGUI* page = nullptr;
};

TEST_F(EditorWithSynth, AnswersItsRectangleAndMarksTheInstrumentAsHavingAnEditor) {
    ERect* rect = nullptr;
    EXPECT_EQ(dispatch(driver.get(), effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 465);
    EXPECT_EQ(rect->right, 800);
    EXPECT_EQ(driver->flags, effFlagsHasEditor | effFlagsCanReplacing | effFlagsIsSynth);
    EXPECT_EQ(editor.getFrame()->rect(), (Gui::Rect{0, 0, 800, 465}));
}

TEST_F(EditorWithSynth, OpeningShowsTheCurrentProgram) {
    EXPECT_EQ(page->programName().text(),
              "0: " + std::string(synth.currentProgram().getName().c_str()));
    EXPECT_EQ(page->volumeText().text(), "-1.5 dB");
    EXPECT_FLOAT_EQ(knob(kVolume), synth.getParameter(kVolume));
    EXPECT_FLOAT_EQ(knob(oscillatorKey(2, kOscFilterCutoff)),
                    synth.getParameter(oscillatorKey(2, kOscFilterCutoff)));
    EXPECT_FLOAT_EQ(page->displayUnder(kPitchAmount)->value(),
                    synth.getParameter(kPitchAmount) * 100.0f);
    EXPECT_EQ(page->waveformName(1).text(), "1: Sine");
    EXPECT_EQ(page->distortionTypeName().text(), "1: Linear");
    EXPECT_EQ(page->waveformPicture(3).count(), 50);
    EXPECT_EQ(page->distortionPicture().count(), 86);
    EXPECT_EQ(page->pitchPicture().count(), 78);
}

TEST_F(EditorWithSynth, SelectingAProgramRefreshesEverythingAtTheNextIdle) {
    dispatch(driver.get(), effSetProgram, 0, 7);
    EXPECT_NE(page->programName().text().rfind("7: ", 0), 0u);
    editor.idle();
    EXPECT_EQ(page->programName().text(), "7: " + std::string(synth.program(7).getName().c_str()));
    for (int index = 0; index < kNumProgramKeys; ++index) {
        if (Gui::Control* control = page->control(index);
            control && !isWaveformKey(index) && index != kDistortionType) {
            EXPECT_FLOAT_EQ(control->value(), synth.getParameter(index)) << "parameter " << index;
        }
    }
    const int waveform = WaveformProvider::waveformIndex(synth.getParameter(kOscWaveform));
    EXPECT_EQ(page->waveformName(1).text(),
              std::to_string(waveform + 1) + ": " + WaveformProvider::waveformNameAt(waveform));
}

TEST_F(EditorWithSynth, FollowsHostChangesOfListedParametersOnly) {
    setFromHost(oscillatorKey(1, kOscFilterCutoff), 0.25f);
    EXPECT_FLOAT_EQ(knob(oscillatorKey(1, kOscFilterCutoff)), 0.25f);
    EXPECT_FLOAT_EQ(page->displayUnder(oscillatorKey(1, kOscFilterCutoff))->value(), 0.25f);
    setFromHost(kRingModulationFrequency, 0.75f);
    EXPECT_FLOAT_EQ(page->displayUnder(kRingModulationFrequency)->value(), 0.75f);
    setFromHost(kPitchPower, 0.5f);
    EXPECT_FLOAT_EQ(knob(kPitchPower), 0.5f);
    EXPECT_FLOAT_EQ(page->displayUnder(kPitchPower)->value(), 10.0f);
    setFromHost(kVolume, 0.0f);
    EXPECT_EQ(page->volumeText().text(), "-oo dB");

    for (int unlisted : {1, 5, 9, 15, 19, 23, 29, 33, 37}) {
        const float before = knob(unlisted);
        setFromHost(unlisted, before > 0.5f ? 0.1f : 0.9f);
        EXPECT_FLOAT_EQ(knob(unlisted), before) << "parameter " << unlisted;
    }
    const float durationDisplay = page->displayUnder(kPitchDuration)->value();
    setFromHost(kPitchDuration, 0.9f);
    EXPECT_FLOAT_EQ(knob(kPitchDuration), 0.9f);
    EXPECT_FLOAT_EQ(page->displayUnder(kPitchDuration)->value(), durationDisplay);
}

TEST_F(EditorWithSynth, WaveformAndInvertChangesRedrawTheirPictures) {
    const float before = page->waveformPicture(2).points()[10];
    setFromHost(oscillatorKey(2, kOscInvertWaveform), 1.0f);
    EXPECT_NE(page->waveformPicture(2).points()[10], before);
    setFromHost(oscillatorKey(3, kOscWaveform), waveformValue(3));
    EXPECT_EQ(page->waveformName(3).text(),
              std::string("4: ") + WaveformProvider::waveformNameAt(3));
}

TEST_F(EditorWithSynth, WaveformRockerStepsThroughTheCatalogueAndStopsAtItsEnds) {
    synth.setParameter(oscillatorKey(2, kOscWaveform), waveformValue(0));
    editor.idle();
    const Gui::Point lowerHalf{86, 122 + 55};
    const Gui::Point upperHalf{86, 122 + 37};
    clickOnPage(*editor.getFrame(), lowerHalf);
    EXPECT_EQ(WaveformProvider::waveformIndex(synth.getParameter(14)), 1);
    EXPECT_FLOAT_EQ(page->control(14)->value(), 0.0f);
    editor.idle();
    EXPECT_EQ(page->waveformName(2).text().substr(0, 3), "2: ");
    clickOnPage(*editor.getFrame(), upperHalf);
    clickOnPage(*editor.getFrame(), upperHalf);
    EXPECT_EQ(WaveformProvider::waveformIndex(synth.getParameter(14)), 0);
    synth.setParameter(14, 1.0f);
    clickOnPage(*editor.getFrame(), lowerHalf);
    EXPECT_FLOAT_EQ(synth.getParameter(14), 1.0f);
}

TEST_F(EditorWithSynth, DistortionTypeRockerStepsAndClampsAtTheLastType) {
    const Gui::Point lowerHalf{467, 290};
    synth.setParameter(kDistortionType, distortionTypeValue(23));
    clickOnPage(*editor.getFrame(), lowerHalf);
    EXPECT_EQ(Distortion::typeIndex(synth.getParameter(kDistortionType)), 24);
    EXPECT_EQ(page->distortionTypeName().text(), "25: MadDog");
    clickOnPage(*editor.getFrame(), lowerHalf);
    EXPECT_FLOAT_EQ(synth.getParameter(kDistortionType), 1.0f);
    EXPECT_EQ(page->distortionTypeName().text(), "25: MadDog");
    synth.setParameter(kDistortionType, 0.0f);
    clickOnPage(*editor.getFrame(), {467, 273});
    EXPECT_FLOAT_EQ(synth.getParameter(kDistortionType), 0.0f);
    EXPECT_EQ(page->distortionTypeName().text(), "1: Linear");
}

TEST_F(EditorWithSynth, KnobChangesSetParametersAndRedrawTheirCurves) {
    Gui::Control& drive = *page->control(kDistortion);
    synth.setParameter(kDistortionType, distortionTypeValue(2));
    drive.setValue(1.0f);
    editor.valueChanged(drive);
    EXPECT_FLOAT_EQ(synth.getParameter(kDistortion), 1.0f);
    std::array<float, 86> expected{};
    synth.getOutputChain().getDistortion().displayCurve(expected);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), page->distortionPicture().points()));

    Gui::Control& amount = *page->control(kPitchAmount);
    amount.setValue(1.0f);
    editor.valueChanged(amount);
    EXPECT_FLOAT_EQ(synth.getParameter(kPitchAmount), 1.0f);
    std::array<float, 78> pitch{};
    synth.getPitchEnvelope().fillDisplayCurve(pitch);
    EXPECT_TRUE(std::equal(pitch.begin(), pitch.end(), page->pitchPicture().points()));

    Gui::Control& bass = *page->control(kBassAmount);
    bass.setValue(0.3f);
    editor.valueChanged(bass);
    EXPECT_FLOAT_EQ(synth.getParameter(kBassAmount), 0.3f);
}

TEST_F(EditorWithSynth, VolumeAndPeakTextsInDecibels) {
    EXPECT_EQ(levelText(0.842f), "-1.5 dB");
    EXPECT_EQ(levelText(0.0f), "-oo dB");
    EXPECT_EQ(levelText(-0.5f), "-oo dB");
    EXPECT_EQ(levelText(1.0f), "0.0 dB");
    page->showPeakLevel(0.1f, 0.5f);
    EXPECT_EQ(page->peakText().text(), "-6.0 dB");
}

TEST_F(EditorWithSynth, PeakLabelShowsTheRenderedPeakAndTheResetButtonClearsIt) {
    dispatch(driver.get(), effMainsChanged, 0, 1);
    driver.noteOn(36);
    // The first block ends with the reset that selecting the program asked for.
    driver.render(512);
    driver.render(512);
    editor.idle();
    const float peak = std::max(synth.getPeakLeft(), synth.getPeakRight());
    ASSERT_GT(peak, 0.0f);
    EXPECT_EQ(page->peakText().text(), levelText(peak));
    clickOnPage(*editor.getFrame(), {520, 350});
    EXPECT_FLOAT_EQ(page->control(kTagResetPeak)->value(), 0.0f);
    driver.render(64);
    editor.idle();
    EXPECT_EQ(page->peakText().text(), "-oo dB");
}

TEST_F(EditorWithSynth, KnobModeReachesEveryKnobAlsoAcrossReopening) {
    EXPECT_EQ(dispatch(driver.get(), effSetEditKnobMode, 0, 2), 1);
    EXPECT_EQ(editor.getFrame()->knobMode(), Gui::KnobMode::Linear);
    editor.close();
    editor.openOffscreen();
    EXPECT_EQ(editor.getFrame()->knobMode(), Gui::KnobMode::Linear);
    dispatch(driver.get(), effSetEditKnobMode, 0, 99);
    EXPECT_EQ(editor.getFrame()->knobMode(), Gui::KnobMode::Linear);
}

TEST_F(EditorWithSynth, RequestsWhileClosedDoNothingAndReopeningBuildsAnew) {
    editor.close();
    EXPECT_EQ(editor.synthPage(), nullptr);
    dispatch(driver.get(), effEditIdle);
    dispatch(driver.get(), effEditClose);
    EXPECT_EQ(dispatch(driver.get(), effEditKeyDown, 'a', 0), 0);
    EXPECT_EQ(dispatch(driver.get(), effEditOpen, 0, 0, nullptr), 0);
    EXPECT_FALSE(editor.isOpen());
    driver->setParameter(driver.get(), kVolume, 0.0f);
    editor.openOffscreen();
    editor.openOffscreen();
    ASSERT_NE(editor.synthPage(), nullptr);
    EXPECT_EQ(editor.synthPage()->volumeText().text(), "-oo dB");
}

TEST_F(EditorWithSynth, RightClickOnATabButtonDoesNotChangeThePage) {
    Gui::Frame& frame = *editor.getFrame();
    // Two 86-pixel buttons centred along the bottom 32 pixels of the 783-pixel tab view.
    const Gui::Point aboutButton{9 + 391 + 40, 9 + 448 - 16};
    frame.handleMouseDown({aboutButton, Gui::MouseButton::Right});
    frame.handleMouseUp({aboutButton, Gui::MouseButton::Right});
    EXPECT_TRUE(page->parent()->isVisible());
    frame.handleMouseDown({aboutButton, Gui::MouseButton::Left});
    frame.handleMouseUp({aboutButton, Gui::MouseButton::Left});
    EXPECT_FALSE(page->parent()->isVisible());
}

// --- file actions ----------------------------------------------------------------------------

class EditorFileActions : public EditorWithSynth {
protected:
    void answerWith(std::optional<std::filesystem::path> choice) {
        editor.setFileSelector(std::make_unique<testing::FakeFileSelector>(choice, requests));
    }

    EditorFileActions() { std::filesystem::create_directories(folder); }
    ~EditorFileActions() override { std::filesystem::remove_all(folder); }

    std::filesystem::path temporaryFile(const std::string& name) const { return folder / name; }

    void writeRawWaveform(const std::filesystem::path& path) {
        std::ofstream file(path, std::ios::binary);
        for (int i = 0; i < 4096; ++i) {
            const float sample = i < 2048 ? 0.5f : -0.5f;
            file.write(reinterpret_cast<const char*>(&sample), sizeof sample);
        }
    }

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("ombrafell-editor-" + std::to_string(::getpid()));
    std::vector<Gui::FileSelectRequest> requests;
};

TEST_F(EditorFileActions, WaveformFileOnlyWhileSuspendedAndOnAUserWaveform) {
    const auto file = temporaryFile("square.raw");
    writeRawWaveform(file);
    answerWith(file);
    const Gui::Point fileButton{40, 110};

    synth.setParameter(kOscWaveform, waveformValue(3));
    dispatch(driver.get(), effMainsChanged, 0, 0);
    clickOnPage(*editor.getFrame(), fileButton);
    EXPECT_TRUE(requests.empty());

    synth.setParameter(kOscWaveform, waveformValue(22));
    dispatch(driver.get(), effMainsChanged, 0, 1);
    clickOnPage(*editor.getFrame(), fileButton);
    EXPECT_TRUE(requests.empty());

    dispatch(driver.get(), effMainsChanged, 0, 0);
    clickOnPage(*editor.getFrame(), fileButton);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].title, "Open waveform file");
    EXPECT_EQ(requests[0].fileTypes.size(), 2u);
    EXPECT_FLOAT_EQ(page->control(kTagOpenWaveform)->value(), 0.0f);
    EXPECT_FLOAT_EQ(synth.getWaveformProvider()->getTableAt(22)[10], 0.98777f);
    EXPECT_GT(page->waveformPicture(1).points()[2], 0.9f);
}

TEST_F(EditorFileActions, SaveAndLoadAProgramFile) {
    const auto file = temporaryFile("saved.obp");
    answerWith(file);
    synth.setParameter(kVolume, 0.25f);
    clickOnPage(*editor.getFrame(), {560, 255});
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].command, Gui::FileSelectCommand::Save);
    EXPECT_EQ(requests[0].title, "Save OB program file");
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_FLOAT_EQ(page->control(kTagSaveProgram)->value(), 0.0f);

    synth.setParameter(kVolume, 0.9f);
    editor.idle();
    clickOnPage(*editor.getFrame(), {510, 255});
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].command, Gui::FileSelectCommand::Load);
    EXPECT_EQ(requests[1].title, "Load OB program file");
    EXPECT_NEAR(synth.getParameter(kVolume), 0.25f, 1e-5f);
    EXPECT_NEAR(page->control(kVolume)->value(), 0.25f, 1e-5f);
    EXPECT_FLOAT_EQ(page->control(kTagLoadProgram)->value(), 0.0f);
}

TEST_F(EditorFileActions, CancelledDialogsChangeNothing) {
    answerWith(std::nullopt);
    const float volume = synth.getParameter(kVolume);
    clickOnPage(*editor.getFrame(), {500, 255});
    clickOnPage(*editor.getFrame(), {550, 255});
    EXPECT_EQ(requests.size(), 2u);
    EXPECT_FLOAT_EQ(synth.getParameter(kVolume), volume);
    EXPECT_FLOAT_EQ(page->control(kTagLoadProgram)->value(), 0.0f);
}

} // namespace
} // namespace Korvatune
