#include "plugin/VstXSynth.h"

#include "engine/NonFiniteSamples.h"
#include "plugin/DenormalGuard.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace Korvatune {

namespace {

constexpr std::uint8_t kNoteOff = 0x80;
constexpr std::uint8_t kNoteOn = 0x90;
constexpr std::uint8_t kControlChange = 0xB0;
constexpr std::uint8_t kAllNotesOff = 0x7B;
constexpr std::uint8_t kMonoModeOn = 0x7E;
constexpr float kSemitone = 1.0594631f;
// What a host ever receives: far above any sound the instrument makes, yet a bound on what
// reaches its mix bus when the chain is bypassed and the voices' filters ring without damping.
constexpr float kLoudestOutput = 64.0f;

} // namespace

bool VstXSynth::queueMidiEvent(std::int32_t frame, const char* midiData) {
    return eventQueue.push(frame, midiData);
}

void VstXSynth::dispatchEvent(const EventQueue::Event& event) {
    const std::uint8_t status = event.midiData[0] & 0xF0;
    const int note = event.midiData[1] & 0x7F;
    const int velocity = event.midiData[2] & 0x7F;
    if (status == kNoteOff || (status == kNoteOn && velocity == 0)) {
        releaseNote(note);
    } else if (status == kNoteOn) {
        noteOn(note, velocity);
    } else if (status == kControlChange &&
               (event.midiData[1] == kAllNotesOff || event.midiData[1] == kMonoModeOn)) {
        releaseAll();
    }
}

int VstXSynth::noteOn(int note, int velocity) {
    // No stealing: voices met before the first idle one that hold the note are released.
    for (std::size_t index = 0; index < voices.size(); ++index) {
        Note& voice = voices[index];
        if (voice.isIdle()) {
            voice.setNoteNumber(note);
            voice.start(velocity);
            sweepPlans[index].restart();
            soundingVoices |= 1u << index;
            // The audition's voice fell silent and now plays another note, which its pending
            // release must not cut.
            if (static_cast<int>(index) == audition.pendingVoice()) {
                audition.cancel();
            }
            return static_cast<int>(index);
        }
        if (voice.getNoteNumber() == note) {
            voice.release();
        }
    }
    return -1;
}

// Started before the block's first events, as a host's note-on at frame 0 is. A note-on does
// not release a voice of the same note that sits after an idle one, so a restart releases the
// previous audition itself: nothing else would.
void VstXSynth::startRequestedAudition() {
    if (!audition.takeRequest()) {
        return;
    }
    releaseAudition();
    const int voice = noteOn(Audition::kNote, Audition::kVelocity);
    if (voice >= 0) {
        audition.start(voice, std::llround(kAuditionGateSeconds * getSampleRate()));
    }
}

void VstXSynth::releaseAudition() {
    if (audition.pendingVoice() >= 0) {
        voices[static_cast<std::size_t>(audition.pendingVoice())].release();
        audition.cancel();
    }
}

void VstXSynth::releaseNote(int note) {
    for (Note& voice : voices) {
        if (!voice.isIdle() && voice.getNoteNumber() == note) {
            voice.release();
        }
    }
}

void VstXSynth::releaseAll() {
    for (Note& voice : voices) {
        if (!voice.isIdle()) {
            voice.release();
        }
    }
}

// Every sounding voice prepares its frame and steps on to the next before any finishes the
// frame: the filters' recursions, a frame's longest chains, then come last, where the processor
// overlaps them with the next frame's preparation. The program's oscillator values are read
// once per frame for all voices, before the first voice renders, and serve the steps as well.
StereoSample VstXSynth::sumVoices() {
    frameSettingsRead = false;
    forSoundingVoices([this](std::size_t index) { voices[index].prepareFrame(frameSettings()); });
    advanceVoices();
    StereoSample sum;
    forSoundingVoices([this, &sum](std::size_t index) {
        const StereoSample frame = voices[index].finishFrame();
        sum.left += frame.left;
        sum.right += frame.right;
        if (voices[index].isIdle()) {
            soundingVoices &= ~(1u << index);
        }
    });
    return sum;
}

// Laying the values out in lanes costs more than rendering a voice's frame, so it is redone
// only when the program, one of its values or a user table changed.
void VstXSynth::readFrameSettings() {
    const VstXSynthProgram& program = currentProgram();
    const std::uint32_t revision = program.revision();
    const std::uint32_t tablesRevision = waveformProvider.getTablesRevision();
    if (&program != laneSettingsProgram || revision != laneSettingsRevision ||
        tablesRevision != laneSettingsTablesRevision) {
        voiceSettings = makeVoiceFrameSettings(readOscillatorSettings(program), waveformProvider);
        saturationCurves.attach(voiceSettings, tablesRevision);
        laneSettingsProgram = &program;
        laneSettingsRevision = revision;
        laneSettingsTablesRevision = tablesRevision;
    }
    frameSettingsRead = true;
}

float VstXSynth::quantizationLevels() {
    float quantization = workingValue(kQuantization);
    const float levels = SampleReducer::quantizationLevels(quantization);
    if (levels > 0.0f && quantization != workingValue(kQuantization)) {
        workingValues[kQuantization].store(quantization, std::memory_order_relaxed);
    }
    return levels;
}

// Voices struck together sit at the same point of the pitch sweep, so the sweep is evaluated
// once for each distinct note age in the frame.
void VstXSynth::advanceVoices() {
    std::uint32_t sweepAge = 0;
    float sweepOffset = 0.0f;
    bool sweepKnown = false;
    forSoundingVoices([&](std::size_t index) {
        Note& voice = voices[index];
        const float frequency = noteFrequencies[voice.getNoteNumber() & 0x7F];
        // The age the step below brings the voice to.
        const float age = voice.elapsedSeconds(1);
        if (!sweepKnown || std::bit_cast<std::uint32_t>(age) != sweepAge) {
            const auto ageAt = [&voice](std::uint32_t ahead) {
                return voice.elapsedSeconds(1 + ahead);
            };
            sweepOffset = sweepPlans[index].valueAt(pitchEnvelope, age, ageAt) * kSemitone;
            sweepAge = std::bit_cast<std::uint32_t>(age);
            sweepKnown = true;
        }
        const float pitchSpan = 2.0f * phaseScale * frequency;
        // What the voice's phaseIncrement() gives, without asking its owner through the
        // interface.
        voice.advanceAndModulate(frequency * phaseScale, frameSettings(), sweepOffset, pitchSpan);
    });
}

// The voices first, frame by frame with the events at their offsets, then the per-frame
// effects over the block, each with its controls read once for it: neither feeds the other, so
// every frame gets the same arithmetic as when both ran frame by frame, and the voices' loop has
// less to keep in registers.
void VstXSynth::processReplacing(float**, float** outputs, std::int32_t frames) {
    // A negative count from a confused host would wind the event queue and the counters back.
    if (frames <= 0) {
        return;
    }
    const DenormalGuard denormalGuard;
    float* left = outputs[0];
    float* right = outputs[1];
    const bool effectsOn = workingValue(kBypassFX) < 0.5f;
    const float levels = effectsOn ? quantizationLevels() : 0.0f;
    const int reductionStep = SampleReducer::reductionStep(currentProgram().getValue(kSampleRate));
    startRequestedAudition();
    renderVoices(left, right, frames);
    if (effectsOn) {
        ringModulator.processBlock(left, right, frames);
        sampleReducer.processBlock(left, right, frames, levels, reductionStep);
    } else {
        ringModulator.advance(static_cast<std::uint32_t>(frames));
        sampleReducer.advance(static_cast<std::uint32_t>(frames));
    }
    // Added to silence, as the frames always were: a negative zero leaves as zero.
    for (std::int32_t position = 0; position < frames; ++position) {
        left[position] = 0.0f + left[position];
        right[position] = 0.0f + right[position];
    }
    if (effectsOn) {
        outputChain.processBlock(left, right, frames,
                                 {workingValue(kFilterType), workingValue(kBassAmount),
                                  workingValue(kMidAmount), workingValue(kHighAmount)});
    }
    applyVolumeAndMeter(outputs, frames);
    eventQueue.advanceBlock(frames);
    audition.advance(frames);
}

// The audition's release comes after the host's events of its frame, as a note-off queued after
// them would.
void VstXSynth::renderVoices(float* left, float* right, std::int32_t frames) {
    const std::int32_t auditionRelease = audition.releaseFrame(frames);
    for (std::int32_t position = 0; position < frames; ++position) {
        if (eventQueue.size() > 0) {
            eventQueue.dispatchDue(position, [this](const auto& event) { dispatchEvent(event); });
        }
        if (position == auditionRelease) {
            releaseAudition();
        }
        const StereoSample frame = sumVoices();
        left[position] = frame.left;
        right[position] = frame.right;
    }
}

void VstXSynth::applyVolumeAndMeter(float** outputs, std::int32_t frames) {
    const float volume = workingValue(kVolume);
    float peaks[kNumOutputs] = {peakLeft.load(std::memory_order_relaxed),
                                peakRight.load(std::memory_order_relaxed)};
    for (int channel = 0; channel < kNumOutputs; ++channel) {
        float* samples = outputs[channel];
        for (std::int32_t i = 0; i < frames; ++i) {
            samples[i] *= volume;
        }
        scrubNonFinite(samples, frames);
        for (std::int32_t i = 0; i < frames; ++i) {
            samples[i] = std::clamp(samples[i], -kLoudestOutput, kLoudestOutput);
            peaks[channel] = std::max(peaks[channel], std::fabs(samples[i]));
        }
    }
    if (peakResetRequest.exchange(false, std::memory_order_relaxed)) {
        peaks[0] = peaks[1] = 0.0f;
    }
    peakLeft.store(peaks[0], std::memory_order_relaxed);
    peakRight.store(peaks[1], std::memory_order_relaxed);
}

} // namespace Korvatune
