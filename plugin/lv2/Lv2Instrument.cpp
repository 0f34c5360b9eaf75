#include "plugin/lv2/Lv2Instrument.h"

#include "plugin/OfferedEditor.h"
#include "plugin/lv2/AtomSequence.h"
#include "plugin/lv2/Features.h"
#include "plugin/lv2/Lv2Ports.h"
#include "plugin/lv2/StateReader.h"
#include "plugin/lv2/StateWriter.h"

#include <lv2/log/log.h>
#include <lv2/urid/urid.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

namespace Korvatune::Lv2 {

namespace {

bool sameBits(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

} // namespace

std::unique_ptr<Lv2Instrument> Lv2Instrument::create(double sampleRate, const char* bundlePath,
                                                     const LV2_Feature* const* features) {
    const auto* map = static_cast<const LV2_URID_Map*>(featureData(features, LV2_URID__map));
    if (map == nullptr) {
        return nullptr;
    }
    std::string folder = bundlePath != nullptr ? bundlePath : "";
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    auto instrument = std::make_unique<Instrument>(folder, offeredEditor());
    if (!instrument->setSampleRate(sampleRate)) {
        return nullptr;
    }
    const Urids urids = mapUrids(*map);
    const Lv2Log log(static_cast<const LV2_Log_Log*>(featureData(features, LV2_LOG__log)),
                     urids.logWarning);
    return std::unique_ptr<Lv2Instrument>(new Lv2Instrument(std::move(instrument), urids, log));
}

Lv2Instrument::Lv2Instrument(std::unique_ptr<Instrument> instrument, const Urids& urids,
                             const Lv2Log& log)
    : instrument_(std::move(instrument)), urids_(urids), log_(log) {
    for (int index = 0; index < Instrument::kParameterCount; ++index) {
        appliedValues_[static_cast<std::size_t>(index)].store(instrument_->parameterValue(index),
                                                              std::memory_order_relaxed);
    }
}

Lv2Instrument::~Lv2Instrument() = default;

void Lv2Instrument::connectPort(std::uint32_t port, void* data) {
    if (isParameterPort(port)) {
        controls_[port] = static_cast<const float*>(data);
    } else if (port == kMidiInPort) {
        midiIn_ = static_cast<const LV2_Atom_Sequence*>(data);
    } else if (port == kLeftOutPort) {
        left_ = static_cast<float*>(data);
    } else if (port == kRightOutPort) {
        right_ = static_cast<float*>(data);
    } else if (port == kNotifyPort) {
        notify_ = static_cast<LV2_Atom_Sequence*>(data);
    }
}

void Lv2Instrument::activate() {
    instrument_->activate();
}

void Lv2Instrument::deactivate() {
    instrument_->deactivate();
}

bool Lv2Instrument::isNewPortValue(int index, float value) const {
    return index >= 0 && index < Instrument::kParameterCount &&
           !sameBits(value, appliedValues_[static_cast<std::size_t>(index)].load(
                                std::memory_order_relaxed));
}

void Lv2Instrument::run(std::uint32_t frames) {
    writeNotifications();
    applyPortChanges();
    // An empty block needs no buffers; its events wait for the next.
    if (frames > 0 && (left_ == nullptr || right_ == nullptr)) {
        return;
    }
    playEvents(frames);
}

// The host learns that the session changed beyond the ports, so that it offers to save it. A
// notice that finds no room in the sequence waits for the next block.
void Lv2Instrument::writeNotifications() {
    if (notify_ == nullptr) {
        return;
    }
    const std::uint32_t capacity = notify_->atom.size;
    notify_->atom.type = urids_.atomSequence;
    notify_->atom.size = sizeof(LV2_Atom_Sequence_Body);
    notify_->body.unit = urids_.atomFrameTime;
    notify_->body.pad = 0;
    struct StateChangedEvent {
        LV2_Atom_Event event;
        LV2_Atom_Object_Body object;
    };
    constexpr std::uint32_t kSize = sizeof(StateChangedEvent);
    if (capacity < sizeof(LV2_Atom_Sequence_Body) + kSize || !instrument_->takeStateChange()) {
        return;
    }
    StateChangedEvent notice{};
    notice.event.time.frames = 0;
    notice.event.body.type = urids_.atomObject;
    notice.event.body.size = sizeof(LV2_Atom_Object_Body);
    notice.object.id = 0;
    notice.object.otype = urids_.stateChanged;
    std::memcpy(&notify_->body + 1, &notice, kSize);
    notify_->atom.size += kSize;
}

// Only values that changed since the last block: a program chosen by MIDI stays chosen until
// the host moves a port.
void Lv2Instrument::applyPortChanges() {
    for (std::size_t index = 0; index < controls_.size(); ++index) {
        if (controls_[index] == nullptr) {
            continue;
        }
        const float value = *controls_[index];
        if (isNewPortValue(static_cast<int>(index), value)) {
            appliedValues_[index].store(value, std::memory_order_relaxed);
            instrument_->setParameterValue(static_cast<int>(index), value);
        }
    }
}

// Events go to the instrument's queue with their offsets and the block renders in one piece,
// as from a VST 2 host. It is cut only where it must be: at a program change, which takes
// effect on its frame, and where the queue is full, so that no event is lost to it.
void Lv2Instrument::playEvents(std::uint32_t frames) {
    Span span;
    if (midiIn_ != nullptr && midiIn_->atom.type == urids_.atomSequence) {
        const bool frameTimed =
            midiIn_->body.unit == 0 || midiIn_->body.unit == urids_.atomFrameTime;
        forEachEvent(*midiIn_, [&](const LV2_Atom_Event& event) {
            if (const std::optional<MidiMessage> message = midiMessageIn(event)) {
                const std::int64_t time = frameTimed ? event.time.frames : 0;
                play(*message,
                     static_cast<std::uint32_t>(std::clamp<std::int64_t>(time, span.start, frames)),
                     span);
            }
        });
    }
    render(span.start, frames);
}

std::optional<MidiMessage> Lv2Instrument::midiMessageIn(const LV2_Atom_Event& event) const {
    if (event.body.type != urids_.midiEvent) {
        return std::nullopt;
    }
    return midiMessageOf(reinterpret_cast<const std::uint8_t*>(&event.body + 1), event.body.size);
}

void Lv2Instrument::play(const MidiMessage& message, std::uint32_t frame, Span& span) {
    if (message.isProgramChange()) {
        renderUpTo(frame, span);
        instrument_->selectProgram(message.program());
        return;
    }
    if (span.queued == Instrument::kMidiQueueCapacity && frame > span.start) {
        renderUpTo(frame, span);
    }
    // More events on one frame than the queue holds: the rest are lost, as in VST 2.
    if (span.queued == Instrument::kMidiQueueCapacity) {
        return;
    }
    sendEvent(message, static_cast<std::int32_t>(frame - span.start));
    span.queuedAtLastFrame = frame == span.lastFrame ? span.queuedAtLastFrame + 1 : 1;
    span.lastFrame = frame;
    ++span.queued;
}

// Events on the frame itself stay queued, for the start of the next piece.
void Lv2Instrument::renderUpTo(std::uint32_t frame, Span& span) {
    render(span.start, frame);
    span.queued = span.lastFrame == frame ? span.queuedAtLastFrame : 0;
    span.start = frame;
}

void Lv2Instrument::sendEvent(const MidiMessage& message, std::int32_t deltaFrames) {
    instrument_->queueMidi(message.bytes, deltaFrames);
}

void Lv2Instrument::render(std::uint32_t start, std::uint32_t end) {
    if (end > start) {
        instrument_->render(left_ + start, right_ + start, static_cast<std::int32_t>(end - start));
    }
}

LV2_State_Status Lv2Instrument::save(LV2_State_Store_Function store, LV2_State_Handle handle) {
    const std::unique_ptr<InstrumentState> state = instrument_->state();
    return writeState(store, handle, urids_, state->programName.c_str(),
                      [&state](int slot) { return state->userWaveforms[slot].data(); });
}

LV2_State_Status Lv2Instrument::restore(LV2_State_Retrieve_Function retrieve,
                                        LV2_State_Handle handle) {
    const std::unique_ptr<RestoredState> state = readState(retrieve, handle, urids_);
    for (const std::string& refusal : state->refusals) {
        log_.warning(refusal);
    }
    instrument_->restore(*state);
    return LV2_STATE_SUCCESS;
}

} // namespace Korvatune::Lv2
