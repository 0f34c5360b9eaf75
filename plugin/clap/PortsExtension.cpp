// One note input and one stereo output.

#include "plugin/clap/ClapExtensions.h"
#include "plugin/clap/PluginExtensions.h"

#include <cstring>

namespace Korvatune::Clap {

namespace {

template <std::size_t Size> void copyName(char (&target)[Size], const char* name) {
    std::strncpy(target, name, Size - 1);
    target[Size - 1] = '\0';
}

std::uint32_t audioPortCount(const Plugin*, bool isInput) {
    return isInput ? 0 : 1;
}

bool audioPort(const Plugin*, std::uint32_t index, bool isInput, AudioPortInfo* info) {
    if (isInput || index != 0 || info == nullptr) {
        return false;
    }
    info->id = 0;
    copyName(info->name, "Output");
    info->flags = kAudioPortIsMain;
    info->channelCount = 2;
    info->portType = kStereoPortType;
    info->inPlacePair = kInvalidId;
    return true;
}

std::uint32_t notePortCount(const Plugin*, bool isInput) {
    return isInput ? 1 : 0;
}

// Note events are the host's own; MIDI is what the instrument speaks.
bool notePort(const Plugin*, std::uint32_t index, bool isInput, NotePortInfo* info) {
    if (!isInput || index != 0 || info == nullptr) {
        return false;
    }
    info->id = 0;
    info->supportedDialects = kNoteDialectClap | kNoteDialectMidi;
    info->preferredDialect = kNoteDialectClap;
    copyName(info->name, "Notes");
    return true;
}

constexpr PluginAudioPorts kAudioPorts = {audioPortCount, audioPort};
constexpr PluginNotePorts kNotePorts = {notePortCount, notePort};

} // namespace

const PluginAudioPorts& audioPortsExtension() {
    return kAudioPorts;
}

const PluginNotePorts& notePortsExtension() {
    return kNotePorts;
}

} // namespace Korvatune::Clap
