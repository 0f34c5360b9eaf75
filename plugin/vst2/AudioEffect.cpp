#include "plugin/vst2/AudioEffect.h"

namespace Korvatune {

namespace {

constexpr std::int32_t kPlaceholderUniqueId = fourCharacterCode('N', 'o', 'E', 'f');

VstIntPtr dispatchEntry(AEffect* effect, std::int32_t opcode, std::int32_t index, VstIntPtr value,
                        void* ptr, float opt) {
    return AudioEffect::fromAeffect(effect)->dispatcher(opcode, index, value, ptr, opt);
}

void processNothing(AEffect*, float**, float**, std::int32_t) {}

void processDoubleNothing(AEffect*, double**, double**, std::int32_t) {}

void setParameterEntry(AEffect* effect, std::int32_t index, float value) {
    AudioEffect::fromAeffect(effect)->setParameter(index, value);
}

float getParameterEntry(AEffect* effect, std::int32_t index) {
    return AudioEffect::fromAeffect(effect)->getParameter(index);
}

void processReplacingEntry(AEffect* effect, float** inputs, float** outputs, std::int32_t frames) {
    AudioEffect::fromAeffect(effect)->processReplacing(inputs, outputs, frames);
}

} // namespace

AudioEffect::AudioEffect(audioMasterCallback callback, std::int32_t numPrograms,
                         std::int32_t numParams)
    : hostCallback(callback) {
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEntry;
    cEffect.process = processNothing;
    cEffect.setParameter = setParameterEntry;
    cEffect.getParameter = getParameterEntry;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.flags = effFlagsCanReplacing;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = kPlaceholderUniqueId;
    cEffect.version = 1;
    cEffect.processReplacing = processReplacingEntry;
    cEffect.processDoubleReplacing = processDoubleNothing;
}

AudioEffect::~AudioEffect() = default;

VstIntPtr AudioEffect::callHost(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr,
                                float opt) {
    return hostCallback ? hostCallback(&cEffect, opcode, index, value, ptr, opt) : 0;
}

void AudioEffect::setEditor(std::unique_ptr<AEffEditor> newEditor) {
    editor = std::move(newEditor);
    setFlag(effFlagsHasEditor, editor != nullptr);
}

void AudioEffect::setFlag(std::int32_t flag, bool on) {
    cEffect.flags = on ? (cEffect.flags | flag) : (cEffect.flags & ~flag);
}

VstIntPtr AudioEffect::dispatcher(std::int32_t opcode, std::int32_t index, VstIntPtr value,
                                  void* ptr, float opt) {
    switch (opcode) {
    case effOpen:
        open();
        return 0;
    case effClose:
        close();
        delete this;
        return 1;
    case effSetProgram:
        if (value < numPrograms()) {
            setProgram(static_cast<std::int32_t>(value));
        }
        return 0;
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        setProgramName(static_cast<const char*>(ptr));
        return 0;
    case effGetProgramName:
        getProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetParamLabel:
        getParameterLabel(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamDisplay:
        getParameterDisplay(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamName:
        getParameterName(index, static_cast<char*>(ptr));
        return 0;
    case effSetSampleRate:
        setSampleRate(opt);
        return 0;
    case effSetBlockSize:
        setBlockSize(static_cast<std::int32_t>(value));
        return 0;
    case effMainsChanged:
        value == 0 ? suspend() : resume();
        return 0;
    case effIdentify:
        return fourCharacterCode('N', 'v', 'E', 'f');
    default:
        return dispatchEditor(opcode, index, value, ptr, opt);
    }
}

VstIntPtr AudioEffect::dispatchEditor(std::int32_t opcode, std::int32_t index, VstIntPtr value,
                                      void* ptr, float opt) {
    const int modifiers = static_cast<int>(opt);
    if (!editor) {
        return 0;
    }
    switch (opcode) {
    case effEditGetRect:
        return editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
    case effEditOpen:
        return editor->open(ptr) ? 1 : 0;
    case effEditClose:
        editor->close();
        return 0;
    case effEditIdle:
        editor->idle();
        return 0;
    case effEditKeyDown:
        return editor->onKeyDown(index, static_cast<int>(value), modifiers) ? 1 : 0;
    case effEditKeyUp:
        return editor->onKeyUp(index, static_cast<int>(value), modifiers) ? 1 : 0;
    case effSetEditKnobMode:
        editor->setKnobMode(static_cast<int>(value));
        return 1;
    default:
        return 0;
    }
}

} // namespace Korvatune
