#pragma once

// What a test playing an LV2 host offers a plug-in: URIDs, a log that keeps its lines, and MIDI
// sequences for the plug-in's input.

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/log/log.h>
#include <lv2/midi/midi.h>
#include <lv2/urid/urid.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace Korvatune::testing {

// URIDs as a host hands them out: 1, 2, ... in the order asked.
class UridMap {
public:
    UridMap() {
        map_.handle = this;
        map_.map = [](LV2_URID_Map_Handle handle, const char* uri) {
            return static_cast<UridMap*>(handle)->id(uri);
        };
        unmap_.handle = this;
        unmap_.unmap = [](LV2_URID_Unmap_Handle handle, LV2_URID urid) {
            return static_cast<UridMap*>(handle)->uri(urid);
        };
    }
    UridMap(const UridMap&) = delete;
    UridMap& operator=(const UridMap&) = delete;

    LV2_URID id(const char* uri) {
        for (std::size_t i = 0; i < uris_.size(); ++i) {
            if (uris_[i] == uri) {
                return static_cast<LV2_URID>(i + 1);
            }
        }
        uris_.emplace_back(uri);
        return static_cast<LV2_URID>(uris_.size());
    }
    const char* uri(LV2_URID urid) const {
        return urid >= 1 && urid <= uris_.size() ? uris_[urid - 1].c_str() : nullptr;
    }

    LV2_URID_Map* map() { return &map_; }
    LV2_URID_Unmap* unmap() { return &unmap_; }
    LV2_Feature* mapFeature() { return &mapFeature_; }
    LV2_Feature* unmapFeature() { return &unmapFeature_; }

private:
    std::vector<std::string> uris_;
    LV2_URID_Map map_{};
    LV2_URID_Unmap unmap_{};
    LV2_Feature mapFeature_{LV2_URID__map, &map_};
    LV2_Feature unmapFeature_{LV2_URID__unmap, &unmap_};
};

// A host log that keeps every line.
class RecordingLog {
public:
    RecordingLog() {
        log_.handle = this;
        log_.printf = &RecordingLog::printf;
        log_.vprintf = [](LV2_Log_Handle handle, LV2_URID, const char* format, va_list arguments) {
            return static_cast<RecordingLog*>(handle)->keep(format, arguments);
        };
    }
    RecordingLog(const RecordingLog&) = delete;
    RecordingLog& operator=(const RecordingLog&) = delete;

    LV2_Feature* feature() { return &feature_; }
    std::vector<std::string> lines;

private:
    static int printf(LV2_Log_Handle handle, LV2_URID, const char* format, ...) {
        va_list arguments;
        va_start(arguments, format);
        const int written = static_cast<RecordingLog*>(handle)->keep(format, arguments);
        va_end(arguments);
        return written;
    }

    int keep(const char* format, va_list arguments) {
        char text[1024];
        const int written = std::vsnprintf(text, sizeof text, format, arguments);
        lines.emplace_back(text);
        return written;
    }

    LV2_Log_Log log_{};
    LV2_Feature feature_{LV2_LOG__log, &log_};
};

// An atom sequence for a MIDI input port, built event by event in frame order.
class MidiSequence {
public:
    MidiSequence(UridMap& urids, std::size_t capacity = 65536)
        : midiEvent_(urids.id(LV2_MIDI__MidiEvent)), words_(capacity / 8) {
        sequence()->atom.type = urids.id(LV2_ATOM__Sequence);
        clear();
    }

    void clear() {
        sequence()->atom.size = sizeof(LV2_Atom_Sequence_Body);
        sequence()->body.unit = 0;
        sequence()->body.pad = 0;
    }

    void add(std::int64_t frame, const std::vector<std::uint8_t>& bytes) {
        addAtom(frame, midiEvent_, bytes);
    }

    void addAtom(std::int64_t frame, LV2_URID type, const std::vector<std::uint8_t>& body) {
        auto* bytes = reinterpret_cast<std::uint8_t*>(words_.data());
        const std::size_t offset = sizeof(LV2_Atom) + sequence()->atom.size;
        auto* event = reinterpret_cast<LV2_Atom_Event*>(bytes + offset);
        event->time.frames = frame;
        event->body.type = type;
        event->body.size = static_cast<std::uint32_t>(body.size());
        std::memcpy(event + 1, body.data(), body.size());
        sequence()->atom.size += static_cast<std::uint32_t>(
            (sizeof(LV2_Atom_Event) + body.size() + 7) & ~std::size_t{7});
    }

    LV2_Atom_Sequence* sequence() { return reinterpret_cast<LV2_Atom_Sequence*>(words_.data()); }

private:
    LV2_URID midiEvent_;
    std::vector<std::uint64_t> words_;
};

} // namespace Korvatune::testing
