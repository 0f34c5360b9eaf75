#include "host/cli/NoteRenderer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Korvatune {

namespace {

constexpr std::uint8_t kNoteOn = 0x90;
constexpr std::uint8_t kNoteOff = 0x80;

VstMidiEvent midiEvent(std::uint8_t status, int note, int velocity, int deltaFrames) {
    VstMidiEvent event{};
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.deltaFrames = deltaFrames;
    event.midiData[0] = static_cast<char>(status);
    event.midiData[1] = static_cast<char>(note);
    event.midiData[2] = static_cast<char>(velocity);
    return event;
}

// Hands the host the events that fall into [blockStart, blockStart + frames).
void sendDueEvents(PluginHost& host, std::int64_t blockStart, int frames,
                   const NoteSettings& settings, std::int64_t releaseFrame) {
    VstMidiEvent events[2];
    int count = 0;
    if (blockStart == 0) {
        events[count++] = midiEvent(kNoteOn, settings.note, settings.velocity, 0);
    }
    if (releaseFrame >= blockStart && releaseFrame < blockStart + frames) {
        events[count++] =
            midiEvent(kNoteOff, settings.note, 0, static_cast<int>(releaseFrame - blockStart));
    }
    VstEvents list{};
    list.numEvents = count;
    list.events[0] = reinterpret_cast<VstEvent*>(&events[0]);
    list.events[1] = reinterpret_cast<VstEvent*>(&events[1]);
    host.sendEvents(list);
}

} // namespace

StereoBuffer renderNote(PluginHost& host, const NoteSettings& settings) {
    const auto totalFrames =
        static_cast<std::int64_t>(std::llround(settings.lengthSeconds * settings.sampleRate));
    const auto releaseFrame =
        static_cast<std::int64_t>(std::llround(settings.gateSeconds * settings.sampleRate));
    StereoBuffer buffer;
    buffer.left.resize(static_cast<std::size_t>(totalFrames));
    buffer.right.resize(static_cast<std::size_t>(totalFrames));
    for (std::int64_t start = 0; start < totalFrames; start += settings.blockSize) {
        const int frames =
            static_cast<int>(std::min<std::int64_t>(settings.blockSize, totalFrames - start));
        sendDueEvents(host, start, frames, settings, releaseFrame);
        host.process(buffer.left.data() + start, buffer.right.data() + start, frames);
    }
    return buffer;
}

double peakDecibels(const StereoBuffer& buffer) {
    float peak = 0.0f;
    for (const auto* channel : {&buffer.left, &buffer.right}) {
        for (float sample : *channel) {
            peak = std::max(peak, std::fabs(sample));
        }
    }
    return peak > 0.0f ? 20.0 * std::log10(peak) : -std::numeric_limits<double>::infinity();
}

} // namespace Korvatune
