#pragma once

// The VST 3 binary interface of the processing part: the component, its buses, the audio
// processor and what a block brings with it (events and parameter automation).

#include "plugin/vst3/Vst3Base.h"

#include <cstddef>

namespace Korvatune::Vst3 {

using ParamID = std::uint32_t;
using ParamValue = double;
using SpeakerArrangement = std::uint64_t;

enum MediaType : std::int32_t { kAudio = 0, kEvent = 1 };
enum BusDirection : std::int32_t { kInput = 0, kOutput = 1 };
enum BusType : std::int32_t { kMain = 0, kAux = 1 };

inline constexpr SpeakerArrangement kStereo = 0x3;

struct BusInfo {
    enum Flags : std::uint32_t { kDefaultActive = 1 << 0 };
    std::int32_t mediaType;
    std::int32_t direction;
    std::int32_t channelCount;
    String128 name;
    std::int32_t busType;
    std::uint32_t flags;
};

struct RoutingInfo {
    std::int32_t mediaType;
    std::int32_t busIndex;
    std::int32_t channel;
};

class IComponent : public IPluginBase {
public:
    static constexpr Uid iid = makeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);
    virtual tresult VST3_API getControllerClassId(char* classId) = 0;
    virtual tresult VST3_API setIoMode(std::int32_t mode) = 0;
    virtual std::int32_t VST3_API getBusCount(std::int32_t type, std::int32_t direction) = 0;
    virtual tresult VST3_API getBusInfo(std::int32_t type, std::int32_t direction,
                                        std::int32_t index, BusInfo& bus) = 0;
    virtual tresult VST3_API getRoutingInfo(RoutingInfo& in, RoutingInfo& out) = 0;
    virtual tresult VST3_API activateBus(std::int32_t type, std::int32_t direction,
                                         std::int32_t index, TBool state) = 0;
    virtual tresult VST3_API setActive(TBool state) = 0;
    virtual tresult VST3_API setState(IBStream* state) = 0;
    virtual tresult VST3_API getState(IBStream* state) = 0;

protected:
    ~IComponent() = default;
};

enum SymbolicSampleSize : std::int32_t { kSample32 = 0, kSample64 = 1 };

struct ProcessSetup {
    std::int32_t processMode;
    std::int32_t symbolicSampleSize;
    std::int32_t maxSamplesPerBlock;
    double sampleRate;
};

struct AudioBusBuffers {
    std::int32_t numChannels;
    std::uint64_t silenceFlags;
    union {
        float** channelBuffers32;
        double** channelBuffers64;
    };
};

struct NoteOnEvent {
    std::int16_t channel;
    std::int16_t pitch;
    float tuning;
    float velocity;
    std::int32_t length;
    std::int32_t noteId;
};

struct NoteOffEvent {
    std::int16_t channel;
    std::int16_t pitch;
    float velocity;
    std::int32_t noteId;
    float tuning;
};

// Of the event kinds only the notes matter here; the others set the union's size and, by the
// double of a note expression's value, its alignment.
struct Event {
    enum Type : std::uint16_t { kNoteOnEvent = 0, kNoteOffEvent = 1 };
    std::int32_t busIndex;
    std::int32_t sampleOffset;
    double ppqPosition;
    std::uint16_t flags;
    std::uint16_t type;
    union {
        NoteOnEvent noteOn;
        NoteOffEvent noteOff;
        struct {
            std::uint32_t typeId;
            std::int32_t noteId;
            double value;
        } noteExpressionValue;
        struct {
            std::uint32_t typeId;
            std::int32_t noteId;
            std::uint32_t textLength;
            const char16* text;
        } noteExpressionText;
    };
};

class IEventList : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x3A2C4214, 0x346349FE, 0xB2C4F397, 0xB9695A44);
    virtual std::int32_t VST3_API getEventCount() = 0;
    virtual tresult VST3_API getEvent(std::int32_t index, Event& event) = 0;
    virtual tresult VST3_API addEvent(Event& event) = 0;

protected:
    ~IEventList() = default;
};

class IParamValueQueue : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA);
    virtual ParamID VST3_API getParameterId() = 0;
    virtual std::int32_t VST3_API getPointCount() = 0;
    virtual tresult VST3_API getPoint(std::int32_t index, std::int32_t& sampleOffset,
                                      ParamValue& value) = 0;
    virtual tresult VST3_API addPoint(std::int32_t sampleOffset, ParamValue value,
                                      std::int32_t& index) = 0;

protected:
    ~IParamValueQueue() = default;
};

class IParameterChanges : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D);
    virtual std::int32_t VST3_API getParameterCount() = 0;
    virtual IParamValueQueue* VST3_API getParameterData(std::int32_t index) = 0;
    virtual IParamValueQueue* VST3_API addParameterData(const ParamID& id, std::int32_t& index) = 0;

protected:
    ~IParameterChanges() = default;
};

struct ProcessData {
    std::int32_t processMode;
    std::int32_t symbolicSampleSize;
    std::int32_t numSamples;
    std::int32_t numInputs;
    std::int32_t numOutputs;
    AudioBusBuffers* inputs;
    AudioBusBuffers* outputs;
    IParameterChanges* inputParameterChanges;
    IParameterChanges* outputParameterChanges;
    IEventList* inputEvents;
    IEventList* outputEvents;
    void* processContext;
};

class IAudioProcessor : public FUnknown {
public:
    static constexpr Uid iid = makeUid(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);
    virtual tresult VST3_API setBusArrangements(SpeakerArrangement* inputs, std::int32_t inCount,
                                                SpeakerArrangement* outputs,
                                                std::int32_t outCount) = 0;
    virtual tresult VST3_API getBusArrangement(std::int32_t direction, std::int32_t index,
                                               SpeakerArrangement& arrangement) = 0;
    virtual tresult VST3_API canProcessSampleSize(std::int32_t symbolicSampleSize) = 0;
    virtual std::uint32_t VST3_API getLatencySamples() = 0;
    virtual tresult VST3_API setupProcessing(ProcessSetup& setup) = 0;
    virtual tresult VST3_API setProcessing(TBool state) = 0;
    virtual tresult VST3_API process(ProcessData& data) = 0;
    virtual std::uint32_t VST3_API getTailSamples() = 0;

protected:
    ~IAudioProcessor() = default;
};

static_assert(sizeof(BusInfo) == 276);
// 64-bit integers and doubles align to 8 bytes on Windows and 64-bit Linux, to 4 on 32-bit Linux.
static_assert(sizeof(AudioBusBuffers) == (alignof(std::uint64_t) == 8 ? 24 : 16));
static_assert(sizeof(ProcessSetup) == (alignof(double) == 8 ? 24 : 20));
static_assert(offsetof(Event, noteOn) == (alignof(double) == 8 ? 24 : 20));
static_assert(sizeof(Event) == (alignof(double) == 8 ? 48 : 40));
static_assert(sizeof(ProcessData) == 20 + (sizeof(void*) == 8 ? 4 : 0) + 7 * sizeof(void*));

} // namespace Korvatune::Vst3
