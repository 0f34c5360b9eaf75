#pragma once

// What a VST 3 host hands a plug-in, as simply as the tests need it: a stream of bytes, a list
// of events, automation queues and a handler that records the controller's edits. They live on
// the test's stack, so their references are not counted.

#include "plugin/vst3/Vst3Editing.h"
#include "plugin/vst3/Vst3Text.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace Korvatune::testing {

using namespace Vst3;

template <typename Interface> class HostObject : public Interface {
public:
    tresult VST3_API queryInterface(const char* iid, void** object) override {
        if (sameUid(iid, Interface::iid) || sameUid(iid, FUnknown::iid)) {
            *object = static_cast<Interface*>(this);
            return kResultOk;
        }
        *object = nullptr;
        return kNoInterface;
    }
    std::uint32_t VST3_API addRef() override { return 1; }
    std::uint32_t VST3_API release() override { return 1; }
};

// Hands out at most `chunk` bytes a read, as some hosts' streams do.
class MemoryStream : public HostObject<IBStream> {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<std::uint8_t> contents) : bytes(std::move(contents)) {}

    tresult VST3_API read(void* buffer, std::int32_t count, std::int32_t* done) override {
        const auto available = static_cast<std::int32_t>(bytes.size() - position);
        const std::int32_t n = std::max(0, std::min({count, available, chunk}));
        if (n > 0) {
            std::memcpy(buffer, bytes.data() + position, static_cast<std::size_t>(n));
        }
        position += static_cast<std::size_t>(n);
        if (done != nullptr) {
            *done = n;
        }
        return kResultOk;
    }
    tresult VST3_API write(void* buffer, std::int32_t count, std::int32_t* done) override {
        const auto* data = static_cast<const std::uint8_t*>(buffer);
        bytes.resize(std::max(bytes.size(), position + static_cast<std::size_t>(count)));
        if (count > 0) {
            std::memcpy(bytes.data() + position, data, static_cast<std::size_t>(count));
        }
        position += static_cast<std::size_t>(count);
        if (done != nullptr) {
            *done = count;
        }
        return kResultOk;
    }
    tresult VST3_API seek(std::int64_t to, std::int32_t mode, std::int64_t* result) override {
        const std::int64_t base = mode == kIBSeekCur   ? static_cast<std::int64_t>(position)
                                  : mode == kIBSeekEnd ? static_cast<std::int64_t>(bytes.size())
                                                       : 0;
        position = static_cast<std::size_t>(
            std::clamp<std::int64_t>(base + to, 0, static_cast<std::int64_t>(bytes.size())));
        if (result != nullptr) {
            *result = static_cast<std::int64_t>(position);
        }
        return kResultOk;
    }
    tresult VST3_API tell(std::int64_t* at) override {
        *at = static_cast<std::int64_t>(position);
        return kResultOk;
    }

    std::vector<std::uint8_t> bytes;
    std::size_t position = 0;
    std::int32_t chunk = 1000;
};

class EventList : public HostObject<IEventList> {
public:
    std::int32_t VST3_API getEventCount() override {
        return static_cast<std::int32_t>(events.size());
    }
    tresult VST3_API getEvent(std::int32_t index, Event& event) override {
        if (index < 0 || index >= getEventCount()) {
            return kInvalidArgument;
        }
        event = events[static_cast<std::size_t>(index)];
        return kResultOk;
    }
    tresult VST3_API addEvent(Event& event) override {
        events.push_back(event);
        return kResultOk;
    }

    void addNote(bool on, std::int32_t offset, int channel, int pitch, int velocity) {
        Event event{};
        event.sampleOffset = offset;
        event.type = on ? Event::kNoteOnEvent : Event::kNoteOffEvent;
        if (on) {
            event.noteOn = {static_cast<std::int16_t>(channel),
                            static_cast<std::int16_t>(pitch),
                            0.0f,
                            static_cast<float>(velocity) / 127.0f,
                            0,
                            -1};
        } else {
            event.noteOff = {static_cast<std::int16_t>(channel), static_cast<std::int16_t>(pitch),
                             static_cast<float>(velocity) / 127.0f, -1, 0.0f};
        }
        events.push_back(event);
    }

    std::vector<Event> events;
};

class ValueQueue : public HostObject<IParamValueQueue> {
public:
    explicit ValueQueue(ParamID parameter) : id(parameter) {}

    ParamID VST3_API getParameterId() override { return id; }
    std::int32_t VST3_API getPointCount() override {
        return static_cast<std::int32_t>(points.size());
    }
    tresult VST3_API getPoint(std::int32_t index, std::int32_t& offset,
                              ParamValue& value) override {
        if (index < 0 || index >= getPointCount()) {
            return kInvalidArgument;
        }
        offset = points[static_cast<std::size_t>(index)].first;
        value = points[static_cast<std::size_t>(index)].second;
        return kResultOk;
    }
    tresult VST3_API addPoint(std::int32_t offset, ParamValue value, std::int32_t& index) override {
        index = getPointCount();
        points.emplace_back(offset, value);
        return kResultOk;
    }

    ParamID id;
    std::vector<std::pair<std::int32_t, ParamValue>> points;
};

class ParameterChanges : public HostObject<IParameterChanges> {
public:
    std::int32_t VST3_API getParameterCount() override {
        return static_cast<std::int32_t>(queues.size());
    }
    IParamValueQueue* VST3_API getParameterData(std::int32_t index) override {
        return index >= 0 && index < getParameterCount() ? &queues[static_cast<std::size_t>(index)]
                                                         : nullptr;
    }
    IParamValueQueue* VST3_API addParameterData(const ParamID& id, std::int32_t& index) override {
        for (std::size_t i = 0; i < queues.size(); ++i) {
            if (queues[i].id == id) {
                index = static_cast<std::int32_t>(i);
                return &queues[i];
            }
        }
        index = getParameterCount();
        queues.emplace_back(id);
        return &queues.back();
    }

    // Points of one parameter come in order of their offsets.
    void add(ParamID id, std::int32_t offset, ParamValue value) {
        std::int32_t index = 0;
        addParameterData(id, index)->addPoint(offset, value, index);
    }

    std::vector<ValueQueue> queues;
};

struct EditRecord {
    char kind; // 'b'egin, 'p'erform, 'e'nd
    ParamID id;
    ParamValue value;
};

// Offers IComponentHandler2 as most hosts do, unless told not to.
class RecordingHandler : public IComponentHandler, public IComponentHandler2 {
public:
    tresult VST3_API queryInterface(const char* iid, void** object) override {
        if (sameUid(iid, IComponentHandler::iid) || sameUid(iid, FUnknown::iid)) {
            *object = static_cast<IComponentHandler*>(this);
            return kResultOk;
        }
        if (offersHandler2 && sameUid(iid, IComponentHandler2::iid)) {
            *object = static_cast<IComponentHandler2*>(this);
            return kResultOk;
        }
        *object = nullptr;
        return kNoInterface;
    }
    std::uint32_t VST3_API addRef() override { return 1; }
    std::uint32_t VST3_API release() override { return 1; }

    tresult VST3_API beginEdit(ParamID id) override {
        edits.push_back({'b', id, 0.0});
        return kResultOk;
    }
    tresult VST3_API performEdit(ParamID id, ParamValue value) override {
        edits.push_back({'p', id, value});
        return kResultOk;
    }
    tresult VST3_API endEdit(ParamID id) override {
        edits.push_back({'e', id, 0.0});
        return kResultOk;
    }
    tresult VST3_API restartComponent(std::int32_t flags) override {
        restarts.push_back(flags);
        return kResultOk;
    }

    tresult VST3_API setDirty(TBool state) override {
        dirtyCalls.push_back(state != 0);
        return kResultOk;
    }
    tresult VST3_API requestOpenEditor(FIDString) override { return kResultFalse; }
    tresult VST3_API startGroupEdit() override { return kResultOk; }
    tresult VST3_API finishGroupEdit() override { return kResultOk; }

    std::vector<EditRecord> edits;
    std::vector<std::int32_t> restarts;
    std::vector<bool> dirtyCalls;
    bool offersHandler2 = true;
};

inline std::string text(const char16* utf16) {
    return utf8FromUtf16(utf16);
}

} // namespace Korvatune::testing
