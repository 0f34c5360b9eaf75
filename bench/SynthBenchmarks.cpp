#include "AllocationCounter.h"
#include "RealtimeCounters.h"
#include "plugin/vst2/EntryPoint.h"

#include <array>
#include <chrono>
#include <vector>

namespace Korvatune::bench {
namespace {

constexpr int kHeavyProgram = 32;
// A drum pattern's pace: every note starts again each 250 ms and is let go 50 ms before that.
constexpr int kRetriggerFrames = static_cast<int>(kSampleRate / 4);
constexpr int kReleaseFrames = static_cast<int>(kSampleRate / 5);

VstIntPtr benchHost(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

VstIntPtr dispatch(AEffect* effect, std::int32_t opcode, std::int32_t index = 0,
                   VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

AEffect* openInstance(int program) {
    AEffect* effect = VSTPluginMain(benchHost);
    dispatch(effect, effSetSampleRate, 0, 0, nullptr, static_cast<float>(kSampleRate));
    dispatch(effect, effSetBlockSize, 0, kBlockFrames);
    dispatch(effect, effSetProgram, 0, program);
    dispatch(effect, effMainsChanged, 0, 1);
    return effect;
}

// Note-ons (status 0x90) or note-offs (0x80) for the first `voices` notes, at one frame offset.
class NoteBatch {
public:
    NoteBatch(int voices, int status, int deltaFrames) {
        events = reinterpret_cast<VstEvents*>(storage.data());
        events->numEvents = voices;
        for (int i = 0; i < voices; ++i) {
            notes[i].type = kVstMidiType;
            notes[i].byteSize = sizeof(VstMidiEvent);
            notes[i].deltaFrames = deltaFrames;
            notes[i].midiData[0] = static_cast<char>(status);
            notes[i].midiData[1] = static_cast<char>(36 + 3 * i);
            notes[i].midiData[2] = 127;
            events->events[i] = reinterpret_cast<VstEvent*>(&notes[i]);
        }
    }

    void send(AEffect* effect) { dispatch(effect, effProcessEvents, 0, 0, events); }

private:
    std::array<VstMidiEvent, 8> notes{};
    std::array<char, sizeof(VstEvents) + 8 * sizeof(VstEvent*)> storage{};
    VstEvents* events = nullptr;
};

struct Output {
    std::array<float, kBlockFrames> left{}, right{};
    std::array<float*, 2> channels = {left.data(), right.data()};

    void render(AEffect* effect) {
        effect->processReplacing(effect, nullptr, channels.data(), kBlockFrames);
        benchmark::DoNotOptimize(left.data());
    }
};

// A program with the given number of voices held down, rendered block after block.
void programVoices(benchmark::State& state) {
    const int voices = static_cast<int>(state.range(1));
    AEffect* effect = openInstance(static_cast<int>(state.range(0)));
    NoteBatch(voices, 0x90, 0).send(effect);
    Output output;
    measureBlocks(state, [&] { output.render(effect); });
    dispatch(effect, effClose);
}

// Notes struck again every 250 ms, as a drum track plays them: attacks, releases and idle
// voices all take their share.
void programRetriggered(benchmark::State& state) {
    const int voices = static_cast<int>(state.range(1));
    AEffect* effect = openInstance(static_cast<int>(state.range(0)));
    Output output;
    int frame = 0;
    measureBlocks(state, [&] {
        const int blockStart = frame % kRetriggerFrames;
        const int blockEnd = blockStart + kBlockFrames;
        if (blockStart < kReleaseFrames && blockEnd > kReleaseFrames) {
            NoteBatch(voices, 0x80, kReleaseFrames - blockStart).send(effect);
        }
        if (blockEnd > kRetriggerFrames) {
            NoteBatch(voices, 0x90, kRetriggerFrames - blockStart).send(effect);
        } else if (frame == 0) {
            NoteBatch(voices, 0x90, 0).send(effect);
        }
        output.render(effect);
        frame += kBlockFrames;
    });
    dispatch(effect, effClose);
}

// What a host pays to load the instrument, and drop it again.
void instanceCreateAndDestroy(benchmark::State& state) {
    for (auto _ : state) {
        AEffect* effect = VSTPluginMain(benchHost);
        benchmark::DoNotOptimize(effect);
        dispatch(effect, effClose);
    }
}

// Heap held by each live instance beyond what the first one built for the whole process.
void instanceMemory(benchmark::State& state) {
    constexpr int kInstances = 8;
    dispatch(openInstance(0), effClose);
    std::ptrdiff_t perInstance = 0;
    for (auto _ : state) {
        const std::ptrdiff_t before = liveHeapBytes();
        std::vector<AEffect*> effects;
        effects.reserve(kInstances);
        const std::ptrdiff_t reserved = liveHeapBytes() - before;
        for (int i = 0; i < kInstances; ++i) {
            effects.push_back(openInstance(kHeavyProgram));
        }
        perInstance = (liveHeapBytes() - before - reserved) / kInstances;
        for (AEffect* effect : effects) {
            dispatch(effect, effClose);
        }
    }
    state.counters["bytes_per_instance"] = static_cast<double>(perInstance);
}

void everyProgram(benchmark::internal::Benchmark* benchmark) {
    for (int voices : {1, 8}) {
        for (int program = 0; program < 45; ++program) {
            benchmark->Args({program, voices});
        }
    }
}

void heavyPrograms(benchmark::internal::Benchmark* benchmark) {
    for (int voices : {1, 8}) {
        for (int program : {0, 32, 33}) {
            benchmark->Args({program, voices});
        }
    }
}

BENCHMARK(programVoices)->ArgNames({"program", "voices"})->Apply(everyProgram);
BENCHMARK(programRetriggered)->ArgNames({"program", "voices"})->Apply(heavyPrograms);
BENCHMARK(instanceCreateAndDestroy)->Unit(benchmark::kMillisecond);
BENCHMARK(instanceMemory)->Iterations(3);

} // namespace
} // namespace Korvatune::bench
