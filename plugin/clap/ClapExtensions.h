#pragma once

// The CLAP extensions this plug-in offers or asks its host for, in their published layout.

#include "plugin/clap/ClapAbi.h"
#include "plugin/clap/ClapPresetDiscovery.h"

#include <cstdint>

namespace Korvatune::Clap {

inline constexpr std::uint32_t kNameSize = 256;
inline constexpr std::uint32_t kPathSize = 1024;

// --- parameters --------------------------------------------------------------------------------

inline constexpr const char* kParamsExtension = "clap.params";

enum ParamFlags : std::uint32_t {
    kParamIsStepped = 1u << 0,
    kParamIsAutomatable = 1u << 5,
};

enum ParamRescanFlags : std::uint32_t {
    kParamRescanValues = 1u << 0,
    kParamRescanText = 1u << 1,
};

struct ParamInfo {
    std::uint32_t id;
    std::uint32_t flags;
    void* cookie;
    char name[kNameSize];
    char module[kPathSize];
    double minValue;
    double maxValue;
    double defaultValue;
};

struct PluginParams {
    std::uint32_t (*count)(const Plugin* plugin);
    bool (*getInfo)(const Plugin* plugin, std::uint32_t index, ParamInfo* info);
    bool (*getValue)(const Plugin* plugin, std::uint32_t id, double* value);
    bool (*valueToText)(const Plugin* plugin, std::uint32_t id, double value, char* text,
                        std::uint32_t capacity);
    bool (*textToValue)(const Plugin* plugin, std::uint32_t id, const char* text, double* value);
    void (*flush)(const Plugin* plugin, const InputEvents* in, const OutputEvents* out);
};

struct HostParams {
    void (*rescan)(const Host* host, std::uint32_t flags);
    void (*clear)(const Host* host, std::uint32_t id, std::uint32_t flags);
    void (*requestFlush)(const Host* host);
};

// --- ports -------------------------------------------------------------------------------------

inline constexpr const char* kNotePortsExtension = "clap.note-ports";

enum NoteDialect : std::uint32_t {
    kNoteDialectClap = 1u << 0,
    kNoteDialectMidi = 1u << 1,
};

struct NotePortInfo {
    std::uint32_t id;
    std::uint32_t supportedDialects;
    std::uint32_t preferredDialect;
    char name[kNameSize];
};

struct PluginNotePorts {
    std::uint32_t (*count)(const Plugin* plugin, bool isInput);
    bool (*get)(const Plugin* plugin, std::uint32_t index, bool isInput, NotePortInfo* info);
};

inline constexpr const char* kAudioPortsExtension = "clap.audio-ports";
inline constexpr const char* kStereoPortType = "stereo";
inline constexpr std::uint32_t kInvalidId = UINT32_MAX;

enum AudioPortFlags : std::uint32_t {
    kAudioPortIsMain = 1u << 0,
};

struct AudioPortInfo {
    std::uint32_t id;
    char name[kNameSize];
    std::uint32_t flags;
    std::uint32_t channelCount;
    const char* portType;
    std::uint32_t inPlacePair;
};

struct PluginAudioPorts {
    std::uint32_t (*count)(const Plugin* plugin, bool isInput);
    bool (*get)(const Plugin* plugin, std::uint32_t index, bool isInput, AudioPortInfo* info);
};

// --- state -------------------------------------------------------------------------------------

inline constexpr const char* kStateExtension = "clap.state";

struct PluginState {
    bool (*save)(const Plugin* plugin, const OutputStream* stream);
    bool (*load)(const Plugin* plugin, const InputStream* stream);
};

struct HostState {
    void (*markDirty)(const Host* host);
};

// --- log ---------------------------------------------------------------------------------------

inline constexpr const char* kLogExtension = "clap.log";

enum LogSeverity : std::int32_t {
    kLogWarning = 2,
    kLogError = 3,
};

struct HostLog {
    void (*log)(const Host* host, std::int32_t severity, const char* message);
};

// --- presets, whose locations the preset discovery factory tells
// -----------------------------------------------------------------------------------

inline constexpr const char* kPresetLoadExtension = "clap.preset-load/2";
// The same extension under the name hosts used while it was a draft.
inline constexpr const char* kPresetLoadDraftExtension = "clap.preset-load.draft/2";

struct PluginPresetLoad {
    bool (*fromLocation)(const Plugin* plugin, std::uint32_t kind, const char* location,
                         const char* loadKey);
};

struct HostPresetLoad {
    void (*onError)(const Host* host, std::uint32_t kind, const char* location, const char* loadKey,
                    std::int32_t osError, const char* message);
    void (*loaded)(const Host* host, std::uint32_t kind, const char* location, const char* loadKey);
};

// --- editor ------------------------------------------------------------------------------------

inline constexpr const char* kGuiExtension = "clap.gui";
inline constexpr const char* kWin32WindowApi = "win32";
inline constexpr const char* kX11WindowApi = "x11";

struct Window {
    const char* api;
    union {
        // An HWND (and the other platforms' views).
        void* pointer;
        unsigned long x11;
    };
};

struct GuiResizeHints {
    bool canResizeHorizontally;
    bool canResizeVertically;
    bool preserveAspectRatio;
    std::uint32_t aspectRatioWidth;
    std::uint32_t aspectRatioHeight;
};

struct PluginGui {
    bool (*isApiSupported)(const Plugin* plugin, const char* api, bool isFloating);
    bool (*preferredApi)(const Plugin* plugin, const char** api, bool* isFloating);
    bool (*create)(const Plugin* plugin, const char* api, bool isFloating);
    void (*destroy)(const Plugin* plugin);
    bool (*setScale)(const Plugin* plugin, double scale);
    bool (*size)(const Plugin* plugin, std::uint32_t* width, std::uint32_t* height);
    bool (*canResize)(const Plugin* plugin);
    bool (*resizeHints)(const Plugin* plugin, GuiResizeHints* hints);
    bool (*adjustSize)(const Plugin* plugin, std::uint32_t* width, std::uint32_t* height);
    bool (*setSize)(const Plugin* plugin, std::uint32_t width, std::uint32_t height);
    bool (*setParent)(const Plugin* plugin, const Window* window);
    bool (*setTransient)(const Plugin* plugin, const Window* window);
    void (*suggestTitle)(const Plugin* plugin, const char* title);
    bool (*show)(const Plugin* plugin);
    bool (*hide)(const Plugin* plugin);
};

struct HostGui {
    void (*resizeHintsChanged)(const Host* host);
    bool (*requestResize)(const Host* host, std::uint32_t width, std::uint32_t height);
    bool (*requestShow)(const Host* host);
    bool (*requestHide)(const Host* host);
    void (*closed)(const Host* host, bool wasDestroyed);
};

inline constexpr const char* kTimerSupportExtension = "clap.timer-support";

struct PluginTimerSupport {
    void (*onTimer)(const Plugin* plugin, std::uint32_t timerId);
};

struct HostTimerSupport {
    bool (*registerTimer)(const Host* host, std::uint32_t periodMilliseconds,
                          std::uint32_t* timerId);
    bool (*unregisterTimer)(const Host* host, std::uint32_t timerId);
};

} // namespace Korvatune::Clap
