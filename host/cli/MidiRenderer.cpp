#include "host/cli/MidiRenderer.h"

#include "host/cli/TempoMap.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace Korvatune {

namespace {

constexpr std::uint8_t kNoteOn = 0x90;
constexpr std::uint8_t kProgramChange = 0xC0;

struct ScheduledMessage {
    std::int64_t frame;
    MidiMessage message;

    bool isProgramChange() const { return message.kind() == kProgramChange; }
};

std::int64_t frameAt(const TempoMap& tempo, std::int64_t tick, int sampleRate) {
    return std::llround(tempo.secondsAt(tick) * sampleRate);
}

std::vector<ScheduledMessage> schedule(const MidiSong& song, const MidiRenderSettings& settings,
                                       int programs) {
    const TempoMap tempo(song);
    std::vector<ScheduledMessage> scheduled;
    scheduled.reserve(song.messages.size());
    for (const MidiMessage& message : song.messages) {
        if (message.kind() == kProgramChange &&
            (!settings.followProgramChanges || message.bytes[1] >= programs)) {
            continue;
        }
        scheduled.push_back({frameAt(tempo, message.tick, settings.sampleRate), message});
    }
    return scheduled;
}

// One event list per span, laid out as the binary interface expects: a header followed by as
// many pointers as there are events.
class EventList {
public:
    void add(const MidiMessage& message, std::int64_t deltaFrames) {
        VstMidiEvent event{};
        event.type = kVstMidiType;
        event.byteSize = sizeof(VstMidiEvent);
        event.deltaFrames = static_cast<std::int32_t>(deltaFrames);
        for (int i = 0; i < message.size; ++i) {
            event.midiData[i] = static_cast<char>(message.bytes[static_cast<std::size_t>(i)]);
        }
        events.push_back(event);
    }

    void sendTo(PluginHost& host) {
        const std::size_t slots = std::max<std::size_t>(events.size(), 2);
        storage.assign(offsetof(VstEvents, events) + slots * sizeof(VstEvent*), std::byte{0});
        auto* list = reinterpret_cast<VstEvents*>(storage.data());
        list->numEvents = static_cast<std::int32_t>(events.size());
        auto* pointers = reinterpret_cast<VstEvent**>(storage.data() + offsetof(VstEvents, events));
        for (std::size_t i = 0; i < events.size(); ++i) {
            pointers[i] = reinterpret_cast<VstEvent*>(&events[i]);
        }
        host.sendEvents(*list);
        events.clear();
    }

private:
    std::vector<VstMidiEvent> events;
    std::vector<std::byte> storage;
};

class MidiPlayer {
public:
    MidiPlayer(PluginHost& host, std::vector<ScheduledMessage> messages)
        : host(host), messages(std::move(messages)) {}

    std::int64_t lastFrame() const { return messages.empty() ? 0 : messages.back().frame; }

    // Renders frames [start, end) into the buffer, which already holds them.
    void play(StereoBuffer& buffer, std::int64_t start, std::int64_t end) {
        for (std::int64_t position = start; position < end;) {
            const std::int64_t spanEnd = queueSpan(position, end);
            events.sendTo(host);
            host.process(buffer.left.data() + position, buffer.right.data() + position,
                         static_cast<int>(spanEnd - position));
            position = spanEnd;
        }
    }

private:
    // Queues the messages due from position on and returns where the span ends: at the end, or
    // at a program change that must wait for its frame.
    std::int64_t queueSpan(std::int64_t position, std::int64_t end) {
        for (; next < messages.size() && messages[next].frame < end; ++next) {
            const ScheduledMessage& due = messages[next];
            if (!due.isProgramChange()) {
                events.add(due.message, due.frame - position);
            } else if (due.frame > position) {
                return due.frame;
            } else {
                host.selectProgram(due.message.bytes[1]);
            }
        }
        return end;
    }

    PluginHost& host;
    std::vector<ScheduledMessage> messages;
    std::size_t next = 0;
    EventList events;
};

// Counts the quiet frames in a row after the last event; the render may stop once there are
// enough. Quiet before the last event does not count: that event may start a note.
class SilenceWatch {
public:
    SilenceWatch(int sampleRate, std::int64_t lastEventFrame)
        : needed(std::llround(kSilenceSeconds * sampleRate)), lastEventFrame(lastEventFrame),
          threshold(static_cast<float>(std::pow(10.0, kSilenceDecibels / 20.0))) {}

    // The length at which the render may end, if it is reached within [start, end).
    std::optional<std::int64_t> endWithin(const StereoBuffer& buffer, std::int64_t start,
                                          std::int64_t end) {
        for (std::int64_t frame = start; frame < end; ++frame) {
            const auto i = static_cast<std::size_t>(frame);
            const bool quiet = frame > lastEventFrame && std::fabs(buffer.left[i]) < threshold &&
                               std::fabs(buffer.right[i]) < threshold;
            quietFrames = quiet ? quietFrames + 1 : 0;
            if (quietFrames >= needed) {
                return frame + 1;
            }
        }
        return std::nullopt;
    }

private:
    std::int64_t needed;
    std::int64_t lastEventFrame;
    float threshold;
    std::int64_t quietFrames = 0;
};

void resize(StereoBuffer& buffer, std::int64_t frames) {
    buffer.left.resize(static_cast<std::size_t>(frames));
    buffer.right.resize(static_cast<std::size_t>(frames));
}

} // namespace

StereoBuffer renderMidi(PluginHost& host, const MidiSong& song, const MidiRenderSettings& settings,
                        const RenderProgress& progress) {
    MidiPlayer player(host, schedule(song, settings, host.numPrograms()));
    const std::int64_t lastFrame = player.lastFrame();
    const double rate = settings.sampleRate;
    const std::int64_t longest =
        lastFrame + std::max<std::int64_t>(
                        1, std::llround(settings.tailSeconds.value_or(kLongestTailSeconds) * rate));
    SilenceWatch silence(settings.sampleRate, lastFrame);
    StereoBuffer buffer;
    for (std::int64_t start = 0; start < longest; start += settings.blockSize) {
        const std::int64_t end = std::min<std::int64_t>(start + settings.blockSize, longest);
        resize(buffer, end);
        player.play(buffer, start, end);
        if (!settings.tailSeconds) {
            if (const auto length = silence.endWithin(buffer, start, end)) {
                resize(buffer, *length);
                break;
            }
        }
        if (progress) {
            const std::int64_t expected = settings.tailSeconds ? longest : std::max(lastFrame, end);
            progress(static_cast<double>(end) / rate, static_cast<double>(expected) / rate);
        }
    }
    return buffer;
}

std::optional<int> openingProgram(const MidiSong& song) {
    for (const MidiMessage& message : song.messages) {
        if (message.kind() == kProgramChange) {
            return message.bytes[1];
        }
        if (message.kind() == kNoteOn) {
            break;
        }
    }
    return std::nullopt;
}

double lastMessageSeconds(const MidiSong& song) {
    return song.messages.empty() ? 0.0 : TempoMap(song).secondsAt(song.messages.back().tick);
}

} // namespace Korvatune
