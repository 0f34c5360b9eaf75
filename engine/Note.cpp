#include "engine/Note.h"

#include "engine/IAudioEffect.h"
#include "engine/OscillatorPhase.h"
#include "engine/SampleFunctions.h"
#include "programs/VstXSynthProgram.h"

#include "maths/LaneMath.h"

#include <bit>
#include <cmath>

namespace Korvatune {

namespace {

static_assert(kPhaseCycle == WaveformProvider::kTableSize);

// The segment lengths come from the construction-time rate only.
constexpr float kConstructionRate = 44100.0f;
constexpr float kAttackSeconds = 0.001f;
constexpr float kHoldSeconds = 0.001f;
constexpr float kReleaseSeconds = 0.01f;

// Oscillator 3 scales its dry part before ring mixing, oscillator 2 its cutoff before the
// filter modulation; the others blend.
constexpr IntLanes kRingScalesFirst = {0, 0, -1, 0};
constexpr IntLanes kFilterModScalesFirst = {0, -1, 0, 0};

[[gnu::always_inline]] inline FloatLanes ringMix(FloatLanes sample, FloatLanes amount,
                                                 FloatLanes modulation) {
    const FloatLanes dry = (1.0f - amount) * sample;
    const FloatLanes scaledFirst = dry + amount * (dry * modulation);
    const FloatLanes blended = amount * (modulation * sample) + (1.0f - amount) * sample;
    return kRingScalesFirst ? scaledFirst : blended;
}

[[gnu::always_inline]] inline FloatLanes filterModulation(FloatLanes cutoff, FloatLanes amount,
                                                          FloatLanes modulation) {
    const FloatLanes scaled = (1.0f - amount) * cutoff;
    const FloatLanes scaledFirst = scaled + amount * (modulation * scaled);
    const FloatLanes blended = amount * (modulation * cutoff) + (1.0f - amount) * cutoff;
    return kFilterModScalesFirst ? scaledFirst : blended;
}

// Folds a sample towards the opposite rail, as invertSample does.
[[gnu::always_inline]] inline FloatLanes invertSamples(FloatLanes x) {
    const FloatLanes folded = x > 0.0f ? 1.0f - x : -1.0f - x;
    return x > 0.0f || x < 0.0f ? folded : x;
}

// atan(x) / atan(1) of the saturated lanes' table entries, from their curves; the other lanes,
// and lanes 2 and 3 without the upper lanes, read 0 as the computed form gives them.
[[gnu::always_inline]] inline FloatLanes lookUpCurves(const VoiceFrameSettings& settings,
                                                      IntLanes index) {
    const std::array<const float*, 3>& curves = settings.saturationCurves;
    const bool upper = settings.upperLanes && curves[2] != nullptr;
    return FloatLanes{curves[0] != nullptr ? curves[0][index[0]] : 0.0f,
                      curves[1] != nullptr ? curves[1][index[1]] : 0.0f,
                      upper ? curves[2][index[2]] : 0.0f, 0.0f};
}

// Soft clip through an arctangent, as saturate does, in the lanes marked saturated.
template <bool kWide>
[[gnu::always_inline]] inline FloatLanes saturateLanes(FloatLanes x, IntLanes index,
                                                       const VoiceFrameSettings& settings) {
    if (!settings.anySaturated) {
        return x;
    }
    const FloatLanes arc = settings.curvesReady
                               ? lookUpCurves(settings, index)
                               : FastMath::atan<kWide>(x, settings.upperLanes) / kArctangentOfOne;
    FloatLanes shaped = arc * settings.saturation * 10.777f;
    shaped = shaped > 1.0f ? broadcast(1.0f) : shaped;
    shaped = shaped < -1.0f ? broadcast(-1.0f) : shaped;
    return settings.saturated ? shaped : x;
}

[[gnu::always_inline]] inline FloatLanes clampUnit(FloatLanes x) {
    x = x > 1.0f ? broadcast(1.0f) : x;
    return x < 0.0f ? broadcast(0.0f) : x;
}

[[gnu::always_inline]] inline FloatLanes magnitude(FloatLanes x) {
    return laneBits<FloatLanes>(laneBits<IntLanes>(x) & 0x7FFFFFFF);
}

// wrapPhase in every lane; lanes beyond one cycle (rare) take the scalar reduction.
[[gnu::always_inline]] inline FloatLanes wrapPhases(FloatLanes phases) {
    constexpr auto cycle = static_cast<float>(kPhaseCycle);
    if (allLanes(phases < cycle && phases > -cycle)) {
        return phases;
    }
    return FloatLanes{wrapPhase(phases[0]), wrapPhase(phases[1]), wrapPhase(phases[2]),
                      wrapPhase(phases[3])};
}

std::int32_t segmentLength(float seconds) {
    return static_cast<std::int32_t>(kConstructionRate * seconds);
}

float fraction(std::uint32_t count, std::int32_t length) {
    return static_cast<float>(count) / static_cast<float>(length);
}

bool exceeds(std::uint32_t count, std::int32_t length) {
    return count > static_cast<std::uint32_t>(length);
}

} // namespace

Note::Note()
    : attackLength(segmentLength(kAttackSeconds)), holdLength(segmentLength(kHoldSeconds)),
      releaseLength(segmentLength(kReleaseSeconds)) {}

void Note::setOwner(IAudioEffect* audioEffect) {
    owner = audioEffect;
    modulator.setOwner(audioEffect);
}

void Note::shareMemos(VoiceMemos* memos) {
    modulator.shareMemo(memos != nullptr ? &memos->modulator : nullptr);
    highPass.shareDesignMemo(memos != nullptr ? &memos->highPass : nullptr);
}

void Note::setSampleRate(float hertz) {
    sampleRate = hertz;
    modulator.setSampleRate(hertz);
}

void Note::start(int noteVelocity) {
    sampleCount = 0;
    attackCount = holdCount = releaseCount = 0;
    phases = FloatLanes{};
    modulator.restart();
    resetFilters();
    state = VoiceState::Attack;
    velocity = static_cast<float>(noteVelocity);
    velocityGain = velocity / kVelocityScale;
}

void Note::release() {
    if (state != VoiceState::Idle) {
        state = VoiceState::Release;
    }
}

StereoSample Note::renderFrame() {
    const ISynthProgram* program = owner != nullptr ? owner->getCurrentProgram() : nullptr;
    const WaveformProvider* provider = owner != nullptr ? owner->getWaveformProvider() : nullptr;
    if (program == nullptr || provider == nullptr) {
        oscillatorOutputs = FloatLanes{};
        return {};
    }
    ownSettings = makeVoiceFrameSettings(readOscillatorSettings(*program), *provider);
    prepare(ownSettings);
    return finishFrame();
}

void Note::prepareFrame(const VstXSynthProgram& program, const WaveformProvider& provider) {
    ownSettings = makeVoiceFrameSettings(readOscillatorSettings(program), provider);
    prepare(ownSettings);
}

// The filter recursions are the longest dependency chains of a frame; running them after all
// their inputs are ready lets the processor overlap the voices.
template <bool kWide>
[[gnu::always_inline]] inline void Note::prepareWith(const VoiceFrameSettings& settings) {
    oscillatorOutputs = FloatLanes{};
    frameReady = state != VoiceState::Idle && owner != nullptr && settings.anySounding;
    if (!frameReady) {
        return;
    }
    frameSettings = &settings;
    frameEnvelopeLevel = envLevel;
    const IntLanes index = tableIndices();
    const FloatLanes sample = saturateLanes<kWide>(readTables(settings, index), index, settings);
    const FloatLanes modulation =
        modulator.valuesAtRates<kWide>(settings.modFrequency, settings.upperLanes);
    frameSamples = ringMix(sample, settings.ringModAmount, modulation);
    frameCutoffs = modulatedCutoffs(settings, modulation, sampleCount);
    const auto forecast = [ this, &settings ](std::uint32_t ahead) __attribute__((always_inline)) {
        const FloatLanes later =
            modulator.valuesAhead<kWide>(ahead, settings.modFrequency, settings.upperLanes);
        return modulatedCutoffs(settings, later, sampleCount + ahead);
    };
    highPass.setControls<kWide>(frameCutoffs, settings.filterResonance, settings.sounding,
                                settings.upperLanes, sampleCount, forecast);
}

[[gnu::always_inline]] inline IntLanes Note::tableIndices() const {
    return __builtin_convertvector(phases, IntLanes) & (kPhaseCycle - 1);
}

[[gnu::always_inline]] inline FloatLanes Note::readTables(const VoiceFrameSettings& settings,
                                                          IntLanes index) const {
    const FloatLanes read = {settings.tables[0][index[0]], settings.tables[1][index[1]],
                             settings.tables[2][index[2]], 0.0f};
    return settings.inverted ? invertSamples(read) : read;
}

// Every oscillator scales its cutoff by the filter envelope's factor at the same time.
[[gnu::always_inline]] inline FloatLanes Note::modulatedCutoffs(const VoiceFrameSettings& settings,
                                                                FloatLanes modulation,
                                                                std::uint32_t frame) const {
    FloatLanes cutoff = settings.filterCutoff;
    // A disabled envelope's factor is 1, which leaves the cutoff as it is.
    if (filterEnvelope.isEnabled() && filterEnvelope.getDuration() > 0.0f) {
        cutoff = filterEnvelope.value(static_cast<float>(frame) / sampleRate) * cutoff;
    }
    return clampUnit(filterModulation(cutoff, settings.filtModAmount, modulation));
}

void Note::resetFilters() {
    lowPass.reset();
    highPass.reset();
}

[[gnu::always_inline]] inline StereoSample Note::finishWith() {
    if (!frameReady) {
        return {};
    }
    const VoiceFrameSettings& settings = *frameSettings;
    const FloatLanes outputs = settings.volume * filter(settings);
    // The padding lane is cleared in the same select: writing it alone after the whole vector
    // made the next read of the vector wait for both stores to reach the cache.
    constexpr IntLanes kOscillatorLanes = {-1, -1, -1, 0};
    oscillatorOutputs = settings.sounding & kOscillatorLanes ? outputs : FloatLanes{};
    const StereoSample mix = pan(settings);
    // Cutoff and resonance jumping every few samples can drive a filter's recursion beyond
    // any bound; a voice that runs away restarts its filters instead of poisoning the output.
    if (!(std::fabs(mix.left) < kRunawayLevel) || !(std::fabs(mix.right) < kRunawayLevel)) {
        resetFilters();
        oscillatorOutputs = FloatLanes{};
        return {};
    }
    return {velocityGain * (frameEnvelopeLevel * mix.left),
            velocityGain * (mix.right * frameEnvelopeLevel)};
}

// A silent oscillator's filters keep their state, as if they had not run.
[[gnu::always_inline]] inline FloatLanes Note::filter(const VoiceFrameSettings& settings) {
    FloatLanes lowPassed;
    if (settings.allSounding) {
        lowPassed = lowPass.process(frameSamples, frameCutoffs, settings.filterResonance);
    } else {
        const LadderFilter<FloatLanes>::Stages earlier = lowPass.stages();
        lowPassed = lowPass.process(frameSamples, frameCutoffs, settings.filterResonance);
        lowPass.keepStages(!settings.sounding, earlier);
    }
    const FloatLanes highPassed = highPass.run(frameSamples, settings.sounding);
    const FloatLanes highShare = settings.filterType;
    return (1.0f - highShare) * lowPassed + highShare * highPassed;
}

// In oscillator order, so the sums round as they always have. A silent oscillator adds a zero,
// which leaves the sum as it is: a sum started from zero is never a negative zero, and with
// denormals flushed never a denormal.
[[gnu::always_inline]] inline StereoSample Note::pan(const VoiceFrameSettings& settings) const {
    const FloatLanes right = settings.sounding ? settings.pan * oscillatorOutputs : FloatLanes{};
    const FloatLanes left =
        settings.sounding ? (1.0f - settings.pan) * oscillatorOutputs : FloatLanes{};
    static_assert(kOscillators == 3);
    StereoSample mix;
    mix.right = ((mix.right + right[0]) + right[1]) + right[2];
    mix.left = ((mix.left + left[0]) + left[1]) + left[2];
    return mix;
}

void Note::advance(float phaseStep) {
    advanceClock(phaseStep);
}

[[gnu::always_inline]] inline void Note::advanceClock(float phaseStep) {
    ++sampleCount;
    modulator.advance();
    phases = wrapPhases(phases + phaseStep);
    stepState();
    envLevel = envelopeLevel();
}

float Note::phaseIncrement() const {
    if (owner == nullptr) {
        return 0.0f;
    }
    const float* frequencies = owner->getNoteFrequencies();
    if (frequencies == nullptr) {
        return 0.0f;
    }
    return frequencies[noteNumber & 127] * owner->getPhaseScale();
}

void Note::modulatePhases(float pitchOffset, float pitchSpan) {
    const ISynthProgram* program = owner != nullptr ? owner->getCurrentProgram() : nullptr;
    const WaveformProvider* provider = owner != nullptr ? owner->getWaveformProvider() : nullptr;
    if (program != nullptr && provider != nullptr) {
        ownSettings = makeVoiceFrameSettings(readOscillatorSettings(*program), *provider);
        modulate(ownSettings, pitchOffset, pitchSpan);
    }
}

void Note::modulatePhases(const VstXSynthProgram& program, float pitchOffset, float pitchSpan) {
    const WaveformProvider* provider = owner != nullptr ? owner->getWaveformProvider() : nullptr;
    if (provider != nullptr) {
        ownSettings = makeVoiceFrameSettings(readOscillatorSettings(program), *provider);
        modulate(ownSettings, pitchOffset, pitchSpan);
    }
}

// Every oscillator takes its frequency modulation from oscillator 1's modulator.
template <bool kWide>
[[gnu::always_inline]] inline void Note::modulateWith(const VoiceFrameSettings& settings,
                                                      float pitchOffset, float pitchSpan) {
    const float frequencyModulation =
        modulator.valuesAtRates<kWide>(settings.modFrequency, settings.upperLanes)[0];
    const FloatLanes pitchStep = (settings.pitch - 0.5f) * pitchSpan;
    const FloatLanes fineStep = settings.freq - 0.5f;
    const FloatLanes modulationStep = frequencyModulation * settings.freqModAmount * 0.5f;
    // Wrapping changes only a sum that reaches a cycle; when no partial sum can, the steps add
    // up without it (the margin covers the rounding of the bound).
    constexpr float kReachWithoutWrap = static_cast<float>(kPhaseCycle) - 64.0f;
    const FloatLanes reach = magnitude(phases) + std::fabs(pitchOffset) + magnitude(pitchStep) +
                             magnitude(fineStep) + magnitude(modulationStep);
    if (allLanes(reach < kReachWithoutWrap)) {
        phases = ((phases + pitchOffset) + pitchStep + fineStep) + modulationStep;
        return;
    }
    FloatLanes phase = wrapPhases(phases + pitchOffset);
    phase = wrapPhases(phase + pitchStep);
    phase = wrapPhases(phase + fineStep);
    phases = wrapPhases(phase + modulationStep);
}

void Note::prepareNarrow(const VoiceFrameSettings& settings) {
    prepareWith<false>(settings);
}

StereoSample Note::finishNarrow() {
    return finishWith();
}

void Note::modulateNarrow(const VoiceFrameSettings& settings, float pitchOffset, float pitchSpan) {
    modulateWith<false>(settings, pitchOffset, pitchSpan);
}

#if KORVATUNE_WIDE_LANES
[[gnu::target("avx2")]] void Note::prepareWide(const VoiceFrameSettings& settings) {
    prepareWith<true>(settings);
}

[[gnu::target("avx2")]] StereoSample Note::finishWide() {
    return finishWith();
}

[[gnu::target("avx2")]] void Note::advanceAndModulateWide(float phaseStep,
                                                          const VoiceFrameSettings& settings,
                                                          float pitchOffset, float pitchSpan) {
    advanceClock(phaseStep);
    if (owner != nullptr) {
        modulateWith<true>(settings, pitchOffset, pitchSpan);
    }
}

[[gnu::target("avx2")]] void Note::modulateWide(const VoiceFrameSettings& settings,
                                                float pitchOffset, float pitchSpan) {
    modulateWith<true>(settings, pitchOffset, pitchSpan);
}
#endif

void Note::stepState() {
    switch (state) {
    case VoiceState::Attack:
        if (exceeds(++attackCount, attackLength)) {
            state = VoiceState::Hold;
        }
        break;
    case VoiceState::Hold:
        if (exceeds(++holdCount, holdLength)) {
            state = VoiceState::Sustain;
        }
        break;
    case VoiceState::Sustain:
        break;
    case VoiceState::Release:
        if (exceeds(++releaseCount, releaseLength)) {
            state = VoiceState::Idle;
        }
        break;
    case VoiceState::Idle:
        velocity = 0.0f;
        velocityGain = 0.0f;
        break;
    }
}

float Note::envelopeLevel() const {
    switch (state) {
    case VoiceState::Attack:
        return exceeds(attackCount, attackLength) ? 0.0f : fraction(attackCount, attackLength);
    case VoiceState::Hold:
        return exceeds(holdCount, holdLength) ? 0.0f : 1.0f;
    case VoiceState::Sustain:
        return 1.0f;
    case VoiceState::Release: {
        if (exceeds(releaseCount, releaseLength)) {
            return 0.0f;
        }
        const float remaining = 1.0f - fraction(releaseCount, releaseLength);
        return remaining * remaining;
    }
    case VoiceState::Idle:
        break;
    }
    return 0.0f;
}

} // namespace Korvatune
