#pragma once

#include "editor/EnvelopeDataView.h"
#include "gui/CControlListener.h"
#include "gui/Control.h"
#include "gui/ImageLibrary.h"
#include "gui/Scale.h"
#include "gui/TextLabel.h"
#include "gui/ValueDisplay.h"
#include "gui/ViewContainer.h"

#include <array>
#include <map>
#include <memory>
#include <string>

namespace Korvatune {

// Tags of the push buttons; parameter controls carry their parameter index as tag.
inline constexpr int kTagOpenWaveform = 1001;
inline constexpr int kTagLoadProgram = 1003;
inline constexpr int kTagSaveProgram = 1004;
inline constexpr int kTagUndo = 1005;
inline constexpr int kTagRedo = 1006;
inline constexpr int kTagPreviousProgram = 1007;
inline constexpr int kTagNextProgram = 1008;
inline constexpr int kTagAudition = 1009;
inline constexpr int kTagExport = 1010;
// The program name: a click opens the list of programs.
inline constexpr int kTagProgramList = 1011;
inline constexpr int kTagResetPeak = 2001;

inline constexpr int kNumOscillators = 3;

// "-oo dB" for silence, else the level in decibels with one decimal.
std::string levelText(float level);

// The "Synth" page: every control of the instrument, its value displays, labels and pictures.
// Control changes go on to the editor's listener; the push buttons then spring back to off.
// The layout is in design pixels; the page places everything at its scale.
class ControlsGUI : public Gui::ViewContainer, public Gui::CControlListener {
public:
    static constexpr int kWidth = 701;
    static constexpr int kHeight = 371;

    ControlsGUI(Gui::Rect rect, Gui::CControlListener* editor, const Gui::ImageLibrary& images,
                Gui::Scale scale = {});

    void valueChanged(Gui::Control& control) override;

    // Moves the control bound to a parameter and the value display under it; the waveform
    // rockers, the oscillator frequency, pitch and invert controls and the distortion type
    // rocker do not follow.
    void followParameter(int index, float value);
    // Moves the control with that tag and the display under it, whatever the tag.
    void setControlValue(int tag, float value);
    // Shows a value in the display under the knob with that tag, if it has one.
    void setDisplayValue(int knobTag, float value);

    void setWaveformName(int oscillator, const std::string& text);
    void setDistortionTypeName(const std::string& text);
    // An edited program carries a mark after its name.
    void showProgramName(int index, const char* name, bool edited = false);
    void showVolume(float volume);
    void showPeakLevel(float left, float right);

    // Oscillators count from 1.
    EnvelopeDataView& waveformPicture(int oscillator) {
        return *waveformPictures_.at(oscillator - 1);
    }
    EnvelopeDataView& pitchPicture() { return *pitchPicture_; }
    EnvelopeDataView& distortionPicture() { return *distortionPicture_; }

    // Null for a tag no control carries.
    Gui::Control* control(int tag) const;
    Gui::ValueDisplay* displayUnder(int knobTag) const;
    const Gui::TextLabel& waveformName(int oscillator) const {
        return *waveformNames_.at(oscillator - 1);
    }
    const Gui::TextLabel& distortionTypeName() const { return *distortionTypeName_; }
    const Gui::TextLabel& programName() const { return *programName_; }
    const Gui::TextLabel& volumeText() const { return *volumeText_; }
    const Gui::TextLabel& peakText() const { return *peakText_; }

private:
    void addOscillatorRow(const Gui::ImageLibrary& images, int oscillator);
    void addGlobalSections(const Gui::ImageLibrary& images);
    void addKnob(const Gui::ImageLibrary& images, Gui::Rect rect, int image, int tag);
    void addDisplay(Gui::Rect rect, int knobTag);
    void addSlider(const Gui::ImageLibrary& images, Gui::Rect rect, int handleFrom, int handleTo,
                   int tag);
    void addButton(const Gui::ImageLibrary& images, Gui::Rect rect, int image, int tag);
    void addRocker(const Gui::ImageLibrary& images, Gui::Rect rect, int tag);
    void addImage(const Gui::ImageLibrary& images, Gui::Rect rect, int image);
    void addProgramControls(const Gui::ImageLibrary& images);
    Gui::TextLabel* addLabel(Gui::Rect rect, std::string text, Gui::TextStyle style,
                             bool transparent);
    EnvelopeDataView* addPicture(Gui::Rect rect, float scale, int yOffset);
    template <class ControlType> ControlType* addControl(std::unique_ptr<ControlType> control);

    Gui::CControlListener* editor_;
    Gui::Scale scale_;
    std::map<int, Gui::Control*> controls_;
    std::map<int, Gui::ValueDisplay*> displays_;
    std::array<EnvelopeDataView*, kNumOscillators> waveformPictures_{};
    std::array<Gui::TextLabel*, kNumOscillators> waveformNames_{};
    EnvelopeDataView* pitchPicture_ = nullptr;
    EnvelopeDataView* distortionPicture_ = nullptr;
    Gui::TextLabel* distortionTypeName_ = nullptr;
    Gui::TextLabel* programName_ = nullptr;
    Gui::TextLabel* volumeText_ = nullptr;
    Gui::TextLabel* peakText_ = nullptr;
};

} // namespace Korvatune
