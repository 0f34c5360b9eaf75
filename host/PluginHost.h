#pragma once

#include "host/ModuleLoader.h"
#include "plugin/vst2/VstAbi.h"

#include <memory>
#include <string>

namespace Korvatune {

// A small offline host: one instrument instance driven through its AEffect record, exactly as
// a sequencer drives it.
class PluginHost {
public:
    // The instrument linked into this program.
    static std::unique_ptr<PluginHost> createBuiltIn(std::string& error);
    // Any VST 2.4 module on disk.
    static std::unique_ptr<PluginHost> createFromModule(const std::string& path,
                                                        std::string& error);
    ~PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    VstIntPtr dispatch(std::int32_t opcode, std::int32_t index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    AEffect& effect() { return *instance; }

    int numPrograms() const { return instance->numPrograms; }
    int numParameters() const { return instance->numParams; }
    std::string programName(int index);
    void selectProgram(int index);
    int currentProgram();

    std::string parameterName(int index);
    std::string parameterLabel(int index);
    std::string parameterDisplay(int index);
    void setParameter(int index, float value);
    float getParameter(int index);

    // Sample rate and block size, set while the instance is suspended.
    void prepare(float sampleRate, int blockSize);
    void resume();
    void stop();
    void sendEvents(VstEvents& events);
    void process(float* left, float* right, int frames);

    // What the instance asks of its host.
    VstIntPtr answer(std::int32_t opcode, VstIntPtr value, void* ptr);

private:
    PluginHost() = default;
    bool instantiate(PluginEntry entry, std::string& error);
    std::string textOf(std::int32_t opcode, int index);

    ModuleLoader module;
    AEffect* instance = nullptr;
    float sampleRate = 44100.0f;
    int blockSize = 512;
    bool running = false;
};

} // namespace Korvatune
