#include "plugin/vst3/Vst3Factory.h"
#include "plugin/vst3/Vst3Ids.h"
#include "vst3/HostObjects.h"

#include <gtest/gtest.h>

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

// The instrument's factories use the nothrow form; it must count and pair with the frees below.
void* countedAllocationOrNull(std::size_t size) noexcept {
    if (armed.load()) {
        allocations.fetch_add(1);
    }
    return std::malloc(size == 0 ? 1 : size);
}

} // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return countedAllocationOrNull(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return countedAllocationOrNull(size);
}
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

using namespace Vst3;

// The processor linked in, so that the counting allocator sees its allocations.
TEST(Vst3RealTime, ProcessAllocatesNothing) {
    void* object = nullptr;
    ASSERT_EQ(
        moduleFactory()->createInstance(kProcessorUid.data(), IComponent::iid.data(), &object),
        kResultOk);
    auto* component = static_cast<IComponent*>(object);
    void* audioObject = nullptr;
    ASSERT_EQ(component->queryInterface(IAudioProcessor::iid.data(), &audioObject), kResultOk);
    auto* audio = static_cast<IAudioProcessor*>(audioObject);
    ProcessSetup setup{0, kSample32, 512, 44100.0};
    ASSERT_EQ(audio->setupProcessing(setup), kResultOk);
    component->setActive(1);

    testing::EventList events;
    events.addNote(true, 3, 0, 36, 127);
    events.addNote(true, 200, 0, 48, 100);
    events.addNote(false, 400, 0, 36, 0);
    testing::ParameterChanges changes;
    changes.add(kProgramId, 0, 25.0 / kLastProgram);
    changes.add(kFilterCutoff, 101, 0.2);
    changes.add(kVolume, 333, 0.5);
    changes.add(kAllNotesOffId, 450, 0.0);
    std::vector<float> left(512);
    std::vector<float> right(512);
    float* channels[] = {left.data(), right.data()};
    AudioBusBuffers output{};
    output.numChannels = 2;
    output.channelBuffers32 = channels;
    ProcessData data{};
    data.symbolicSampleSize = kSample32;
    data.numSamples = 512;
    data.numOutputs = 1;
    data.outputs = &output;
    data.inputEvents = &events;
    data.inputParameterChanges = &changes;

    armed = true;
    for (int block = 0; block < 8; ++block) {
        audio->process(data);
    }
    armed = false;
    EXPECT_EQ(allocations.load(), 0);

    component->setActive(0);
    audio->release();
    component->release();
}

} // namespace
} // namespace Korvatune
