#pragma once

#include "editor/AEffGUIEditor.h"
#include "editor/ControlsGUI.h"
#include "editor/MyTabView.h"
#include "editor/UndoHistory.h"
#include "engine/Distortion.h"
#include "engine/PitchEnvelope.h"
#include "gui/CControlListener.h"
#include "gui/FileSelector.h"
#include "gui/ImageLibrary.h"
#include "gui/KeyEvent.h"
#include "gui/TextLabel.h"
#include "plugin/InstrumentEditor.h"
#include "programs/ProgramKeys.h"
#include "resources/EditorImages.h"
#include "waveforms/WaveformProvider.h"

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Korvatune {

class VstXSynth;

// Gives the editor's images drawn at a scale.
using EditorImageSource = std::function<std::shared_ptr<const Gui::ImageLibrary>(Gui::Scale)>;

// The tag of the About page's size control.
inline constexpr int kTagEditorSize = 2002;

// The instrument's editor: a frame with a tab view of two pages, "Synth" (every control) and
// "About" (with the control that sets the editor's size). It turns control changes into
// parameter changes and keeps the controls, texts and pictures in step with the instrument.
// It is laid out in design pixels and built at the size the user, the system or the host asks
// for, from images drawn at that size.
//
// Threads: setParameter and refreshAll may come from any thread (automation arrives on the
// audio thread); they only raise atomic flags. Views are touched only by the thread that calls
// the editor requests (open, idle, close), which applies the flags in idle.
class DrawTestEditor : public AEffGUIEditor, public InstrumentEditor, public Gui::CControlListener {
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 465;

    explicit DrawTestEditor(VstXSynth& synth, EditorImageSource images = editorImagesAt);
    ~DrawTestEditor() override;

    void close() override;
    void idle() override;

    bool openIn(void* parentWindow, std::optional<double> hostScalePercent) override;
    EditorSize size() override;
    std::uintptr_t windowHandle() const override;
    // A gesture still open ends with the listener it began with.
    void setEditListener(EditListener* listener) override;
    void setHostResize(std::function<bool(int width, int height)> resize) override;

    void valueChanged(Gui::Control& control) override;

    // Called by the instrument after it stored a parameter, on whatever thread changed it.
    void setParameter(int index, float value) override;
    // Called by the instrument after it selected a program, on any thread.
    void refreshAll() override;

    void setFileSelector(std::unique_ptr<Gui::IFileSelector> selector);

    // The display's scale as the host sees it (an LV2 host's scale factor), in percent; it
    // stands in for the system's own setting.
    void setHostDisplayScale(std::optional<double> percent) { hostDisplayScale_ = percent; }
    // Sets the editor's size as the user's choice: remembered for editors opened later, and the
    // open editor takes it at its next idle.
    void chooseScale(Gui::Scale scale);

    // The Synth page while the window is open, else null.
    ControlsGUI* synthPage() const { return synthPage_; }
    // Pages count from 0: Synth, About. Does nothing while the window is closed.
    void selectPage(std::size_t index);

    // The user's edits, undone and redone as the UNDO and REDO buttons do.
    bool undo();
    bool redo();
    const UndoHistory& history() const { return history_; }
    // What the line under the page says: the parameter under the pointer, or news of an action.
    std::string readoutText() const;
    // The folder the program list shows and SAVE proposes.
    std::filesystem::path libraryFolder() const;

private:
    void buildViews(Gui::Frame& frame) override;
    Gui::Scale scaleForOpening(void* parentWindow) override;
    void addAboutPage(MyTabView& tabs, Gui::Scale scale);

    void applyPendingChanges();
    void followParameter(int index);
    bool canLoadWaveformFile();
    void stepWaveform(int tag, float rockerValue);
    void stepDistortionType(float rockerValue);
    void setSynthParameter(int index, float value);
    void reportEdit(int index);
    // A gesture lasts while the pointer is held; an edit made otherwise is a gesture of its own.
    void endGestures();

    void refreshEverything();
    void refreshDistortion();
    void refreshDistortionCurve();
    void refreshWaveformPicture(int oscillator);
    void refreshPitchEnvelopePicture();
    void refreshPitchEnvelopeKnobs();
    void refreshOscillator(int oscillator);

    // The editor's own additions to the pages: defaults, wheel steps, the readout line.
    void configureControls(Gui::Frame& frame);
    void showReadout(const std::string& text);
    void showParameterReadout(int index);
    void hoverChanged(Gui::Control* control);
    bool keyPressed(const Gui::KeyEvent& key);
    void openContextMenu(Gui::Control& control, Gui::Point where);
    void contextMenuChosen(int tag, int choice, Gui::Point where);
    void openValueField(int index, Gui::Point where);
    void applyTypedValue(int index, const std::string& text);
    void setParameterAsStep(int index, float value);
    void afterControlChange(const Gui::Control& control);

    // Undo steps: edits are collected from the first change of a gesture to its end.
    void noteEditStart(int index);
    void commitEdits(std::uint64_t mergeKey);
    void applyFromHistory(const std::vector<std::pair<int, float>>& values);
    void afterHistoryChange();

    // Programs: stepping, the list, and the mark of an edited program.
    void selectProgramByUser(int program);
    void stepProgram(int direction);
    void openProgramList();
    void programListChosen(int id);
    void resetProgramBaseline();
    void showProgramName();
    void updateEditedMark();
    void recordProgramStep(const std::function<void()>& change);

    void exportCurrentSound();
    void writeExport(const std::filesystem::path& path);

    void openWaveformFile();
    void loadProgramFile();
    void saveProgramFile();
    void loadChosenWaveform(const std::filesystem::path& path);
    void restoreUserTable(int index, const std::vector<float>& samples);
    void showUserTableChange();
    void loadChosenProgram(const std::filesystem::path& path);

    VstXSynth& synth_;
    EditorImageSource imageSource_;
    std::shared_ptr<const Gui::ImageLibrary> images_;
    std::optional<double> hostDisplayScale_;
    std::unique_ptr<Gui::IFileSelector> fileSelector_;
    EditListener* editListener_ = nullptr;
    std::array<bool, kNumProgramKeys> gestureOpen_{};
    ControlsGUI* synthPage_ = nullptr;
    MyTabView* tabView_ = nullptr;

    std::array<float, PitchEnvelope::kDisplayPoints> pitchCurve_{};
    std::array<float, Distortion::kDisplayCurvePoints> distortionCurve_{};
    std::array<std::array<float, WaveformProvider::kPreviewPointCount>, kNumOscillators>
        waveformPoints_{};

    UndoHistory history_;
    std::vector<std::pair<int, float>> pendingEdits_;
    std::array<float, kNumProgramKeys> programBaseline_{};
    int baselineProgram_ = -1;
    bool shownEdited_ = false;
    std::vector<std::filesystem::path> listedLibraryFiles_;
    Gui::TextLabel* readout_ = nullptr;
    std::string readoutText_;
    Gui::Control* hovered_ = nullptr;

    std::array<std::atomic<bool>, kNumProgramKeys> parameterChanged_{};
    std::atomic<bool> refreshRequested_{false};
};

// The editor an instrument made, or null in a build without one.
DrawTestEditor* drawTestEditorOf(VstXSynth& synth);

} // namespace Korvatune
