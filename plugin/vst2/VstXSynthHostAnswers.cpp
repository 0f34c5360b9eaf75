#include "plugin/Identity.h"
#include "plugin/NumberFormat.h"
#include "plugin/VstXSynth.h"
#include "plugin/vst2/GeneralMidiNames.h"
#include "plugin/vst2/UniqueId.h"

#include <cstdio>
#include <cstring>

// What the instrument answers a VST 2 host beyond its sound: its events, pins, identity and the
// MIDI program names it publishes.
namespace Korvatune {

namespace {

constexpr int kDrumChannel = 9;

} // namespace

std::int32_t VstXSynth::processEvents(VstEvents* events) {
    for (std::int32_t i = 0; i < events->numEvents; ++i) {
        const VstEvent* event = events->events[i];
        if (event && event->type == kVstMidiType) {
            const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
            queueMidiEvent(midi->deltaFrames, midi->midiData);
        }
    }
    sendVstEventsToHost(events);
    return 1;
}

bool VstXSynth::getOutputProperties(std::int32_t index, VstPinProperties* properties) {
    if (index < 0 || index >= kNumOutputs) {
        return false;
    }
    std::snprintf(properties->label, sizeof properties->label, "Vstx %d", index + 1);
    properties->flags = kVstPinIsActive | kVstPinIsStereo;
    return true;
}

bool VstXSynth::getEffectName(char* name) {
    copyText(name, kEffectName, kEffectNameLimit);
    return true;
}

bool VstXSynth::getVendorString(char* text) {
    copyText(text, kVendorName, kVendorNameLimit);
    return true;
}

bool VstXSynth::getProductString(char* text) {
    copyText(text, kProductName, kVendorNameLimit);
    return true;
}

std::int32_t VstXSynth::getVendorVersion() {
    return kVendorVersion;
}

std::int32_t VstXSynth::canDo(const char* text) {
    for (const char* supported : {"receiveVstEvents", "receiveVstMidiEvent", "midiProgramNames"}) {
        if (std::strcmp(text, supported) == 0) {
            return 1;
        }
    }
    return -1;
}

void VstXSynth::fillMidiProgramName(std::int32_t channel, MidiProgramName* name) const {
    const int program = name->thisProgramIndex;
    name->midiBankMsb = -1;
    name->midiBankLsb = -1;
    name->reserved = 0;
    name->flags = 0;
    if (channel == kDrumChannel) {
        copyText(name->name, "Standard", kMidiNameLimit);
        name->midiProgram = 0;
        name->parentCategoryIndex = 0;
        return;
    }
    copyText(name->name, kGeneralMidiProgramNames[program], kMidiNameLimit);
    name->midiProgram = static_cast<char>(program);
    name->parentCategoryIndex = generalMidiCategoryOf(program);
}

std::int32_t VstXSynth::getMidiProgramName(std::int32_t channel, MidiProgramName* name) {
    if (name->thisProgramIndex < 0 || name->thisProgramIndex >= kNumGeneralMidiPrograms) {
        return 0;
    }
    fillMidiProgramName(channel, name);
    return channel == kDrumChannel ? 1 : kNumGeneralMidiPrograms;
}

std::int32_t VstXSynth::getCurrentMidiProgram(std::int32_t channel, MidiProgramName* name) {
    if (channel < 0 || channel >= kNumMidiChannels) {
        return -1;
    }
    name->thisProgramIndex = channelPrograms[channel];
    fillMidiProgramName(channel, name);
    return channelPrograms[channel];
}

std::int32_t VstXSynth::getMidiProgramCategory(std::int32_t channel,
                                               MidiProgramCategory* category) {
    category->parentCategoryIndex = -1;
    category->flags = 0;
    if (channel == kDrumChannel) {
        copyText(category->name, "Drums", kMidiNameLimit);
        return 1;
    }
    const int index = category->thisCategoryIndex;
    const bool known = index >= 0 && index < kNumGeneralMidiCategories;
    copyText(category->name, known ? kGeneralMidiCategories[index].name : "", kMidiNameLimit);
    return kNumGeneralMidiCategories;
}

bool VstXSynth::getMidiKeyName(std::int32_t, MidiKeyName* key) {
    key->keyName[0] = '\0';
    key->reserved = 0;
    key->flags = 0;
    return false;
}

} // namespace Korvatune
