#pragma once

#include "plugin/AudioEffectX.h"
#include "programs/FactoryBank.h"
#include "programs/ProgramKeys.h"
#include "programs/VstXSynthProgram.h"

#include <array>
#include <atomic>
#include <memory>

namespace Korvatune {

inline constexpr int kNumMidiChannels = 16;

// The instrument: one instance per track a host loads.
class VstXSynth : public AudioEffectX {
public:
    explicit VstXSynth(audioMasterCallback hostCallback);
    ~VstXSynth() override;

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

    VstXSynthProgram& program(int index) { return programs[index]; }
    VstXSynthProgram& currentProgram() { return programs[getProgram()]; }

private:
    float workingValue(int index) const {
        return workingValues[index].load(std::memory_order_relaxed);
    }
    void formatDisplay(int index, char* text) const;
    void fillMidiProgramName(std::int32_t channel, MidiProgramName* name) const;

    std::unique_ptr<VstXSynthProgram[]> programs;
    std::array<std::atomic<float>, kNumProgramKeys> workingValues{};
    std::array<std::int32_t, kNumMidiChannels> channelPrograms{};
};

} // namespace Korvatune
