#include "editor/DrawTestEditor.h"

#include "plugin/VstXSynth.h"

#include <cstdio>
#include <string>

namespace Korvatune {

namespace {

// "%d: %s" with a number counted from 1.
std::string numberedName(int index, const char* name) {
    char text[64];
    std::snprintf(text, sizeof text, "%d: %s", index + 1, name);
    return text;
}

constexpr int kGlobalFilterTags[] = {kFilterType, kFilterCutoff, kFilterResonance};
constexpr int kRingModulationTags[] = {kRingModulationAmount, kRingModulationFrequency};
constexpr int kToneAndOutputTags[] = {kBassAmount, kMidAmount, kHighAmount, kDumpExpand, kVolume};

} // namespace

// Brings every control, text and picture of an open window up to the instrument's state.
void DrawTestEditor::refreshEverything() {
    if (synthPage_ == nullptr) {
        return;
    }
    for (int tag : kGlobalFilterTags) {
        synthPage_->setControlValue(tag, synth_.getParameter(tag));
    }
    for (int tag : kRingModulationTags) {
        synthPage_->setControlValue(tag, synth_.getParameter(tag));
    }
    refreshDistortion();
    refreshDistortionCurve();
    for (int oscillator = 1; oscillator <= kNumOscillators; ++oscillator) {
        refreshWaveformPicture(oscillator);
    }
    refreshPitchEnvelopePicture();
    refreshPitchEnvelopeKnobs();
    for (int oscillator = 1; oscillator <= kNumOscillators; ++oscillator) {
        refreshOscillator(oscillator);
    }
    for (int tag : kToneAndOutputTags) {
        synthPage_->setControlValue(tag, synth_.getParameter(tag));
    }
    synthPage_->showVolume(synth_.getParameter(kVolume));
    showProgramName();
    synthPage_->setControlValue(kBypassFX, synth_.getParameter(kBypassFX));
}

void DrawTestEditor::refreshDistortion() {
    if (synthPage_ == nullptr) {
        return;
    }
    for (int tag : {kDistortion, kQuantization, kSampleRate}) {
        synthPage_->setControlValue(tag, synth_.getParameter(tag));
    }
    const int type = Distortion::typeIndex(synth_.getParameter(kDistortionType));
    synthPage_->setDistortionTypeName(numberedName(type, Distortion::typeNameOfIndex(type)));
}

void DrawTestEditor::refreshDistortionCurve() {
    if (synthPage_ == nullptr) {
        return;
    }
    synth_.getOutputChain().getDistortion().displayCurve(distortionCurve_);
    synthPage_->distortionPicture().setPoints(distortionCurve_.data(),
                                              static_cast<int>(distortionCurve_.size()));
}

void DrawTestEditor::refreshWaveformPicture(int oscillator) {
    if (synthPage_ == nullptr) {
        return;
    }
    const float waveform = synth_.getParameter(oscillatorKey(oscillator, kOscWaveform));
    const bool inverted = synth_.getParameter(oscillatorKey(oscillator, kOscInvertWaveform)) > 0.5f;
    auto& points = waveformPoints_[static_cast<std::size_t>(oscillator - 1)];
    synth_.getWaveformProvider()->previewPoints(waveform, inverted, points.data());
    synthPage_->waveformPicture(oscillator)
        .setPoints(points.data(), static_cast<int>(points.size()));
    const int index = WaveformProvider::waveformIndex(waveform);
    synthPage_->setWaveformName(oscillator,
                                numberedName(index, WaveformProvider::waveformNameAt(index)));
}

void DrawTestEditor::refreshPitchEnvelopePicture() {
    if (synthPage_ == nullptr) {
        return;
    }
    synth_.getPitchEnvelope().fillDisplayCurve(pitchCurve_);
    synthPage_->pitchPicture().setPoints(pitchCurve_.data(), static_cast<int>(pitchCurve_.size()));
}

// Taken from the envelope itself rather than from the parameters.
void DrawTestEditor::refreshPitchEnvelopeKnobs() {
    const PitchEnvelope& envelope = synth_.getPitchEnvelope();
    synthPage_->setControlValue(kPitchAmount, envelope.getAmount());
    synthPage_->setControlValue(kPitchDuration, envelope.getDuration());
    synthPage_->setControlValue(kPitchPower, envelope.getPower());
    synthPage_->setDisplayValue(kPitchAmount, envelope.getAmount() * envelope.getScale());
    synthPage_->setDisplayValue(kPitchPower, envelope.getPower() * 20.0f);
}

void DrawTestEditor::refreshOscillator(int oscillator) {
    for (int key = kOscFreq; key < kKeysPerOscillator; ++key) {
        const int tag = oscillatorKey(oscillator, static_cast<ProgramKey>(key));
        synthPage_->setControlValue(tag, synth_.getParameter(tag));
    }
}

} // namespace Korvatune
