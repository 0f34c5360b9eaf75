#pragma once

#include "engine/IAudioEffect.h"
#include "engine/Note.h"
#include "engine/OutputChain.h"
#include "engine/PitchEnvelope.h"
#include "engine/PitchSweepPlan.h"
#include "engine/RingModulator.h"
#include "engine/SampleReducer.h"
#include "engine/SaturationCurves.h"
#include "plugin/Audition.h"
#include "plugin/EventQueue.h"
#include "plugin/InstrumentEditor.h"
#include "plugin/vst2/AudioEffectX.h"
#include "programs/FactoryBank.h"
#include "programs/ProgramKeys.h"
#include "programs/VstXSynthProgram.h"
#include "waveforms/WaveformProvider.h"

#include <array>
#include <atomic>
#include <bit>
#include <memory>
#include <string>

namespace Korvatune {

inline constexpr int kNumMidiChannels = 16;
inline constexpr int kNumVoices = 8;
inline constexpr int kNumNotes = 128;
inline constexpr int kNumOutputs = 2;

// The instrument: one instance per track a host loads. It owns everything that sounds, turns
// MIDI into voice starts and releases with sample accuracy and renders stereo blocks.
class VstXSynth : public AudioEffectX, public IAudioEffect {
public:
    // A VST 2 instance: the host tells its folder. Without a factory there is no editor.
    explicit VstXSynth(audioMasterCallback hostCallback, EditorFactory makeEditor = nullptr);
    // An instance for another plug-in format, which names the folder it was installed in itself.
    VstXSynth(const std::string& installFolder, EditorFactory makeEditor);
    ~VstXSynth() override;

    // Called by an editor factory: the same editor as the VST 2 interface and as every format
    // shows it.
    void attachEditor(std::unique_ptr<AEffEditor> window, InstrumentEditor& editor);
    InstrumentEditor* getInstrumentEditor() const { return instrumentEditor; }
    // Lets the editor show everything anew, from any thread.
    void refreshEditor();
    // The user changed what a saved session holds beyond the parameters (a user waveform, a
    // program file's name); a host that can be told is told by its shell. Any thread.
    void reportStateChange() { stateChange.store(true, std::memory_order_relaxed); }
    bool takeStateChange() { return stateChange.exchange(false, std::memory_order_relaxed); }

    void setSampleRate(float rate) override;
    void suspend() override;
    void resume() override;
    bool isRunning() const { return running.load(std::memory_order_relaxed); }

    void setProgram(std::int32_t program) override;
    void setProgramName(const char* name) override;
    void getProgramName(char* name) override;
    bool getProgramNameIndexed(std::int32_t category, std::int32_t index, char* text) override;

    void setParameter(std::int32_t index, float value) override;
    float getParameter(std::int32_t index) override;
    void getParameterName(std::int32_t index, char* text) override;
    void getParameterLabel(std::int32_t index, char* text) override;
    void getParameterDisplay(std::int32_t index, char* text) override;

    void processReplacing(float** inputs, float** outputs, std::int32_t frames) override;
    std::int32_t processEvents(VstEvents* events) override;
    // Queues the three bytes of a MIDI message for the frame of the next block; false when the
    // queue is full.
    bool queueMidiEvent(std::int32_t frame, const char* midiData);
    // The display text a value would have now, at most 8 characters.
    void formatDisplay(int index, float value, char* text) const;

    bool getOutputProperties(std::int32_t index, VstPinProperties* properties) override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    std::int32_t getVendorVersion() override;
    std::int32_t canDo(const char* text) override;
    std::int32_t getNumMidiInputChannels() override { return 1; }
    std::int32_t getMidiProgramName(std::int32_t channel, MidiProgramName* name) override;
    std::int32_t getCurrentMidiProgram(std::int32_t channel, MidiProgramName* name) override;
    std::int32_t getMidiProgramCategory(std::int32_t channel,
                                        MidiProgramCategory* category) override;
    bool getMidiKeyName(std::int32_t channel, MidiKeyName* key) override;

    const float* getNoteFrequencies() override { return noteFrequencies.data(); }
    float getPhaseScale() override { return phaseScale; }
    WaveformProvider* getWaveformProvider() override { return &waveformProvider; }
    ISynthProgram* getCurrentProgram() override { return &currentProgram(); }

    VstXSynthProgram& program(int index) { return programs[index]; }
    VstXSynthProgram& currentProgram() { return programs[getProgram()]; }
    const Note& voice(int index) const { return voices[index]; }
    const PitchEnvelope& getPitchEnvelope() const { return pitchEnvelope; }
    const OutputChain& getOutputChain() const { return outputChain; }
    float getPeakLeft() const { return peakLeft.load(std::memory_order_relaxed); }
    float getPeakRight() const { return peakRight.load(std::memory_order_relaxed); }
    void requestPeakReset() { peakResetRequest.store(true, std::memory_order_relaxed); }
    // Plays note 36 at velocity 127 from the next block on and releases it after
    // kAuditionGateSeconds, as a host's note-on and note-off would. Any thread; a request while
    // one plays starts it anew.
    void requestAudition() { audition.request(); }
    // For an instance that renders nothing itself (a VST 3 controller's), to pass the request on.
    bool takeAuditionRequest() { return audition.takeRequest(); }

private:
    void build(EditorFactory makeEditor);
    void buildTables();
    void showParameterInEditor(int index, float value);

    void applyParameterEffect(int index, float value);
    void dispatchEvent(const EventQueue::Event& event);
    // The voice it started; -1 when every voice is busy.
    int noteOn(int note, int velocity);
    void startRequestedAudition();
    void releaseAudition();
    void releaseNote(int note);
    void releaseAll();
    // Calls visit(index) for every voice that is not idle, in voice order.
    template <class Visit> void forSoundingVoices(const Visit& visit) {
        for (std::uint32_t mask = soundingVoices; mask != 0; mask &= mask - 1) {
            visit(static_cast<std::size_t>(std::countr_zero(mask)));
        }
    }
    // The voices' sum of each frame, into the outputs.
    void renderVoices(float* left, float* right, std::int32_t frames);
    StereoSample sumVoices();
    float quantizationLevels();
    void advanceVoices();
    // The program's oscillator values for the frame, read on first use in it. Inline, as every
    // voice asks twice a frame; the reading itself is out of line.
    const VoiceFrameSettings& frameSettings() {
        if (!frameSettingsRead) {
            readFrameSettings();
        }
        return voiceSettings;
    }
    void readFrameSettings();
    void applyVolumeAndMeter(float** outputs, std::int32_t frames);
    void buildNoteFrequencies();

    float workingValue(int index) const {
        return workingValues[index].load(std::memory_order_relaxed);
    }
    static void formatPan(float value, char* text);
    void fillMidiProgramName(std::int32_t channel, MidiProgramName* name) const;

    PitchEnvelope pitchEnvelope;
    VoiceMemos voiceMemos;
    VoiceFrameSettings voiceSettings{};
    bool frameSettingsRead = false;
    // The program, its revision and the tables' revision voiceSettings were laid out from.
    const VstXSynthProgram* laneSettingsProgram = nullptr;
    std::uint32_t laneSettingsRevision = 0;
    std::uint32_t laneSettingsTablesRevision = 0;
    SaturationCurves saturationCurves;
    std::array<Note, kNumVoices> voices;
    std::array<PitchSweepPlan, kNumVoices> sweepPlans;
    // Bit i set while voice i is not idle: the frame loops visit only those.
    std::uint32_t soundingVoices = 0;
    static_assert(kNumVoices <= 32);
    WaveformProvider waveformProvider;
    RingModulator ringModulator;
    OutputChain outputChain;
    EventQueue eventQueue;
    Audition audition;
    std::unique_ptr<VstXSynthProgram[]> programs;
    std::array<std::atomic<float>, kNumProgramKeys> workingValues{};
    std::array<std::int32_t, kNumMidiChannels> channelPrograms{};
    float phaseScale = 4096.0f / 44100.0f;
    SampleReducer sampleReducer;
    std::array<float, kNumNotes> noteFrequencies{};
    std::atomic<float> peakLeft{0.0f};
    std::atomic<float> peakRight{0.0f};
    std::atomic<bool> peakResetRequest{false};
    std::atomic<bool> running{false};
    std::atomic<bool> stateChange{false};
    InstrumentEditor* instrumentEditor = nullptr;
};

} // namespace Korvatune
