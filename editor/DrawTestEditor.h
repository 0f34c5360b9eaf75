#pragma once

#include "editor/AEffGUIEditor.h"
#include "editor/ControlsGUI.h"
#include "editor/ImageSource.h"
#include "editor/MyTabView.h"
#include "engine/Distortion.h"
#include "engine/PitchEnvelope.h"
#include "gui/CControlListener.h"
#include "gui/FileSelector.h"
#include "programs/ProgramKeys.h"
#include "waveforms/WaveformProvider.h"

#include <array>
#include <atomic>
#include <functional>
#include <memory>

namespace Korvatune {

class VstXSynth;

// The instrument's editor: a frame with a tab view of two pages, "Synth" (every control) and
// "About". It turns control changes into parameter changes and keeps the controls, texts and
// pictures in step with the instrument.
//
// Threads: setParameter and refreshAll may come from any thread (automation arrives on the
// audio thread); they only raise atomic flags. Views are touched only by the thread that calls
// the editor requests (open, idle, close), which applies the flags in idle.
class DrawTestEditor : public AEffGUIEditor, public Gui::CControlListener {
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 465;

    explicit DrawTestEditor(VstXSynth& synth, ImageSource images = loadEmbeddedImage);
    ~DrawTestEditor() override;

    void close() override;
    void idle() override;

    void valueChanged(Gui::Control& control) override;

    // Called by the instrument after it stored a parameter, on whatever thread changed it.
    void setParameter(int index, float value);
    // Called by the instrument after it selected a program, on any thread.
    void refreshAll();

    void setFileSelector(std::unique_ptr<Gui::IFileSelector> selector);

    // Told, on the editor's thread, of every parameter value the user sets in the editor, after
    // the instrument has it; a host shell that records the user's edits listens here.
    using ParameterEditListener = std::function<void(int index, float value)>;
    void setParameterEditListener(ParameterEditListener listener);

    // The Synth page while the window is open, else null.
    ControlsGUI* synthPage() const { return synthPage_; }
    // Pages count from 0: Synth, About. Does nothing while the window is closed.
    void selectPage(std::size_t index);

private:
    void buildViews(Gui::Frame& frame) override;
    void addAboutPage(MyTabView& tabs, ImageCache& images);

    void applyPendingChanges();
    void followParameter(int index);
    bool canLoadWaveformFile();
    void stepWaveform(int tag, float rockerValue);
    void stepDistortionType(float rockerValue);
    void setSynthParameter(int index, float value);
    void reportEdit(int index);

    void refreshEverything();
    void refreshDistortion();
    void refreshDistortionCurve();
    void refreshWaveformPicture(int oscillator);
    void refreshPitchEnvelopePicture();
    void refreshPitchEnvelopeKnobs();
    void refreshOscillator(int oscillator);

    void openWaveformFile();
    void loadProgramFile();
    void saveProgramFile();
    void loadChosenWaveform(const std::filesystem::path& path);
    void loadChosenProgram(const std::filesystem::path& path);

    VstXSynth& synth_;
    ImageSource images_;
    std::shared_ptr<const Gui::Bitmap> background_;
    std::unique_ptr<Gui::IFileSelector> fileSelector_;
    ParameterEditListener editListener_;
    ControlsGUI* synthPage_ = nullptr;
    MyTabView* tabView_ = nullptr;

    std::array<float, PitchEnvelope::kDisplayPoints> pitchCurve_{};
    std::array<float, Distortion::kDisplayCurvePoints> distortionCurve_{};
    std::array<std::array<float, WaveformProvider::kPreviewPointCount>, kNumOscillators>
        waveformPoints_{};

    std::array<std::atomic<bool>, kNumProgramKeys> parameterChanged_{};
    std::atomic<bool> refreshRequested_{false};
};

} // namespace Korvatune
