#pragma once

#include "plugin/vst2/AEffEditor.h"
#include "plugin/vst2/VstAbi.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace Korvatune {

// Owns the C-callable AEffect record a host sees and turns its calls into virtual calls.
class AudioEffect {
public:
    AudioEffect(audioMasterCallback hostCallback, std::int32_t numPrograms, std::int32_t numParams);
    virtual ~AudioEffect();
    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    AEffect* getAeffect() { return &cEffect; }
    static AudioEffect* fromAeffect(AEffect* effect) {
        return static_cast<AudioEffect*>(effect->object);
    }

    virtual VstIntPtr dispatcher(std::int32_t opcode, std::int32_t index, VstIntPtr value,
                                 void* ptr, float opt);

    virtual void open() {}
    virtual void close() {}
    virtual void setProgram(std::int32_t program) { curProgram.store(program); }
    virtual std::int32_t getProgram() { return curProgram.load(); }
    virtual void setProgramName(const char*) {}
    virtual void getProgramName(char* name) { *name = '\0'; }
    virtual void getParameterLabel(std::int32_t, char* label) { *label = '\0'; }
    virtual void getParameterDisplay(std::int32_t, char* text) { *text = '\0'; }
    virtual void getParameterName(std::int32_t, char*) {}
    virtual void setSampleRate(float rate) { sampleRate.store(rate, std::memory_order_relaxed); }
    virtual void setBlockSize(std::int32_t size) { blockSize.store(size); }
    virtual void suspend() {}
    virtual void resume() {}
    virtual void setParameter(std::int32_t, float) {}
    virtual float getParameter(std::int32_t) { return 0.0f; }
    virtual void processReplacing(float** inputs, float** outputs, std::int32_t frames) = 0;

    float getSampleRate() const { return sampleRate.load(std::memory_order_relaxed); }
    std::int32_t getBlockSize() const { return blockSize.load(); }
    AEffEditor* getEditor() const { return editor.get(); }

    // Host calls; each answers 0 when there is no host callback.
    VstIntPtr callHost(std::int32_t opcode, std::int32_t index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    std::int32_t getMasterVersion() {
        return static_cast<std::int32_t>(callHost(audioMasterVersion));
    }
    bool hasHostCallback() const { return hostCallback != nullptr; }

protected:
    void setEditor(std::unique_ptr<AEffEditor> newEditor);
    void setNumInputs(std::int32_t count) { cEffect.numInputs = count; }
    void setNumOutputs(std::int32_t count) { cEffect.numOutputs = count; }
    void setUniqueID(std::int32_t id) { cEffect.uniqueID = id; }
    void setFlag(std::int32_t flag, bool on);
    bool hasFlag(std::int32_t flag) const { return (cEffect.flags & flag) != 0; }
    std::int32_t numPrograms() const { return cEffect.numPrograms; }

private:
    VstIntPtr dispatchEditor(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr,
                             float opt);

    audioMasterCallback hostCallback;
    std::unique_ptr<AEffEditor> editor;
    std::atomic<float> sampleRate{44100.0f};
    std::atomic<std::int32_t> blockSize{1024};
    std::atomic<std::int32_t> curProgram{0};
    AEffect cEffect{};
};

} // namespace Korvatune
