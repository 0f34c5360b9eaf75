#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace Korvatune::Clap {

// One step of a parameter gesture the user made in the editor, on its way to the host.
struct ParameterEdit {
    enum class Kind : std::uint8_t { Begin, Value, End };
    Kind kind = Kind::Value;
    int index = 0;
    float value = 0.0f;
};

// Edits from the editor's thread to whichever thread next talks to the host about parameters:
// the audio thread in a block, or the main thread in a flush, which the host never runs at
// once. Lock-free, one producer and one consumer; a full queue drops the edit.
class EditQueue {
public:
    static constexpr std::size_t kCapacity = 1024;

    bool push(const ParameterEdit& edit) {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == kCapacity) {
            return false;
        }
        slots_[tail % kCapacity] = edit;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    std::optional<ParameterEdit> pop() {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) {
            return std::nullopt;
        }
        const ParameterEdit edit = slots_[head % kCapacity];
        head_.store(head + 1, std::memory_order_release);
        return edit;
    }

private:
    std::array<ParameterEdit, kCapacity> slots_{};
    // Counters that only grow; their difference is the number of edits waiting.
    std::atomic<std::size_t> head_{0};
    std::atomic<std::size_t> tail_{0};
};

} // namespace Korvatune::Clap
