#pragma once

#include "engine/FilterEnvelope.h"
#include "engine/Modulator.h"
#include "engine/OscillatorKeys.h"
#include "engine/StereoSample.h"
#include "engine/VoiceState.h"
#include "filters/BiquadTweakedButterworthHP.h"
#include "filters/Filter_MoogVCF_variant1.h"
#include "waveforms/WaveformProvider.h"

#include <array>
#include <cstdint>
#include <limits>

namespace Korvatune {

class IAudioEffect;
class VstXSynthProgram;

// Values the voices of one instrument compute alike when they were struck together: per
// oscillator, the modulator's sine and the high-pass design. Owned by the voices' owner and
// used on the audio thread only.
struct VoiceMemos {
    std::array<ModulatorMemo, 3> modulators;
    std::array<HighPassDesignMemo<float>, 3> highPasses;
};

// One sounding note: three table oscillators, each saturated, ring-mixed with its own slow
// modulator, filtered and panned, under a short attack/hold/release envelope. Oscillator
// settings are read from the owner's current program every sample so that knob moves are heard
// on sounding notes; only the note number and the velocity are fixed at note start.
//
// Per sample the owner calls renderFrame on every voice that is not idle, then advance and
// modulatePhases. The engine core renders through prepareFrame and finishFrame and steps through
// the modulatePhases that takes the program: the same sound, without asking the owner for the
// program and the waveform provider through its interface.
// Audio thread only.
class Note {
public:
    static constexpr int kOscillators = 3;
    // Its cutoff moves every sample under modulation, so it takes the fast curve functions.
    using HighPass = BiquadTweakedButterworthHP<float, FastCurveMaths>;

    Note();
    virtual ~Note() = default;
    Note(const Note&) = delete;
    Note& operator=(const Note&) = delete;

    // Also hands the owner to the three modulators.
    void setOwner(IAudioEffect* audioEffect);
    // Shares the memos with the other voices of the same owner; they must outlive the voice.
    void shareMemos(VoiceMemos* memos);
    // Time base of the envelopes and modulators; the amplitude segment lengths keep the
    // lengths they got at construction.
    void setSampleRate(float hertz);
    float getSampleRate() const { return sampleRate; }

    void setNoteNumber(int number) { noteNumber = number; }
    int getNoteNumber() const { return noteNumber; }

    // Note-on. The envelope level is left as it was, so the first frame is silent.
    void start(int noteVelocity);
    // Note-off: fades from full level whatever the level was. An idle voice stays idle.
    void release();
    VoiceState getState() const { return state; }
    bool isIdle() const { return state == VoiceState::Idle; }

    StereoSample renderFrame();
    // The two halves of renderFrame, for the engine core: everything up to the filters, then
    // the filters and the mix. Preparing every voice before finishing any lets the processor
    // overlap the voices' filter recursions.
    void prepareFrame(const VstXSynthProgram& program, const WaveformProvider& provider);
    // The same with the program's oscillator values read once for every voice of the frame.
    void prepareFrame(const OscillatorSettingsSet& settings, const WaveformProvider& provider);
    StereoSample finishFrame();
    // One sample on: counters, oscillator phases, amplitude envelope.
    void advance();
    // The pitch envelope's offset and the span of the oscillators' pitch controls, both in
    // table steps per sample (the span is twice phaseIncrement()).
    void modulatePhases(float pitchOffset, float pitchSpan);
    void modulatePhases(const VstXSynthProgram& program, float pitchOffset, float pitchSpan);
    void modulatePhases(const OscillatorSettingsSet& settings, float pitchOffset, float pitchSpan);

    // Table steps per sample of the note's own frequency; 0 without owner or note table.
    float phaseIncrement() const;
    // Seconds since start, the time the pitch envelope is evaluated at.
    float elapsedSeconds() const { return static_cast<float>(sampleCount) / sampleRate; }

    float getEnvelopeLevel() const { return envLevel; }
    float getVelocity() const { return velocity; }
    float getPhase(int oscillator) const { return phases[static_cast<std::size_t>(oscillator)]; }
    // The last sample oscillator 0..2 produced; 0 when it was not rendered.
    float getOscillatorOutput(int oscillator) const {
        return oscillatorOutputs[static_cast<std::size_t>(oscillator)];
    }

private:
    // Far beyond anything a sounding voice produces (80 dB over full scale).
    static constexpr float kRunawayLevel = 1e4f;

    void resetFilters();
    struct OscillatorFilters {
        Filter_MoogVCF_variant1 lowPass;
        HighPass highPass;
    };

    // The table index of the last waveform value, so that the lookup runs only on a change.
    struct WaveformSelection {
        float value = std::numeric_limits<float>::quiet_NaN();
        int index = WaveformProvider::waveformIndex(value);
    };

    void prepareWith(const OscillatorSettingsSet& settings, const WaveformProvider& provider);
    void modulateWith(const OscillatorSettingsSet& settings, float pitchOffset, float pitchSpan);
    // A ring-mixed oscillator sample and the cutoff its filters run at; the high-pass has
    // taken its controls already.
    struct FilterInput {
        float sample = 0.0f;
        float cutoff = 0.0f;
    };

    using FilterInputs = std::array<FilterInput, kOscillators>;

    FilterInputs prepareOscillators(const OscillatorSettingsSet& settings,
                                    const WaveformProvider& provider, float envelopeFactor);
    StereoSample filterAndPan(const OscillatorSettingsSet& settings, const FilterInputs& inputs);
    FilterInput prepareOscillator(int oscillator, const OscillatorSettings& settings,
                                  const WaveformProvider& provider, float envelopeFactor);
    float readTable(int oscillator, const OscillatorSettings& settings,
                    const WaveformProvider& provider);
    float modulatedCutoff(int oscillator, const OscillatorSettings& settings, float modulation,
                          float envelopeFactor) const;
    float filter(int oscillator, const FilterInput& input, const OscillatorSettings& settings);
    void modulatePhase(int oscillator, const OscillatorSettings& settings, float pitchOffset,
                       float pitchSpan, float frequencyModulation);
    void stepState();
    float envelopeLevel() const;

    static constexpr float kVelocityScale = 127.0f;

    std::array<float, kOscillators> phases{};
    float sampleRate = 44100.0f;
    VoiceState state = VoiceState::Idle;
    int noteNumber = -1;
    std::uint32_t sampleCount = 0;
    float envLevel = 0.0f;
    float velocity = kVelocityScale;
    std::array<float, kOscillators> oscillatorOutputs{};
    std::uint32_t attackCount = 0;
    std::uint32_t holdCount = 0;
    std::uint32_t releaseCount = 0;
    std::int32_t attackLength;
    std::int32_t holdLength;
    std::int32_t releaseLength;
    std::array<OscillatorFilters, kOscillators> filters;
    FilterEnvelope filterEnvelope;
    std::array<Modulator, kOscillators> modulators;
    std::array<WaveformSelection, kOscillators> waveforms;
    // Handed from prepareFrame to finishFrame.
    bool frameReady = false;
    OscillatorSettingsSet frameSettings{};
    FilterInputs frameInputs{};
    IAudioEffect* owner = nullptr;
};

} // namespace Korvatune
