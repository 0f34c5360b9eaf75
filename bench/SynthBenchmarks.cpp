#include "RealtimeCounters.h"
#include "plugin/EntryPoint.h"

#include <array>

namespace Korvatune::bench {
namespace {

VstIntPtr benchHost(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

VstIntPtr dispatch(AEffect* effect, std::int32_t opcode, std::int32_t index = 0,
                   VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

// A program with the given number of voices held down, rendered block after block.
void programVoices(benchmark::State& state) {
    const int program = static_cast<int>(state.range(0));
    const int voices = static_cast<int>(state.range(1));
    AEffect* effect = VSTPluginMain(benchHost);
    dispatch(effect, effSetSampleRate, 0, 0, nullptr, static_cast<float>(kSampleRate));
    dispatch(effect, effSetBlockSize, 0, kBlockFrames);
    dispatch(effect, effSetProgram, 0, program);
    dispatch(effect, effMainsChanged, 0, 1);

    std::array<VstMidiEvent, 8> notes{};
    VstEvents* events = nullptr;
    std::array<char, sizeof(VstEvents) + 8 * sizeof(VstEvent*)> storage{};
    events = reinterpret_cast<VstEvents*>(storage.data());
    events->numEvents = voices;
    for (int i = 0; i < voices; ++i) {
        notes[i].type = kVstMidiType;
        notes[i].byteSize = sizeof(VstMidiEvent);
        notes[i].midiData[0] = static_cast<char>(0x90);
        notes[i].midiData[1] = static_cast<char>(36 + 3 * i);
        notes[i].midiData[2] = 127;
        events->events[i] = reinterpret_cast<VstEvent*>(&notes[i]);
    }
    dispatch(effect, effProcessEvents, 0, 0, events);

    std::array<float, kBlockFrames> left{}, right{};
    std::array<float*, 2> outputs = {left.data(), right.data()};
    measureBlocks(state, [&] {
        effect->processReplacing(effect, nullptr, outputs.data(), kBlockFrames);
        benchmark::DoNotOptimize(left.data());
    });
    dispatch(effect, effClose);
}

void everyProgram(benchmark::internal::Benchmark* benchmark) {
    for (int voices : {1, 8}) {
        for (int program = 0; program < 45; ++program) {
            benchmark->Args({program, voices});
        }
    }
}

BENCHMARK(programVoices)->ArgNames({"program", "voices"})->Apply(everyProgram);

} // namespace
} // namespace Korvatune::bench
