#pragma once

#include "plugin/InstrumentEditor.h"
#include "plugin/InstrumentState.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace Korvatune {

class VstXSynth;
class UserWaveformHandover;

// The instrument as every plug-in format drives it, in terms of no format: a shell translates
// its format's calls into these and nothing else.
//
// Threads: queueMidi and render run on the audio thread and never allocate, lock or wait.
// setSampleRate, activate and deactivate never overlap with render (every format says so).
// restore may run while a block renders: new tables reach the sound between blocks. The rest
// may come from any thread, as parameter changes do in every format.
class Instrument {
public:
    // User waveform files are read from "waveforms" in the folder the plug-in was installed in
    // (UTF-8). Without an editor factory the instrument has no editor.
    Instrument(const std::string& installFolder, EditorFactory makeEditor);
    ~Instrument();
    Instrument(const Instrument&) = delete;
    Instrument& operator=(const Instrument&) = delete;

    // --- running -------------------------------------------------------------------------------
    // False, and the previous rate kept, for a rate the instrument does not run at.
    bool setSampleRate(double rate);
    double sampleRate() const;
    void setMaxBlockSize(std::int32_t frames);
    void activate();
    void deactivate();
    bool isActive() const { return active_; }
    // A MIDI message of 1 to 3 bytes for the frame of the next rendered block; false when the
    // queue of the block is full or the message is empty.
    bool queueMidi(std::span<const std::uint8_t> message, std::int32_t frame);
    static constexpr int kMidiQueueCapacity = 256;
    void render(float* left, float* right, std::int32_t frames);

    // --- parameters: index = program key, values 0..1 ----------------------------------------
    static constexpr int kParameterCount = 60;
    float parameterValue(int index) const;
    void setParameterValue(int index, float value);
    // The name a host shows, and the same cut to the 8 characters of a narrow display.
    static std::string parameterName(int index);
    static std::string parameterShortName(int index);
    static std::string parameterUnit(int index);
    // The program-file key ("OscPitch1"): stable across versions, for formats that want ids.
    static std::string parameterKey(int index);
    // Program 0's value, which hosts offer as the default.
    static float defaultValue(int index);
    // 0 for a continuous parameter; entries - 1 for a list, whose entry n is n / steps.
    static int stepCount(int index);
    static std::string stepName(int index, int step);
    // The text of a value as the host shows it now (some depend on the rate).
    std::string displayText(int index, float value) const;

    // --- programs -----------------------------------------------------------------------------
    static constexpr int kProgramCount = 45;
    std::string programName(int program) const;
    // The name a program has before anyone renames it, for formats that list presets without an
    // instance.
    static std::string factoryProgramName(int program);
    int currentProgram() const;
    void selectProgram(int program);
    void renameCurrentProgram(const std::string& name);

    // --- state --------------------------------------------------------------------------------
    std::unique_ptr<InstrumentState> state() const;
    // Takes every piece present; the rest stays.
    void restore(const RestoredState& state);
    // True once after the user changed the state beyond the parameters in the editor (a user
    // waveform, a program file): the shell tells its host the session changed. Any thread.
    bool takeStateChange();
    // The editor's AUDITION: the next rendered block starts the sound. Any thread.
    void requestAudition();
    // A request the editor made of an instance that does not render, to pass on to one that does.
    bool takeAuditionRequest();

    // --- editor -------------------------------------------------------------------------------
    // Null in a build without an editor.
    InstrumentEditor* editor() const;

    // The instrument behind the face, for the editor and the tests, never for a shell.
    VstXSynth& synth() { return *synth_; }

private:
    void deliverUserWaveforms();
    void takeUserWaveforms(const RestoredState& state);
    const float* userTableForState(int slot) const;

    std::unique_ptr<VstXSynth> synth_;
    std::unique_ptr<UserWaveformHandover> handover_;
    // Changed only by activate and deactivate, which never overlap with restore or render.
    bool active_ = false;
};

} // namespace Korvatune
