#include "host/PluginHost.h"

#include "plugin/vst2/EntryPoint.h"

#include <array>

namespace Korvatune {

namespace {

constexpr VstIntPtr kHostVstVersion = 2400;

// The entry point calls back before the host can know which record is whose; during that call
// the instance is found through the host being constructed on this thread.
thread_local PluginHost* hostBeingConstructed = nullptr;

PluginHost* hostOf(AEffect* effect) {
    if (effect && effect->user) {
        return static_cast<PluginHost*>(effect->user);
    }
    return hostBeingConstructed;
}

VstIntPtr hostCallback(AEffect* effect, std::int32_t opcode, std::int32_t, VstIntPtr value,
                       void* ptr, float) {
    if (opcode == audioMasterVersion) {
        return kHostVstVersion;
    }
    PluginHost* host = hostOf(effect);
    return host ? host->answer(opcode, value, ptr) : 0;
}

} // namespace

std::unique_ptr<PluginHost> PluginHost::createBuiltIn(std::string& error) {
    std::unique_ptr<PluginHost> host(new PluginHost);
    if (!host->instantiate(VSTPluginMain, error)) {
        return nullptr;
    }
    return host;
}

std::unique_ptr<PluginHost> PluginHost::createFromModule(const std::string& path,
                                                         std::string& error) {
    std::unique_ptr<PluginHost> host(new PluginHost);
    if (!host->module.open(path, error) || !host->instantiate(host->module.entry(), error)) {
        return nullptr;
    }
    return host;
}

bool PluginHost::instantiate(PluginEntry entry, std::string& error) {
    hostBeingConstructed = this;
    instance = entry(hostCallback);
    hostBeingConstructed = nullptr;
    if (!instance || instance->magic != kEffectMagic) {
        instance = nullptr;
        error = "the module did not create an instrument";
        return false;
    }
    instance->user = this;
    dispatch(effOpen);
    return true;
}

PluginHost::~PluginHost() {
    if (instance) {
        stop();
        dispatch(effClose);
    }
}

VstIntPtr PluginHost::answer(std::int32_t opcode, VstIntPtr, void*) {
    switch (opcode) {
    case audioMasterGetDirectory:
        return module.directory().empty() ? 0
                                          : reinterpret_cast<VstIntPtr>(module.directory().c_str());
    case audioMasterGetSampleRate:
        return static_cast<VstIntPtr>(sampleRate);
    case audioMasterGetBlockSize:
        return blockSize;
    case audioMasterProcessEvents:
        return 1;
    default:
        return 0;
    }
}

VstIntPtr PluginHost::dispatch(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr,
                               float opt) {
    return instance->dispatcher(instance, opcode, index, value, ptr, opt);
}

std::string PluginHost::textOf(std::int32_t opcode, int index) {
    // Generous and zeroed: some modules write past the nominal 8-character limit.
    std::array<char, 256> text{};
    dispatch(opcode, index, 0, text.data());
    text.back() = '\0';
    return text.data();
}

std::string PluginHost::programName(int index) {
    std::array<char, 256> text{};
    if (dispatch(effGetProgramNameIndexed, index, -1, text.data()) == 0) {
        const int current = currentProgram();
        selectProgram(index);
        dispatch(effGetProgramName, 0, 0, text.data());
        selectProgram(current);
    }
    text.back() = '\0';
    return text.data();
}

void PluginHost::selectProgram(int index) {
    dispatch(effSetProgram, 0, index);
}

int PluginHost::currentProgram() {
    return static_cast<int>(dispatch(effGetProgram));
}

std::string PluginHost::parameterName(int index) {
    return textOf(effGetParamName, index);
}

std::string PluginHost::parameterLabel(int index) {
    return textOf(effGetParamLabel, index);
}

std::string PluginHost::parameterDisplay(int index) {
    return textOf(effGetParamDisplay, index);
}

void PluginHost::setParameter(int index, float value) {
    instance->setParameter(instance, index, value);
}

float PluginHost::getParameter(int index) {
    return instance->getParameter(instance, index);
}

void PluginHost::prepare(float rate, int frames) {
    sampleRate = rate;
    blockSize = frames;
    dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    dispatch(effSetBlockSize, 0, frames);
}

void PluginHost::resume() {
    dispatch(effMainsChanged, 0, 1);
    running = true;
}

void PluginHost::stop() {
    if (running) {
        dispatch(effMainsChanged, 0, 0);
        running = false;
    }
}

void PluginHost::sendEvents(VstEvents& events) {
    dispatch(effProcessEvents, 0, 0, &events);
}

void PluginHost::process(float* left, float* right, int frames) {
    std::array<float*, 2> outputs = {left, right};
    instance->processReplacing(instance, nullptr, outputs.data(), frames);
}

} // namespace Korvatune
