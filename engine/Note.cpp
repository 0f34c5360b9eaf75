#include "engine/Note.h"

#include "engine/IAudioEffect.h"
#include "engine/OscillatorPhase.h"
#include "engine/SampleFunctions.h"
#include "programs/VstXSynthProgram.h"

#include <bit>

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
constexpr int kRingScalesFirst = 2;
constexpr int kFilterModScalesFirst = 1;

std::int32_t segmentLength(float seconds) {
    return static_cast<std::int32_t>(kConstructionRate * seconds);
}

const OscillatorSettings& settingsOf(const OscillatorSettingsSet& set, int oscillator) {
    return set[static_cast<std::size_t>(oscillator)];
}

float ringMix(int oscillator, float sample, float amount, float modulation) {
    if (oscillator == kRingScalesFirst) {
        const float dry = (1.0f - amount) * sample;
        return dry + amount * (dry * modulation);
    }
    return amount * (modulation * sample) + (1.0f - amount) * sample;
}

float filterModulation(int oscillator, float cutoff, float amount, float modulation) {
    if (oscillator == kFilterModScalesFirst) {
        const float scaled = (1.0f - amount) * cutoff;
        return scaled + amount * (modulation * scaled);
    }
    return amount * (modulation * cutoff) + (1.0f - amount) * cutoff;
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
    for (Modulator& modulator : modulators) {
        modulator.setOwner(audioEffect);
    }
}

void Note::shareMemos(VoiceMemos* memos) {
    for (std::size_t k = 0; k < kOscillators; ++k) {
        modulators[k].shareMemo(memos != nullptr ? &memos->modulators[k] : nullptr);
        filters[k].highPass.shareDesignMemo(memos != nullptr ? &memos->highPasses[k] : nullptr);
    }
}

void Note::setSampleRate(float hertz) {
    sampleRate = hertz;
    for (Modulator& modulator : modulators) {
        modulator.setSampleRate(hertz);
    }
}

void Note::start(int noteVelocity) {
    sampleCount = 0;
    attackCount = holdCount = releaseCount = 0;
    phases.fill(0.0f);
    for (Modulator& modulator : modulators) {
        modulator.restart();
    }
    resetFilters();
    state = VoiceState::Attack;
    velocity = static_cast<float>(noteVelocity);
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
        oscillatorOutputs.fill(0.0f);
        return {};
    }
    prepareWith(readOscillatorSettings(*program), *provider);
    return finishFrame();
}

void Note::prepareFrame(const VstXSynthProgram& program, const WaveformProvider& provider) {
    prepareWith(readOscillatorSettings(program), provider);
}

void Note::prepareFrame(const OscillatorSettingsSet& settings, const WaveformProvider& provider) {
    prepareWith(settings, provider);
}

void Note::prepareWith(const OscillatorSettingsSet& settings, const WaveformProvider& provider) {
    oscillatorOutputs.fill(0.0f);
    frameReady = state != VoiceState::Idle && owner != nullptr;
    if (!frameReady) {
        return;
    }
    frameSettings = settings;
    // Every oscillator scales its cutoff by the same factor at the same time.
    const float envelopeFactor =
        filterEnvelope.getDuration() > 0.0f ? filterEnvelope.value(elapsedSeconds()) : 1.0f;
    frameInputs = prepareOscillators(frameSettings, provider, envelopeFactor);
}

void Note::resetFilters() {
    for (OscillatorFilters& pair : filters) {
        pair.lowPass.reset();
        pair.highPass.reset();
    }
}

StereoSample Note::finishFrame() {
    if (!frameReady) {
        return {};
    }
    const StereoSample mix = filterAndPan(frameSettings, frameInputs);
    // Cutoff and resonance jumping every few samples can drive a filter's recursion beyond
    // any bound; a voice that runs away restarts its filters instead of poisoning the output.
    if (!(std::fabs(mix.left) < kRunawayLevel) || !(std::fabs(mix.right) < kRunawayLevel)) {
        resetFilters();
        oscillatorOutputs.fill(0.0f);
        return {};
    }
    const float gain = velocity / kVelocityScale;
    return {gain * (envLevel * mix.left), gain * (mix.right * envLevel)};
}

// The filter recursions are the longest dependency chains of a frame; running the three after
// all their inputs are ready lets the processor overlap them.
Note::FilterInputs Note::prepareOscillators(const OscillatorSettingsSet& settings,
                                            const WaveformProvider& provider,
                                            float envelopeFactor) {
    FilterInputs inputs;
    for (int k = 0; k < kOscillators; ++k) {
        const OscillatorSettings& oscillator = settingsOf(settings, k);
        if (oscillator.volume > 0.0f) {
            inputs[static_cast<std::size_t>(k)] =
                prepareOscillator(k, oscillator, provider, envelopeFactor);
        }
    }
    return inputs;
}

StereoSample Note::filterAndPan(const OscillatorSettingsSet& settings, const FilterInputs& inputs) {
    StereoSample mix;
    for (int k = 0; k < kOscillators; ++k) {
        const OscillatorSettings& oscillator = settingsOf(settings, k);
        if (!(oscillator.volume > 0.0f)) {
            continue;
        }
        const float output =
            oscillator.volume * filter(k, inputs[static_cast<std::size_t>(k)], oscillator);
        oscillatorOutputs[static_cast<std::size_t>(k)] = output;
        mix.right = mix.right + oscillator.pan * output;
        mix.left = mix.left + (1.0f - oscillator.pan) * output;
    }
    return mix;
}

Note::FilterInput Note::prepareOscillator(int oscillator, const OscillatorSettings& settings,
                                          const WaveformProvider& provider, float envelopeFactor) {
    float sample = readTable(oscillator, settings, provider);
    sample = saturate(sample, settings.sat);
    Modulator& modulator = modulators[static_cast<std::size_t>(oscillator)];
    modulator.setRate(settings.modFrequency);
    const float modulation = modulator.value();
    sample = ringMix(oscillator, sample, settings.ringModAmount, modulation);
    const float cutoff = modulatedCutoff(oscillator, settings, modulation, envelopeFactor);
    filters[static_cast<std::size_t>(oscillator)].highPass.setControls(cutoff,
                                                                       settings.filterResonance);
    return {sample, cutoff};
}

float Note::readTable(int oscillator, const OscillatorSettings& settings,
                      const WaveformProvider& provider) {
    WaveformSelection& selection = waveforms[static_cast<std::size_t>(oscillator)];
    if (std::bit_cast<std::uint32_t>(selection.value) !=
        std::bit_cast<std::uint32_t>(settings.waveform)) {
        selection = {settings.waveform, WaveformProvider::waveformIndex(settings.waveform)};
    }
    const float* table = provider.getTableAt(selection.index);
    const float sample = table[tableIndex(phases[static_cast<std::size_t>(oscillator)])];
    return settings.invertWaveform != 0.0f ? invertSample(sample) : sample;
}

float Note::modulatedCutoff(int oscillator, const OscillatorSettings& settings, float modulation,
                            float envelopeFactor) const {
    float cutoff = settings.filterCutoff;
    if (filterEnvelope.getDuration() > 0.0f) {
        cutoff = envelopeFactor * cutoff;
    }
    cutoff = filterModulation(oscillator, cutoff, settings.filtModAmount, modulation);
    return clampValue(cutoff, 0.0f, 1.0f);
}

float Note::filter(int oscillator, const FilterInput& input, const OscillatorSettings& settings) {
    OscillatorFilters& pair = filters[static_cast<std::size_t>(oscillator)];
    const float lowPassed =
        pair.lowPass.process(input.sample, input.cutoff, settings.filterResonance);
    const float highPassed = pair.highPass.run(input.sample);
    const float highShare = settings.filterType;
    return (1.0f - highShare) * lowPassed + highShare * highPassed;
}

void Note::advance() {
    ++sampleCount;
    for (Modulator& modulator : modulators) {
        modulator.advance();
    }
    const float increment = phaseIncrement();
    for (float& phase : phases) {
        phase = wrapPhase(phase + increment);
    }
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
    if (program != nullptr) {
        modulateWith(readOscillatorSettings(*program), pitchOffset, pitchSpan);
    }
}

void Note::modulatePhases(const VstXSynthProgram& program, float pitchOffset, float pitchSpan) {
    modulatePhases(readOscillatorSettings(program), pitchOffset, pitchSpan);
}

void Note::modulatePhases(const OscillatorSettingsSet& settings, float pitchOffset,
                          float pitchSpan) {
    if (owner != nullptr) {
        modulateWith(settings, pitchOffset, pitchSpan);
    }
}

void Note::modulateWith(const OscillatorSettingsSet& settings, float pitchOffset, float pitchSpan) {
    // Every oscillator takes its frequency modulation from oscillator 1's modulator.
    const float frequencyModulation =
        modulators[0].valueAtRate(settingsOf(settings, 0).modFrequency);
    for (int k = 0; k < kOscillators; ++k) {
        modulatePhase(k, settingsOf(settings, k), pitchOffset, pitchSpan, frequencyModulation);
    }
}

void Note::modulatePhase(int oscillator, const OscillatorSettings& settings, float pitchOffset,
                         float pitchSpan, float frequencyModulation) {
    float& phase = phases[static_cast<std::size_t>(oscillator)];
    phase = wrapPhase(phase + pitchOffset);
    phase = wrapPhase(phase + (settings.pitch - 0.5f) * pitchSpan);
    phase = wrapPhase(phase + (settings.freq - 0.5f));
    phase = wrapPhase(phase + frequencyModulation * settings.freqModAmount * 0.5f);
}

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
