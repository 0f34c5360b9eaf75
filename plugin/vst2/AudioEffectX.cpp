#include "plugin/vst2/AudioEffectX.h"

namespace Korvatune {

namespace {

// Opcodes whose ptr the instrument reads or writes; a host that passes null gets the neutral
// answer instead of a crash.
bool readsOrWritesPointer(std::int32_t opcode) {
    switch (opcode) {
    case effSetProgramName:
    case effGetProgramName:
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
    case effEditGetRect:
    case effEditOpen:
    case effProcessEvents:
    case effGetProgramNameIndexed:
    case effGetOutputProperties:
    case effGetEffectName:
    case effGetVendorString:
    case effGetProductString:
    case effCanDo:
    case effGetMidiProgramName:
    case effGetCurrentMidiProgram:
    case effGetMidiProgramCategory:
    case effGetMidiKeyName:
    case effGetSpeakerArrangement:
        return true;
    default:
        return false;
    }
}

VstIntPtr answerForNullPointer(std::int32_t opcode) {
    return (opcode == effCanDo || opcode == effGetCurrentMidiProgram) ? -1 : 0;
}

} // namespace

VstIntPtr AudioEffectX::dispatcher(std::int32_t opcode, std::int32_t index, VstIntPtr value,
                                   void* ptr, float opt) {
    if (ptr == nullptr && readsOrWritesPointer(opcode)) {
        return answerForNullPointer(opcode);
    }
    switch (opcode) {
    case effProcessEvents:
    case effCanBeAutomated:
    case effGetProgramNameIndexed:
    case effGetOutputProperties:
    case effGetPlugCategory:
    case effGetEffectName:
    case effGetVendorString:
    case effGetProductString:
    case effGetVendorVersion:
    case effCanDo:
    case effGetVstVersion:
    case effGetMidiKeyName:
    case effGetSpeakerArrangement:
    case effSetTotalSampleToProcess:
    case effGetNumMidiInputChannels:
        return dispatchExtension(opcode, index, value, ptr, opt);
    case effGetMidiProgramName:
    case effGetCurrentMidiProgram:
    case effGetMidiProgramCategory:
        return dispatchMidiNames(opcode, index, ptr);
    default:
        return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

VstIntPtr AudioEffectX::dispatchExtension(std::int32_t opcode, std::int32_t index, VstIntPtr value,
                                          void* ptr, float) {
    switch (opcode) {
    case effProcessEvents:
        return processEvents(static_cast<VstEvents*>(ptr));
    case effCanBeAutomated:
        return 1;
    case effGetProgramNameIndexed:
        return getProgramNameIndexed(static_cast<std::int32_t>(value), index,
                                     static_cast<char*>(ptr));
    case effGetOutputProperties:
        return getOutputProperties(index, static_cast<VstPinProperties*>(ptr));
    case effGetPlugCategory:
        return hasFlag(effFlagsIsSynth) ? kPlugCategSynth : kPlugCategUnknown;
    case effGetEffectName:
        return getEffectName(static_cast<char*>(ptr));
    case effGetVendorString:
        return getVendorString(static_cast<char*>(ptr));
    case effGetProductString:
        return getProductString(static_cast<char*>(ptr));
    case effGetVendorVersion:
        return getVendorVersion();
    case effCanDo:
        return canDo(static_cast<const char*>(ptr));
    case effGetVstVersion:
        return getVstVersion();
    case effGetMidiKeyName:
        return getMidiKeyName(index, static_cast<MidiKeyName*>(ptr));
    case effGetSpeakerArrangement:
        if (value != 0) {
            *reinterpret_cast<VstSpeakerArrangement**>(value) = nullptr;
        }
        *static_cast<VstSpeakerArrangement**>(ptr) = nullptr;
        return 0;
    case effSetTotalSampleToProcess:
        return value;
    case effGetNumMidiInputChannels:
        return getNumMidiInputChannels();
    default:
        return 0;
    }
}

VstIntPtr AudioEffectX::dispatchMidiNames(std::int32_t opcode, std::int32_t index, void* ptr) {
    switch (opcode) {
    case effGetMidiProgramName:
        return getMidiProgramName(index, static_cast<MidiProgramName*>(ptr));
    case effGetCurrentMidiProgram:
        return getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
    default:
        return getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr));
    }
}

bool AudioEffectX::sendVstEventsToHost(VstEvents* events) {
    return callHost(audioMasterProcessEvents, 0, 0, events) != 0;
}

bool AudioEffectX::canHostDo(const char* text) {
    return callHost(audioMasterCanDo, 0, 0, const_cast<char*>(text)) > 0;
}

const char* AudioEffectX::getDirectory() {
    return reinterpret_cast<const char*>(callHost(audioMasterGetDirectory));
}

bool AudioEffectX::beginEdit(std::int32_t index) {
    return callHost(audioMasterBeginEdit, index) != 0;
}

bool AudioEffectX::endEdit(std::int32_t index) {
    return callHost(audioMasterEndEdit, index) != 0;
}

bool AudioEffectX::sizeWindow(std::int32_t width, std::int32_t height) {
    return callHost(audioMasterSizeWindow, width, height) != 0;
}

bool AudioEffectX::openFileSelector(VstFileSelect* selector) {
    return callHost(audioMasterOpenFileSelector, 0, 0, selector) != 0;
}

bool AudioEffectX::closeFileSelector(VstFileSelect* selector) {
    return callHost(audioMasterCloseFileSelector, 0, 0, selector) != 0;
}

} // namespace Korvatune
