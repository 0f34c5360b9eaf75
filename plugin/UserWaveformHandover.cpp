#include "plugin/UserWaveformHandover.h"

#include <algorithm>
#include <thread>

namespace Korvatune {

// Tables published but not yet delivered stay waiting, so two offers between blocks both arrive.
UserWaveformHandover::Offer::Offer(UserWaveformHandover& handover) : handover_(handover) {
    int phase = handover_.phase_.load(std::memory_order_acquire);
    for (;;) {
        if (phase == kDelivering) {
            std::this_thread::yield();
            phase = handover_.phase_.load(std::memory_order_acquire);
        } else if (handover_.phase_.compare_exchange_weak(phase, kWriting,
                                                          std::memory_order_acquire)) {
            break;
        }
    }
    if (phase == kEmpty) {
        handover_.waiting_.fill(false);
    }
}

UserWaveformHandover::Offer::~Offer() {
    handover_.phase_.store(kPublished, std::memory_order_release);
}

void UserWaveformHandover::Offer::put(int slot, const WaveformTable& table) {
    if (slot < 0 || slot >= kSlots) {
        return;
    }
    handover_.tables_[static_cast<std::size_t>(slot)] = table;
    handover_.waiting_[static_cast<std::size_t>(slot)] = true;
}

bool UserWaveformHandover::deliverTo(WaveformProvider& provider) {
    int expected = kPublished;
    if (phase_.load(std::memory_order_relaxed) != kPublished ||
        !phase_.compare_exchange_strong(expected, kDelivering, std::memory_order_acquire)) {
        return false;
    }
    for (int slot = 0; slot < kSlots; ++slot) {
        if (waiting_[static_cast<std::size_t>(slot)]) {
            provider.replaceUserTable(slot, tables_[static_cast<std::size_t>(slot)].data());
        }
    }
    provider.markTablesChanged();
    phase_.store(kEmpty, std::memory_order_release);
    return true;
}

// Delivery only reads the waiting tables and writes the slots they are for; both stay as they
// are until the next writer, which never overlaps with this reader.
const float* UserWaveformHandover::pendingTable(int slot) const {
    const int phase = phase_.load(std::memory_order_acquire);
    if (slot < 0 || slot >= kSlots || (phase != kPublished && phase != kDelivering) ||
        !waiting_[static_cast<std::size_t>(slot)]) {
        return nullptr;
    }
    return tables_[static_cast<std::size_t>(slot)].data();
}

} // namespace Korvatune
