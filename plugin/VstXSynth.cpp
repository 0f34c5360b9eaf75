#include "plugin/VstXSynth.h"

#include "plugin/DistortionDisplayNames.h"
#include "plugin/Identity.h"
#include "plugin/NumberFormat.h"
#include "plugin/ParameterTable.h"
#include "plugin/SampleRateRange.h"
#include "plugin/vst2/UniqueId.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace Korvatune {

namespace {

bool isParameterIndex(std::int32_t index) {
    return index >= 0 && index < kNumProgramKeys;
}

} // namespace

VstXSynth::VstXSynth(audioMasterCallback hostCallback, EditorFactory makeEditor)
    : AudioEffectX(hostCallback, kNumPrograms, kNumProgramKeys) {
    build(makeEditor);
    waveformProvider.setFolder(getDirectory());
    buildTables();
}

VstXSynth::VstXSynth(const std::string& installFolder, EditorFactory makeEditor)
    : AudioEffectX(nullptr, kNumPrograms, kNumProgramKeys) {
    build(makeEditor);
    waveformProvider.setUtf8Folder(installFolder);
    buildTables();
}

void VstXSynth::build(EditorFactory makeEditor) {
    if (makeEditor != nullptr) {
        makeEditor(*this);
    }
    waveformProvider.setSubfolder("waveforms");
    ringModulator.setOwner(this);
    for (Note& voice : voices) {
        voice.setOwner(this);
        voice.shareMemos(&voiceMemos);
        voice.useWideLanes(true);
    }
    for (PitchSweepPlan& plan : sweepPlans) {
        plan.useWideLanes(true);
    }
    programs = std::make_unique<VstXSynthProgram[]>(kNumPrograms);
    loadFactoryBank(std::span<VstXSynthProgram, kNumPrograms>(programs.get(), kNumPrograms));
    for (int channel = 0; channel < kNumMidiChannels; ++channel) {
        channelPrograms[channel] = channel;
    }
    setProgram(0);
    if (hasHostCallback()) {
        setFlag(effFlagsIsSynth, true);
        setFlag(effFlagsCanReplacing, true);
        setNumInputs(0);
        setNumOutputs(kNumOutputs);
        setUniqueID(kUniqueId);
    }
}

void VstXSynth::buildTables() {
    waveformProvider.build();
    buildNoteFrequencies();
}

VstXSynth::~VstXSynth() = default;

void VstXSynth::attachEditor(std::unique_ptr<AEffEditor> window, InstrumentEditor& editor) {
    instrumentEditor = &editor;
    setEditor(std::move(window));
}

void VstXSynth::refreshEditor() {
    if (instrumentEditor != nullptr) {
        instrumentEditor->refreshAll();
    }
}

void VstXSynth::buildNoteFrequencies() {
    double frequency = 8.175798915636872;
    for (float& entry : noteFrequencies) {
        entry = static_cast<float>(frequency);
        frequency *= 1.059463094359;
    }
}

void VstXSynth::setSampleRate(float rate) {
    if (!isUsableSampleRate(rate)) {
        return;
    }
    AudioEffectX::setSampleRate(rate);
    pitchEnvelope.setSampleRate(rate);
    ringModulator.setSampleRate(rate);
    outputChain.setSampleRate(rate);
    for (Note& voice : voices) {
        voice.setSampleRate(rate);
    }
    phaseScale = 4096.0f / rate;
}

// Hosts resume with processing stopped: the voices' settings and saturation curves are laid out
// here rather than in the first block.
void VstXSynth::resume() {
    outputChain.resume();
    readFrameSettings();
    running.store(true, std::memory_order_relaxed);
}

void VstXSynth::suspend() {
    running.store(false, std::memory_order_relaxed);
}

void VstXSynth::setProgram(std::int32_t index) {
    if (static_cast<std::uint32_t>(index) >= static_cast<std::uint32_t>(kNumPrograms)) {
        return;
    }
    AudioEffect::setProgram(index);
    const VstXSynthProgram& selected = programs[index];
    for (int i = 0; i < kNumProgramKeys; ++i) {
        workingValues[i].store(selected.getValue(i), std::memory_order_relaxed);
    }
    pitchEnvelope.setDuration(selected.getValue(kPitchDuration));
    pitchEnvelope.setAmount(selected.getValue(kPitchAmount));
    pitchEnvelope.setPower(selected.getValue(kPitchPower));
    ringModulator.setAmount(selected.getValue(kRingModulationAmount));
    ringModulator.setFrequency(selected.getValue(kRingModulationFrequency));
    outputChain.selectProgram(selected);
    peakResetRequest.store(true, std::memory_order_relaxed);
    refreshEditor();
}

void VstXSynth::setProgramName(const char* name) {
    currentProgram().setName(name);
}

void VstXSynth::getProgramName(char* name) {
    copyText(name, currentProgram().getName().c_str(), kProgramNameCapacity);
}

bool VstXSynth::getProgramNameIndexed(std::int32_t, std::int32_t index, char* text) {
    if (index < 0 || index >= kNumPrograms) {
        return false;
    }
    copyText(text, programs[index].getName().c_str(), kProgramNameCapacity);
    return true;
}

void VstXSynth::setParameter(std::int32_t index, float value) {
    // One bad automation value must not poison the sound for good, and values beyond the 0..1
    // the interface defines would drive the voices and the chain to overflow.
    if (!isParameterIndex(index) || !std::isfinite(value)) {
        return;
    }
    value = std::clamp(value, 0.0f, 1.0f);
    currentProgram().setRawValue(index, value);
    workingValues[index].store(value, std::memory_order_relaxed);
    applyParameterEffect(index, value);
    outputChain.setParameter(index, value);
    if (instrumentEditor != nullptr) {
        instrumentEditor->setParameter(index, value);
    }
}

void VstXSynth::applyParameterEffect(int index, float value) {
    switch (index) {
    case kPitchDuration:
        pitchEnvelope.setDuration(value);
        break;
    case kPitchAmount:
        pitchEnvelope.setAmount(value);
        break;
    case kPitchPower:
        pitchEnvelope.setPower(value);
        break;
    case kRingModulationAmount:
        ringModulator.setAmount(value);
        break;
    case kRingModulationFrequency:
        ringModulator.setFrequency(value);
        break;
    default:
        break;
    }
}

float VstXSynth::getParameter(std::int32_t index) {
    return isParameterIndex(index) ? workingValue(index) : 0.0f;
}

void VstXSynth::getParameterName(std::int32_t index, char* text) {
    if (isParameterIndex(index)) {
        copyText(text, parameterInfo(index).name, kParameterTextLimit);
    }
}

void VstXSynth::getParameterLabel(std::int32_t index, char* text) {
    copyText(text, isParameterIndex(index) ? parameterInfo(index).label : "", kParameterTextLimit);
}

void VstXSynth::getParameterDisplay(std::int32_t index, char* text) {
    *text = '\0';
    if (isParameterIndex(index)) {
        formatDisplay(index, workingValue(index), text);
    }
}

// "L 100" .. "Center" .. "R 100": percent of the way from the centre to one side.
void VstXSynth::formatPan(float value, char* text) {
    const long percent = std::lround((std::clamp(value, -500.0f, 500.0f) - 0.5f) * 200.0f);
    if (percent == 0) {
        copyText(text, "Center", kParameterTextLimit);
        return;
    }
    char formatted[32];
    std::snprintf(formatted, sizeof formatted, "%c %ld", percent < 0 ? 'L' : 'R',
                  std::labs(percent));
    copyText(text, formatted, kParameterTextLimit);
}

void VstXSynth::formatDisplay(int index, float value, char* text) const {
    switch (parameterInfo(index).display) {
    case DisplayRule::Waveform:
        WaveformProvider::displayText(value, text);
        break;
    case DisplayRule::PitchAmount:
        float2string(value * pitchEnvelope.getScale(), text, kParameterTextLimit);
        break;
    case DisplayRule::DistortionType:
        copyText(text, distortionDisplayName(Distortion::typeIndex(value)), kParameterTextLimit);
        break;
    case DisplayRule::RingModHz:
        float2string(value * RingModulator::kRateRange, text, kParameterTextLimit);
        break;
    case DisplayRule::Pan:
        formatPan(value, text);
        break;
    case DisplayRule::Decibel:
        dB2string(value, text, kParameterTextLimit);
        break;
    case DisplayRule::OnOff:
        copyText(text, value > 0.5f ? "on" : "off", kParameterTextLimit);
        break;
    case DisplayRule::Octave:
        float2string((value - 0.5f) * 2.0f, text, kParameterTextLimit);
        break;
    case DisplayRule::CutoffHz:
        float2string(getSampleRate() * value * 0.5f, text, kParameterTextLimit);
        break;
    case DisplayRule::TimesFive:
        float2string(value * 5.0f, text, kParameterTextLimit);
        break;
    case DisplayRule::TimesTwenty:
        float2string(value * 20.0f, text, kParameterTextLimit);
        break;
    default:
        float2string(value, text, kParameterTextLimit);
        break;
    }
}

} // namespace Korvatune
