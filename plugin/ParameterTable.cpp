#include "plugin/ParameterTable.h"

#include <array>

namespace Korvatune {

namespace {

using enum DisplayRule;

constexpr std::array<ParameterInfo, kNumProgramKeys> kParameters = {{
    {"Wave 1", "Shape", Waveform},
    {"Freq 1", "Hz", Value},
    {"Levl 1", "dB", Decibel},
    {"Sat 1", "", Value},
    {"Pan  1", "L/R", Pan},
    {"Pitch1", "Octave", Octave},
    {"F-Type1", "LP/HP", Value},
    {"Cutoff1", "Hz", CutoffHz},
    {"Rezo1", "Q", Value},
    {"Invert1", "", OnOff},
    {"ModFreq1", "", TimesFive},
    {"ModAmpl1", "", Value},
    {"FM Amt1", "", Value},
    {"ModFilt1", "", Value},
    {"Wave 2", "Shape", Waveform},
    {"Freq 2", "Hz", Value},
    {"Levl 2", "dB", Decibel},
    {"Sat 2", "", Value},
    {"Pan  2", "L/R", Pan},
    {"Pitch2", "Octave", Octave},
    {"F-Type2", "LP/HP", Value},
    {"Cutoff2", "Hz", CutoffHz},
    {"Rezo2", "Q", Value},
    {"Invert2", "", OnOff},
    {"ModFreq2", "", TimesFive},
    {"ModAmpl2", "", Value},
    {"FM Amt2", "", Value},
    {"ModFilt2", "", Value},
    {"Wave 3", "Shape", Waveform},
    {"Freq 3", "Hz", Value},
    {"Levl 3", "dB", Decibel},
    {"Sat 3", "", Value},
    {"Pan  3", "L/R", Pan},
    {"Pitch3", "Octave", Octave},
    {"F-Type3", "LP/HP", Value},
    {"Cutoff3", "Hz", CutoffHz},
    {"Rezo3", "Q", Value},
    {"Invert3", "", OnOff},
    {"ModFreq3", "", TimesFive},
    {"ModAmpl3", "", Value},
    {"FM Amt3", "", Value},
    {"ModFilt3", "", Value},
    {"Pitch Duration", "sec.", Value},
    {"Pitch Amount", "", PitchAmount},
    {"Pitch Power", "", TimesTwenty},
    {"Bass Amount", "", Value},
    {"Mid Amount", "", Value},
    {"High Amount", "", Value},
    {"Quantization", "", Value},
    {"Sample Rate", "Hz", Value},
    {"FilterType", "", Value},
    {"Cutoff", "", Value},
    {"Rezo", "", Value},
    {"Distortion", "", Value},
    {"Dist.Type", "", DistortionType},
    {"RM Amount", "", Value},
    {"RM Freq.", "Hz", RingModHz},
    {"Dump/Expand", "", Value},
    {"BypassFX", "", OnOff},
    {"Volume", "dB", Decibel},
}};

} // namespace

const ParameterInfo& parameterInfo(int index) {
    return kParameters[index];
}

} // namespace Korvatune
