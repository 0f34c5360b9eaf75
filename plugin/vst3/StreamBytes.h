#pragma once

#include "plugin/vst3/Vst3Base.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace Korvatune::Vst3 {

// A state larger than this is no state of the instrument's, whose record is far smaller.
inline constexpr std::size_t kMaxStateBytes = 1 << 20;

// Everything the stream holds from where it stands, or nothing when it fails or holds more than
// kMaxStateBytes.
std::optional<std::vector<std::uint8_t>> readWholeStream(IBStream& stream);

bool writeWholeStream(IBStream& stream, std::span<const std::uint8_t> bytes);

} // namespace Korvatune::Vst3
