#pragma once

#include "plugin/clap/ClapAbi.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace Korvatune::Clap {

// The host's streams, whose reads and writes may each move only part of what was asked.

bool writeAll(const OutputStream& stream, std::span<const std::uint8_t> bytes);

struct StreamContents {
    enum class Outcome { Complete, TooLarge, Failed };
    Outcome outcome = Outcome::Failed;
    std::vector<std::uint8_t> bytes;
};

// Reads to the end of the stream, but never more than the limit.
StreamContents readAll(const InputStream& stream, std::size_t limit);

} // namespace Korvatune::Clap
