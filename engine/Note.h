#pragma once

#include "engine/FilterEnvelope.h"
#include "engine/Modulator.h"
#include "engine/OscillatorKeys.h"
#include "engine/StereoSample.h"
#include "engine/VoiceFrameSettings.h"
#include "engine/VoiceState.h"
#include "filters/BiquadTweakedButterworthHP.h"
#include "filters/Filter_MoogVCF_variant1.h"
#include "filters/HighPassLanes.h"
#include "waveforms/WaveformProvider.h"

#include <cstdint>

namespace Korvatune {

class IAudioEffect;
class VstXSynthProgram;

// Values the voices of one instrument compute alike when they were struck together: the
// modulator's sines and the high-pass designs. Owned by the voices' owner and used on the
// audio thread only.
struct VoiceMemos {
    ModulatorMemo modulator;
    HighPassLanesMemo highPass;
};

// One sounding note: three table oscillators, each saturated, ring-mixed with its own slow
// modulator, filtered and panned, under a short attack/hold/release envelope. Oscillator
// settings are read from the owner's current program every sample so that knob moves are heard
// on sounding notes; only the note number and the velocity are fixed at note start. The three
// oscillators run side by side in vector lanes, oscillator k in lane k, each computing exactly
// what it would alone.
//
// Per sample the owner calls renderFrame on every voice that is not idle, then advance and
// modulatePhases. The engine core renders through prepareFrame and finishFrame with the
// program's values read once per frame for every voice: the same sound, without asking the
// owner for the program and the waveform provider through its interface.
// Audio thread only.
class Note {
public:
    static constexpr int kOscillators = 3;
    // What each high-pass lane computes.
    using HighPass = HighPassLanes::Scalar;

    Note();
    virtual ~Note() = default;
    Note(const Note&) = delete;
    Note& operator=(const Note&) = delete;

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
    void prepareFrame(const VoiceFrameSettings& settings) { prepare(settings); }
    StereoSample finishFrame();
    // One sample on: counters, oscillator phases, amplitude envelope.
    void advance() { advance(phaseIncrement()); }
    // The same, for an owner that knows the note's phaseIncrement() already.
    void advance(float phaseStep);
    // The pitch envelope's offset and the span of the oscillators' pitch controls, both in
    // table steps per sample (the span is twice phaseIncrement()).
    void modulatePhases(float pitchOffset, float pitchSpan);
    void modulatePhases(const VstXSynthProgram& program, float pitchOffset, float pitchSpan);
    void modulatePhases(const VoiceFrameSettings& settings, float pitchOffset, float pitchSpan) {
        if (owner != nullptr) {
            modulate(settings, pitchOffset, pitchSpan);
        }
    }
    // advance(phaseStep), then modulatePhases(settings, ...), in one call: the engine core's step
    // for every voice and frame.
    void advanceAndModulate(float phaseStep, const VoiceFrameSettings& settings, float pitchOffset,
                            float pitchSpan);

    // Runs the per-frame work in 256-bit registers when the processor has them (no effect where
    // wideLanesAvailable() is false); the sound is the same either way.
    void useWideLanes(bool on) { wideLanes = on && wideLanesAvailable(); }
    bool usesWideLanes() const { return wideLanes; }

    // Table steps per sample of the note's own frequency; 0 without owner or note table.
    float phaseIncrement() const;
    // Seconds since start, the time the pitch envelope is evaluated at; with framesLater, the
    // time that many frames on.
    float elapsedSeconds(std::uint32_t framesLater = 0) const {
        return static_cast<float>(sampleCount + framesLater) / sampleRate;
    }

    float getEnvelopeLevel() const { return envLevel; }
    float getVelocity() const { return velocity; }
    float getPhase(int oscillator) const { return phases[oscillator]; }
    // The last sample oscillator 0..2 produced; 0 when it was not rendered.
    float getOscillatorOutput(int oscillator) const { return oscillatorOutputs[oscillator]; }

private:
    // Far beyond anything a sounding voice produces (80 dB over full scale).
    static constexpr float kRunawayLevel = 1e4f;

    void resetFilters();
    // The per-frame work, compiled a second time for 256-bit registers where the processor has
    // them; both give the same bits. Dispatched inline (below the class): the engine core calls
    // these for every voice and frame.
    void prepare(const VoiceFrameSettings& settings);
    void modulate(const VoiceFrameSettings& settings, float pitchOffset, float pitchSpan);
    void prepareNarrow(const VoiceFrameSettings& settings);
    StereoSample finishNarrow();
    void modulateNarrow(const VoiceFrameSettings& settings, float pitchOffset, float pitchSpan);
    template <bool kWide> void prepareWith(const VoiceFrameSettings& settings);
    StereoSample finishWith();
    template <bool kWide>
    void modulateWith(const VoiceFrameSettings& settings, float pitchOffset, float pitchSpan);
#if KORVATUNE_WIDE_LANES
    void prepareWide(const VoiceFrameSettings& settings);
    StereoSample finishWide();
    void modulateWide(const VoiceFrameSettings& settings, float pitchOffset, float pitchSpan);
    void advanceAndModulateWide(float phaseStep, const VoiceFrameSettings& settings,
                                float pitchOffset, float pitchSpan);
#endif
    IntLanes tableIndices() const;
    FloatLanes readTables(const VoiceFrameSettings& settings, IntLanes index) const;
    // At `frame` samples since the note started.
    FloatLanes modulatedCutoffs(const VoiceFrameSettings& settings, FloatLanes modulation,
                                std::uint32_t frame) const;
    FloatLanes filter(const VoiceFrameSettings& settings);
    StereoSample pan(const VoiceFrameSettings& settings) const;
    void advanceClock(float phaseStep);
    void stepState();
    float envelopeLevel() const;

    static constexpr float kVelocityScale = 127.0f;

    FloatLanes phases{};
    float sampleRate = 44100.0f;
    VoiceState state = VoiceState::Idle;
    int noteNumber = -1;
    std::uint32_t sampleCount = 0;
    float envLevel = 0.0f;
    float velocity = kVelocityScale;
    // velocity / kVelocityScale, the output's gain.
    float velocityGain = 1.0f;
    FloatLanes oscillatorOutputs{};
    std::uint32_t attackCount = 0;
    std::uint32_t holdCount = 0;
    std::uint32_t releaseCount = 0;
    std::int32_t attackLength;
    std::int32_t holdLength;
    std::int32_t releaseLength;
    LadderFilter<FloatLanes> lowPass;
    HighPassLanes highPass;
    FilterEnvelope filterEnvelope;
    Modulator modulator;
    // Handed from prepareFrame to finishFrame, which may come after the voice has advanced.
    bool frameReady = false;
    const VoiceFrameSettings* frameSettings = nullptr;
    VoiceFrameSettings ownSettings{};
    float frameEnvelopeLevel = 0.0f;
    FloatLanes frameSamples{};
    FloatLanes frameCutoffs{};
    IAudioEffect* owner = nullptr;
    bool wideLanes = false;
};

inline void Note::prepare(const VoiceFrameSettings& settings) {
#if KORVATUNE_WIDE_LANES
    if (wideLanes) {
        prepareWide(settings);
        return;
    }
#endif
    prepareNarrow(settings);
}

inline StereoSample Note::finishFrame() {
#if KORVATUNE_WIDE_LANES
    if (wideLanes) {
        return finishWide();
    }
#endif
    return finishNarrow();
}

inline void Note::modulate(const VoiceFrameSettings& settings, float pitchOffset, float pitchSpan) {
#if KORVATUNE_WIDE_LANES
    if (wideLanes) {
        modulateWide(settings, pitchOffset, pitchSpan);
        return;
    }
#endif
    modulateNarrow(settings, pitchOffset, pitchSpan);
}

inline void Note::advanceAndModulate(float phaseStep, const VoiceFrameSettings& settings,
                                     float pitchOffset, float pitchSpan) {
#if KORVATUNE_WIDE_LANES
    if (wideLanes) {
        advanceAndModulateWide(phaseStep, settings, pitchOffset, pitchSpan);
        return;
    }
#endif
    advance(phaseStep);
    modulatePhases(settings, pitchOffset, pitchSpan);
}

} // namespace Korvatune
