#include "plugin/vst3/BlockPlayer.h"

#include "plugin/vst3/Vst3Ids.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>

namespace Korvatune::Vst3 {

namespace {

constexpr std::int32_t kNever = std::numeric_limits<std::int32_t>::max();

std::uint8_t midiByte(double normalized) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(normalized, 0.0, 1.0) * 127.0));
}

bool sameBits(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

bool isNote(const Event& event) {
    return event.busIndex == 0 &&
           (event.type == Event::kNoteOnEvent || event.type == Event::kNoteOffEvent);
}

} // namespace

BlockPlayer::BlockPlayer(Instrument& instrument, float* left, float* right, std::int32_t frames)
    : instrument_(instrument), left_(left), right_(right), frames_(std::max(frames, 0)) {
    if (left_ == nullptr || right_ == nullptr) {
        left_ = right_ = nullptr;
    }
}

// Events and automation points in order of their frames, a point before an event on the same
// frame, so that a note meets the values that hold from its frame on.
void BlockPlayer::play(IEventList* events, IParameterChanges* changes) {
    const bool playsNotes = events != nullptr && left_ != nullptr && frames_ > 0;
    const std::int32_t eventCount = playsNotes ? events->getEventCount() : 0;
    const std::int32_t queueCount =
        changes != nullptr ? std::clamp(changes->getParameterCount(), 0, kMaxQueues) : 0;
    std::array<std::int32_t, kMaxQueues> nextPoints{};
    std::int32_t eventIndex = 0;
    Event event{};
    bool haveEvent = false;
    for (;;) {
        while (!haveEvent && eventIndex < eventCount) {
            haveEvent = events->getEvent(eventIndex++, event) == kResultOk && isNote(event);
        }
        const Point point = earliestPoint(changes, queueCount, nextPoints.data());
        const std::int32_t eventOffset =
            haveEvent ? clampedOffset(event.sampleOffset, frames_ - 1) : kNever;
        if (point.queue < 0 && !haveEvent) {
            break;
        }
        if (point.queue >= 0 && point.offset <= eventOffset) {
            IParamValueQueue* queue = changes->getParameterData(point.queue);
            apply(queue->getParameterId(), point.offset, point.value);
            ++nextPoints[static_cast<std::size_t>(point.queue)];
        } else {
            playNote(event);
            haveEvent = false;
        }
    }
    renderUpTo(frames_);
}

BlockPlayer::Point BlockPlayer::earliestPoint(IParameterChanges* changes, std::int32_t queueCount,
                                              const std::int32_t* nextPoints) const {
    Point earliest;
    earliest.offset = kNever;
    for (std::int32_t index = 0; index < queueCount; ++index) {
        IParamValueQueue* queue = changes->getParameterData(index);
        if (queue == nullptr || nextPoints[index] >= queue->getPointCount()) {
            continue;
        }
        std::int32_t offset = 0;
        ParamValue value = 0.0;
        if (queue->getPoint(nextPoints[index], offset, value) != kResultOk) {
            continue;
        }
        offset = clampedOffset(offset, frames_);
        if (offset < earliest.offset) {
            earliest = {index, offset, value};
        }
    }
    return earliest;
}

// A value the instrument already holds cuts no block: hosts repeat unchanged values.
void BlockPlayer::apply(ParamID id, std::int32_t offset, ParamValue value) {
    if (isInstrumentParameter(id)) {
        const auto index = static_cast<int>(id);
        const auto single = static_cast<float>(std::clamp(value, 0.0, 1.0));
        if (!sameBits(instrument_.parameterValue(index), single)) {
            renderUpTo(offset);
            instrument_.setParameterValue(index, single);
        }
    } else if (id == kProgramId) {
        renderUpTo(offset);
        instrument_.selectProgram(
            static_cast<int>(std::lround(std::clamp(value, 0.0, 1.0) * kLastProgram)));
    } else if (const int controller = controllerOf(id); controller >= 0 && left_ != nullptr) {
        queue({0xB0, static_cast<std::uint8_t>(controller), midiByte(value)}, offset);
    }
}

void BlockPlayer::playNote(const Event& event) {
    const std::int32_t frame = clampedOffset(event.sampleOffset, frames_ - 1);
    if (event.type == Event::kNoteOnEvent) {
        const NoteOnEvent& note = event.noteOn;
        queue({static_cast<std::uint8_t>(0x90 | (note.channel & 0x0F)),
               static_cast<std::uint8_t>(note.pitch & 0x7F), midiByte(note.velocity)},
              frame);
    } else {
        const NoteOffEvent& note = event.noteOff;
        queue({static_cast<std::uint8_t>(0x80 | (note.channel & 0x0F)),
               static_cast<std::uint8_t>(note.pitch & 0x7F), midiByte(note.velocity)},
              frame);
    }
}

// More events on one frame than the queue holds: the rest are lost, as in VST 2.
void BlockPlayer::queue(const std::uint8_t (&message)[3], std::int32_t frame) {
    frame = std::min(frame, std::max(frames_ - 1, 0));
    if (queued_ == Instrument::kMidiQueueCapacity && frame > start_) {
        renderUpTo(frame);
    }
    if (instrument_.queueMidi(message, frame - start_)) {
        ++queued_;
    }
}

// Events are queued in order of their frames, so none waits for this piece after it.
void BlockPlayer::renderUpTo(std::int32_t frame) {
    if (frame <= start_) {
        return;
    }
    if (left_ != nullptr) {
        instrument_.render(left_ + start_, right_ + start_, frame - start_);
    }
    start_ = frame;
    queued_ = 0;
}

std::int32_t BlockPlayer::clampedOffset(std::int32_t offset, std::int32_t last) const {
    return std::clamp(offset, start_, std::max(last, start_));
}

} // namespace Korvatune::Vst3
