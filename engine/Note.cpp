#include "engine/Note.h"

#include "engine/IAudioEffect.h"
#include "engine/OscillatorKeys.h"
#include "engine/OscillatorPhase.h"
#include "engine/SampleFunctions.h"
#include "programs/ISynthProgram.h"
#include "waveforms/WaveformProvider.h"

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

const OscillatorKeys& keysOf(int oscillator) {
    return kOscillatorKeys[static_cast<std::size_t>(oscillator)];
}

float read(const ISynthProgram& program, ProgramGetter getter) {
    return (program.*getter)();
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
    for (OscillatorFilters& pair : filters) {
        pair.lowPass.reset();
        pair.highPass.reset();
    }
    state = VoiceState::Attack;
    velocity = static_cast<float>(noteVelocity);
}

void Note::release() {
    if (state != VoiceState::Idle) {
        state = VoiceState::Release;
    }
}

StereoSample Note::renderFrame() {
    oscillatorOutputs.fill(0.0f);
    if (state == VoiceState::Idle || owner == nullptr) {
        return {};
    }
    const ISynthProgram* program = owner->getCurrentProgram();
    const WaveformProvider* provider = owner->getWaveformProvider();
    if (program == nullptr || provider == nullptr) {
        return {};
    }
    const float seconds = elapsedSeconds();
    StereoSample mix;
    for (int k = 0; k < kOscillators; ++k) {
        const float volume = read(*program, keysOf(k).volume);
        if (!(volume > 0.0f)) {
            continue;
        }
        const float output = renderOscillator(k, volume, *program, *provider, seconds);
        oscillatorOutputs[static_cast<std::size_t>(k)] = output;
        const float pan = read(*program, keysOf(k).pan);
        mix.right = mix.right + pan * output;
        mix.left = mix.left + (1.0f - pan) * output;
    }
    const float gain = velocity / kVelocityScale;
    return {gain * (envLevel * mix.left), gain * (mix.right * envLevel)};
}

float Note::renderOscillator(int oscillator, float volume, const ISynthProgram& program,
                             const WaveformProvider& provider, float seconds) {
    const OscillatorKeys& keys = keysOf(oscillator);
    float sample = readTable(oscillator, program, provider);
    sample = saturate(sample, read(program, keys.sat));
    Modulator& modulator = modulators[static_cast<std::size_t>(oscillator)];
    modulator.setRate(read(program, keys.modFrequency));
    const float modulation = modulator.value();
    sample = ringMix(oscillator, sample, read(program, keys.ringModAmount), modulation);
    const float cutoff = modulatedCutoff(oscillator, program, modulation, seconds);
    return volume * filter(oscillator, sample, cutoff, program);
}

float Note::readTable(int oscillator, const ISynthProgram& program,
                      const WaveformProvider& provider) const {
    const OscillatorKeys& keys = keysOf(oscillator);
    const float* table = provider.getTable(read(program, keys.waveform));
    const float sample = table[tableIndex(phases[static_cast<std::size_t>(oscillator)])];
    return read(program, keys.invertWaveform) != 0.0f ? invertSample(sample) : sample;
}

float Note::modulatedCutoff(int oscillator, const ISynthProgram& program, float modulation,
                            float seconds) const {
    const OscillatorKeys& keys = keysOf(oscillator);
    float cutoff = read(program, keys.filterCutoff);
    if (filterEnvelope.getDuration() > 0.0f) {
        cutoff = filterEnvelope.value(seconds) * cutoff;
    }
    cutoff = filterModulation(oscillator, cutoff, read(program, keys.filtModAmount), modulation);
    return clampValue(cutoff, 0.0f, 1.0f);
}

float Note::filter(int oscillator, float sample, float cutoff, const ISynthProgram& program) {
    const OscillatorKeys& keys = keysOf(oscillator);
    OscillatorFilters& pair = filters[static_cast<std::size_t>(oscillator)];
    const float resonance = read(program, keys.filterResonance);
    const float lowPassed = pair.lowPass.process(sample, cutoff, resonance);
    const float highPassed = pair.highPass.process(sample, cutoff, resonance);
    const float highShare = read(program, keys.filterType);
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
    if (owner == nullptr) {
        return;
    }
    const ISynthProgram* program = owner->getCurrentProgram();
    if (program == nullptr) {
        return;
    }
    // Every oscillator takes its frequency modulation from oscillator 1's modulator.
    const float frequencyModulation =
        modulators[0].valueAtRate(read(*program, keysOf(0).modFrequency));
    for (int k = 0; k < kOscillators; ++k) {
        modulatePhase(k, *program, pitchOffset, pitchSpan, frequencyModulation);
    }
}

void Note::modulatePhase(int oscillator, const ISynthProgram& program, float pitchOffset,
                         float pitchSpan, float frequencyModulation) {
    const OscillatorKeys& keys = keysOf(oscillator);
    float& phase = phases[static_cast<std::size_t>(oscillator)];
    phase = wrapPhase(phase + pitchOffset);
    phase = wrapPhase(phase + (read(program, keys.pitch) - 0.5f) * pitchSpan);
    phase = wrapPhase(phase + (read(program, keys.freq) - 0.5f));
    phase = wrapPhase(phase + frequencyModulation * read(program, keys.freqModAmount) * 0.5f);
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
