#pragma once

#include <lv2/atom/atom.h>

#include <cstdint>

namespace Korvatune::Lv2 {

// Calls visit(event) for each event of a sequence, in order. A host's sizes are not trusted:
// iteration ends at the first event whose body would reach past the end of the sequence.
template <class Visit> void forEachEvent(const LV2_Atom_Sequence& sequence, Visit&& visit) {
    const auto* body = reinterpret_cast<const std::uint8_t*>(&sequence.body);
    const std::uint64_t size = sequence.atom.size;
    std::uint64_t offset = sizeof(LV2_Atom_Sequence_Body);
    while (offset + sizeof(LV2_Atom_Event) <= size) {
        const auto* event = reinterpret_cast<const LV2_Atom_Event*>(body + offset);
        const std::uint64_t eventSize = sizeof(LV2_Atom_Event) + std::uint64_t{event->body.size};
        if (offset + eventSize > size) {
            return;
        }
        visit(*event);
        offset += (eventSize + 7) & ~std::uint64_t{7};
    }
}

} // namespace Korvatune::Lv2
