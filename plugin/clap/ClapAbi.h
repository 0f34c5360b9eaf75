#pragma once

// The core of the CLAP binary interface as this plug-in and its test host use it: the entry, the
// plug-in factory, the plug-in and host records, blocks and their events, and byte streams. The
// records keep the published layout field for field; every function is cdecl, the default of the
// compilers we build with.

#include <cstdint>

namespace Korvatune::Clap {

struct Version {
    std::uint32_t major;
    std::uint32_t minor;
    std::uint32_t revision;
};

// The interface version the plug-in is written against.
inline constexpr Version kVersion = {1, 2, 0};

inline constexpr const char* kPluginFactoryId = "clap.plugin-factory";

struct Host;
struct Process;

struct PluginDescriptor {
    Version clapVersion;
    const char* id;
    const char* name;
    const char* vendor;
    const char* url;
    const char* manualUrl;
    const char* supportUrl;
    const char* version;
    const char* description;
    // Ends with a null.
    const char* const* features;
};

enum ProcessStatus : std::int32_t {
    kProcessError = 0,
    kProcessContinue = 1,
    kProcessContinueIfNotQuiet = 2,
    kProcessTail = 3,
    kProcessSleep = 4,
};

struct Plugin {
    const PluginDescriptor* descriptor;
    void* pluginData;
    bool (*init)(const Plugin* plugin);
    void (*destroy)(const Plugin* plugin);
    bool (*activate)(const Plugin* plugin, double sampleRate, std::uint32_t minFrames,
                     std::uint32_t maxFrames);
    void (*deactivate)(const Plugin* plugin);
    bool (*startProcessing)(const Plugin* plugin);
    void (*stopProcessing)(const Plugin* plugin);
    void (*reset)(const Plugin* plugin);
    std::int32_t (*process)(const Plugin* plugin, const Process* process);
    const void* (*getExtension)(const Plugin* plugin, const char* id);
    void (*onMainThread)(const Plugin* plugin);
};

struct Host {
    Version clapVersion;
    void* hostData;
    const char* name;
    const char* vendor;
    const char* url;
    const char* version;
    const void* (*getExtension)(const Host* host, const char* id);
    void (*requestRestart)(const Host* host);
    void (*requestProcess)(const Host* host);
    void (*requestCallback)(const Host* host);
};

struct PluginFactory {
    std::uint32_t (*pluginCount)(const PluginFactory* factory);
    const PluginDescriptor* (*descriptor)(const PluginFactory* factory, std::uint32_t index);
    const Plugin* (*createPlugin)(const PluginFactory* factory, const Host* host,
                                  const char* pluginId);
};

struct PluginEntry {
    Version clapVersion;
    bool (*init)(const char* pluginPath);
    void (*deinit)();
    const void* (*getFactory)(const char* factoryId);
};

// --- events ------------------------------------------------------------------------------------

inline constexpr std::uint16_t kCoreEventSpace = 0;

enum EventType : std::uint16_t {
    kEventNoteOn = 0,
    kEventNoteOff = 1,
    kEventNoteChoke = 2,
    kEventNoteEnd = 3,
    kEventNoteExpression = 4,
    kEventParamValue = 5,
    kEventParamMod = 6,
    kEventParamGestureBegin = 7,
    kEventParamGestureEnd = 8,
    kEventTransport = 9,
    kEventMidi = 10,
    kEventMidiSysex = 11,
    kEventMidi2 = 12,
};

struct EventHeader {
    // Of the whole event, this header included.
    std::uint32_t size;
    // The frame in the block.
    std::uint32_t time;
    std::uint16_t spaceId;
    std::uint16_t type;
    std::uint32_t flags;
};

struct NoteEvent {
    EventHeader header;
    std::int32_t noteId;
    std::int16_t portIndex;
    // -1 for any.
    std::int16_t channel;
    std::int16_t key;
    // 0..1
    double velocity;
};

struct ParamValueEvent {
    EventHeader header;
    std::uint32_t paramId;
    void* cookie;
    std::int32_t noteId;
    std::int16_t portIndex;
    std::int16_t channel;
    std::int16_t key;
    double value;
};

struct ParamGestureEvent {
    EventHeader header;
    std::uint32_t paramId;
};

struct MidiEvent {
    EventHeader header;
    std::uint16_t portIndex;
    std::uint8_t data[3];
};

struct InputEvents {
    void* context;
    std::uint32_t (*size)(const InputEvents* list);
    const EventHeader* (*get)(const InputEvents* list, std::uint32_t index);
};

struct OutputEvents {
    void* context;
    bool (*tryPush)(const OutputEvents* list, const EventHeader* event);
};

// --- blocks ------------------------------------------------------------------------------------

struct AudioBuffer {
    float** data32;
    double** data64;
    std::uint32_t channelCount;
    std::uint32_t latency;
    std::uint64_t constantMask;
};

struct Process {
    std::int64_t steadyTime;
    std::uint32_t framesCount;
    const void* transport;
    const AudioBuffer* audioInputs;
    AudioBuffer* audioOutputs;
    std::uint32_t audioInputsCount;
    std::uint32_t audioOutputsCount;
    const InputEvents* inEvents;
    const OutputEvents* outEvents;
};

// --- streams -----------------------------------------------------------------------------------

// Both return the number of bytes moved, 0 at the end of the stream, or a negative number for an
// error; they may move fewer bytes than asked for.
struct InputStream {
    void* context;
    std::int64_t (*read)(const InputStream* stream, void* buffer, std::uint64_t size);
};

struct OutputStream {
    void* context;
    std::int64_t (*write)(const OutputStream* stream, const void* buffer, std::uint64_t size);
};

} // namespace Korvatune::Clap
