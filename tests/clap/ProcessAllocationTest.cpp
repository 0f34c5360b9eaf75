// Its own program: it replaces the global allocation functions to count them, and links the
// shell in so that they see its allocations.

#include "clap/ClapTestHost.h"
#include "plugin/clap/ClapInstrument.h"
#include "programs/ProgramKeys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// Counts every allocation made while armed; process must make none.
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

// Notes, MIDI, parameter values that cut the block and the editor's edits going out: all in one
// block, none of which may allocate.
TEST(ClapRealTime, ProcessAllocatesNothing) {
    testing::TestHost host;
    auto* instance = new Clap::ClapInstrument(host.get(), "");
    const Clap::Plugin* plugin = instance->plugin();
    ASSERT_TRUE(plugin->init(plugin));
    ASSERT_TRUE(plugin->activate(plugin, 44100.0, 1, 512));
    ASSERT_TRUE(plugin->startProcessing(plugin));
    ASSERT_TRUE(instance->loadProgram("25"));

    testing::EventList events;
    events.add(testing::noteEvent(Clap::kEventNoteOn, 3, 36, 1.0));
    events.add(testing::paramEvent(101, kFilterCutoff, 0.2));
    events.add(testing::midiEvent(200, 0x90, 48, 100));
    events.add(testing::paramEvent(333, kDistortionType, 4.0));
    events.add(testing::noteEvent(Clap::kEventNoteOff, 400, 36, 0.0));
    events.add(testing::midiEvent(450, 0xB0, 0x7B, 0));
    instance->edits().push({Clap::ParameterEdit::Kind::Begin, kVolume, 0.0f});
    instance->edits().push({Clap::ParameterEdit::Kind::Value, kVolume, 0.4f});
    instance->edits().push({Clap::ParameterEdit::Kind::End, kVolume, 0.0f});
    testing::SentEvents sent;
    sent.events.reserve(16);
    std::vector<float> left(512);
    std::vector<float> right(512);
    float* channels[] = {left.data(), right.data()};
    Clap::AudioBuffer output{channels, nullptr, 2, 0, 0};
    const Clap::Process process{0, 512, nullptr, nullptr, &output, 0, 1, events.get(), sent.get()};

    armed.store(true);
    const std::int32_t status = plugin->process(plugin, &process);
    plugin->reset(plugin);
    armed.store(false);

    EXPECT_EQ(status, Clap::kProcessContinue);
    EXPECT_EQ(allocations.load(), 0);
    EXPECT_EQ(sent.events.size(), 3u);
    EXPECT_GT(*std::max_element(left.begin(), left.end()), 0.01f);
    plugin->stopProcessing(plugin);
    plugin->deactivate(plugin);
    plugin->destroy(plugin);
}

} // namespace
} // namespace Korvatune
