#include "lv2/Lv2TestDriver.h"
#include "plugin/VstXSynth.h"
#include "support/SynthDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// Counts every allocation made while armed; the render path must make none.
std::atomic<bool> armed{false};
std::atomic<int> allocations{0};

void* countedAllocation(std::size_t size) {
    if (armed.load()) {
        allocations.fetch_add(1);
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size) {
    return countedAllocation(size);
}
void* operator new[](std::size_t size) {
    return countedAllocation(size);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace Korvatune {
namespace {

TEST(RealTime, EventsAndRenderingAllocateNothing) {
    testing::SynthDriver synth;
    VstMidiEvent events[3] = {};
    const unsigned char messages[3][3] = {{0x90, 36, 127}, {0x90, 48, 100}, {0x80, 36, 0}};
    for (int i = 0; i < 3; ++i) {
        events[i].type = kVstMidiType;
        events[i].byteSize = sizeof(VstMidiEvent);
        events[i].deltaFrames = 100 * i;
        for (int b = 0; b < 3; ++b) {
            events[i].midiData[b] = static_cast<char>(messages[i][b]);
        }
    }
    struct {
        std::int32_t numEvents = 3;
        VstIntPtr reserved = 0;
        VstEvent* events[3];
    } list;
    for (int i = 0; i < 3; ++i) {
        list.events[i] = reinterpret_cast<VstEvent*>(&events[i]);
    }
    float left[4096], right[4096];
    float* outputs[2] = {left, right};

    armed = true;
    for (int program = 0; program < 45; program += 11) {
        testing::dispatch(synth.get(), effProcessEvents, 0, 0, &list);
        for (int block = 0; block < 8; ++block) {
            synth->processReplacing(synth.get(), nullptr, outputs, 512);
        }
        synth->processReplacing(synth.get(), nullptr, outputs, 4096);
        synth->setParameter(synth.get(), 51, 0.3f);
    }
    armed = false;
    EXPECT_EQ(allocations.load(), 0);
}

// The LV2 shell's blocks, with events, a program change, a port change and a restored table to
// take in, allocate nothing either.
TEST(RealTime, Lv2BlocksAllocateNothing) {
    testing::Lv2Driver lv2;
    testing::StateStore state;
    state.saveFrom(*lv2.instrument);
    lv2.render(512);
    const std::vector<std::uint8_t> noteOn = {0x90, 36, 127};
    const std::vector<std::uint8_t> programChange = {0xC0, 25};
    const std::vector<std::uint8_t> noteOff = {0x80, 36, 0};
    state.restoreInto(*lv2.instrument);

    allocations = 0;
    armed = true;
    lv2.midi.add(0, noteOn);
    lv2.midi.add(100, programChange);
    lv2.midi.add(300, noteOff);
    lv2.controls[kFilterCutoff] = 0.3f;
    for (int block = 0; block < 8; ++block) {
        lv2.render(512);
    }
    armed = false;
    EXPECT_EQ(allocations.load(), 0);
    EXPECT_EQ(lv2.instrument->instrument().synth().getProgram(), 25);
}

// An audition requested between blocks, restarted while it plays and released in a later
// block allocates nothing, neither when asked for nor when played.
TEST(RealTime, AuditionAllocatesNothing) {
    testing::SynthDriver synth;
    auto& instrument = *static_cast<VstXSynth*>(AudioEffect::fromAeffect(synth.get()));
    float left[512], right[512];
    float* outputs[2] = {left, right};

    allocations = 0;
    armed = true;
    for (int block = 0; block < 200; ++block) {
        if (block % 50 == 0 || block == 10) {
            instrument.requestAudition();
        }
        synth->processReplacing(synth.get(), nullptr, outputs, 512);
    }
    armed = false;
    EXPECT_EQ(allocations.load(), 0);
    EXPECT_GT(instrument.getPeakLeft(), 0.01f);
}

} // namespace
} // namespace Korvatune
