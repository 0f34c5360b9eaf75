#pragma once

#include "plugin/Instrument.h"
#include "plugin/lv2/Lv2Log.h"
#include "plugin/lv2/MidiMessage.h"
#include "plugin/lv2/Urids.h"

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

namespace Korvatune::Lv2 {

// The instrument as an LV2 plug-in: a thin layer over the instrument's face. Port values reach it
// as parameter changes, the MIDI sequence as events on their frames, and its state holds what the
// ports do not: the program's name and the user waveforms.
class Lv2Instrument {
public:
    // Null when the rate is unusable or the host offers no URID map.
    static std::unique_ptr<Lv2Instrument> create(double sampleRate, const char* bundlePath,
                                                 const LV2_Feature* const* features);
    ~Lv2Instrument();
    Lv2Instrument(const Lv2Instrument&) = delete;
    Lv2Instrument& operator=(const Lv2Instrument&) = delete;

    void connectPort(std::uint32_t port, void* data);
    void activate();
    void deactivate();
    // Never allocates, locks or waits.
    void run(std::uint32_t frames);

    LV2_State_Status save(LV2_State_Store_Function store, LV2_State_Handle handle);
    // May run while a block renders: tables reach the instrument between blocks.
    LV2_State_Status restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

    Instrument& instrument() { return *instrument_; }
    // Whether a parameter port's value differs from the one the instrument last took from it;
    // safe from any thread.
    bool isNewPortValue(int index, float value) const;

private:
    Lv2Instrument(std::unique_ptr<Instrument> instrument, const Urids& urids, const Lv2Log& log);

    void applyPortChanges();
    // The part of a block not yet rendered, and the events waiting in the instrument's queue.
    struct Span {
        std::uint32_t start = 0;
        int queued = 0;
        std::uint32_t lastFrame = 0;
        int queuedAtLastFrame = 0;
    };

    void playEvents(std::uint32_t frames);
    void writeNotifications();
    std::optional<MidiMessage> midiMessageIn(const LV2_Atom_Event& event) const;
    void play(const MidiMessage& message, std::uint32_t frame, Span& span);
    void renderUpTo(std::uint32_t frame, Span& span);
    void sendEvent(const MidiMessage& message, std::int32_t deltaFrames);
    void render(std::uint32_t start, std::uint32_t end);

    std::unique_ptr<Instrument> instrument_;
    Urids urids_;
    Lv2Log log_;
    std::array<const float*, Instrument::kParameterCount> controls_{};
    std::array<std::atomic<float>, Instrument::kParameterCount> appliedValues_;
    const LV2_Atom_Sequence* midiIn_ = nullptr;
    LV2_Atom_Sequence* notify_ = nullptr;
    float* left_ = nullptr;
    float* right_ = nullptr;
};

} // namespace Korvatune::Lv2
