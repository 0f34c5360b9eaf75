#pragma once

#include "plugin/vst2/AudioEffect.h"

namespace Korvatune {

// The VST 2.x extensions: events, identity, pins, MIDI program names and the host's extra
// services.
class AudioEffectX : public AudioEffect {
public:
    using AudioEffect::AudioEffect;

    VstIntPtr dispatcher(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr,
                         float opt) override;

    virtual std::int32_t processEvents(VstEvents*) { return 0; }
    virtual bool getProgramNameIndexed(std::int32_t, std::int32_t, char*) { return false; }
    virtual bool getOutputProperties(std::int32_t, VstPinProperties*) { return false; }
    virtual bool getEffectName(char*) { return false; }
    virtual bool getVendorString(char*) { return false; }
    virtual bool getProductString(char*) { return false; }
    virtual std::int32_t getVendorVersion() { return 0; }
    virtual std::int32_t canDo(const char*) { return 0; }
    virtual std::int32_t getMidiProgramName(std::int32_t, MidiProgramName*) { return 0; }
    virtual std::int32_t getCurrentMidiProgram(std::int32_t, MidiProgramName*) { return -1; }
    virtual std::int32_t getMidiProgramCategory(std::int32_t, MidiProgramCategory*) { return 0; }
    virtual bool getMidiKeyName(std::int32_t, MidiKeyName*) { return false; }
    virtual std::int32_t getNumMidiInputChannels() { return 0; }
    virtual std::int32_t getVstVersion() { return 2400; }

    bool sendVstEventsToHost(VstEvents* events);
    bool canHostDo(const char* text);
    const char* getDirectory();
    bool beginEdit(std::int32_t index);
    bool endEdit(std::int32_t index);
    bool sizeWindow(std::int32_t width, std::int32_t height);
    bool openFileSelector(VstFileSelect* selector);
    bool closeFileSelector(VstFileSelect* selector);

private:
    VstIntPtr dispatchExtension(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr,
                                float opt);
    VstIntPtr dispatchMidiNames(std::int32_t opcode, std::int32_t index, void* ptr);
};

} // namespace Korvatune
