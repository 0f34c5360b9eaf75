#pragma once

// Events for a block as a CLAP host passes them, and a record of those the plug-in sends back.

#include "plugin/clap/ClapAbi.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace Korvatune::testing {

union AnyEvent {
    Clap::EventHeader header;
    Clap::NoteEvent note;
    Clap::ParamValueEvent param;
    Clap::MidiEvent midi;
};

inline AnyEvent noteEvent(std::uint16_t type, std::uint32_t time, int key, double velocity,
                          int channel = 0) {
    AnyEvent event{};
    event.note = {{sizeof(Clap::NoteEvent), time, Clap::kCoreEventSpace, type, 0},
                  -1,
                  0,
                  static_cast<std::int16_t>(channel),
                  static_cast<std::int16_t>(key),
                  velocity};
    return event;
}

inline AnyEvent midiEvent(std::uint32_t time, std::uint8_t status, std::uint8_t data1,
                          std::uint8_t data2) {
    AnyEvent event{};
    event.midi = {{sizeof(Clap::MidiEvent), time, Clap::kCoreEventSpace, Clap::kEventMidi, 0},
                  0,
                  {status, data1, data2}};
    return event;
}

inline AnyEvent paramEvent(std::uint32_t time, std::uint32_t id, double value) {
    AnyEvent event{};
    event.param = {
        {sizeof(Clap::ParamValueEvent), time, Clap::kCoreEventSpace, Clap::kEventParamValue, 0},
        id,
        nullptr,
        -1,
        -1,
        -1,
        -1,
        value};
    return event;
}

// The host's list of a block's events, in time order.
class EventList {
public:
    EventList() : list_{this, &EventList::size, &EventList::get} {}
    EventList(const EventList&) = delete;
    EventList& operator=(const EventList&) = delete;

    void add(const AnyEvent& event) {
        const auto later = std::upper_bound(
            events_.begin(), events_.end(), event.header.time,
            [](std::uint32_t time, const AnyEvent& other) { return time < other.header.time; });
        events_.insert(later, event);
    }
    void clear() { events_.clear(); }
    const Clap::InputEvents* get() const { return &list_; }

private:
    static std::uint32_t size(const Clap::InputEvents* list) {
        return static_cast<std::uint32_t>(self(list).events_.size());
    }
    static const Clap::EventHeader* get(const Clap::InputEvents* list, std::uint32_t index) {
        const auto& events = self(list).events_;
        return index < events.size() ? &events[index].header : nullptr;
    }
    static const EventList& self(const Clap::InputEvents* list) {
        return *static_cast<const EventList*>(list->context);
    }

    std::vector<AnyEvent> events_;
    Clap::InputEvents list_;
};

// What the plug-in sent: the type, the parameter and, for a value, the value.
struct SentEvent {
    std::uint16_t type;
    std::uint32_t paramId;
    double value;
    std::uint32_t time;

    bool operator==(const SentEvent&) const = default;
};

class SentEvents {
public:
    SentEvents() : list_{this, &SentEvents::tryPush} {}
    SentEvents(const SentEvents&) = delete;
    SentEvents& operator=(const SentEvents&) = delete;

    const Clap::OutputEvents* get() const { return &list_; }
    std::vector<SentEvent> events;

private:
    static bool tryPush(const Clap::OutputEvents* list, const Clap::EventHeader* event) {
        auto& self = *static_cast<SentEvents*>(list->context);
        if (event->type == Clap::kEventParamValue) {
            const auto& value = reinterpret_cast<const Clap::ParamValueEvent&>(*event);
            self.events.push_back({event->type, value.paramId, value.value, event->time});
        } else if (event->type == Clap::kEventParamGestureBegin ||
                   event->type == Clap::kEventParamGestureEnd) {
            const auto& gesture = reinterpret_cast<const Clap::ParamGestureEvent&>(*event);
            self.events.push_back({event->type, gesture.paramId, 0.0, event->time});
        } else {
            self.events.push_back({event->type, UINT32_MAX, 0.0, event->time});
        }
        return true;
    }

    Clap::OutputEvents list_;
};

} // namespace Korvatune::testing
