#include "plugin/vst3/StreamBytes.h"

#include <algorithm>
#include <array>

namespace Korvatune::Vst3 {

// Hosts' streams may hand over less than asked at a time; a read of nothing is the end.
std::optional<std::vector<std::uint8_t>> readWholeStream(IBStream& stream) {
    std::vector<std::uint8_t> bytes;
    std::array<std::uint8_t, 16384> chunk{};
    for (;;) {
        std::int32_t read = 0;
        const tresult result =
            stream.read(chunk.data(), static_cast<std::int32_t>(chunk.size()), &read);
        if (read < 0 || read > static_cast<std::int32_t>(chunk.size())) {
            return std::nullopt;
        }
        if (read > 0 && bytes.size() + static_cast<std::size_t>(read) > kMaxStateBytes) {
            return std::nullopt;
        }
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + read);
        if (result != kResultOk || read == 0) {
            return bytes;
        }
    }
}

bool writeWholeStream(IBStream& stream, std::span<const std::uint8_t> bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const auto wanted = static_cast<std::int32_t>(
            std::min<std::size_t>(bytes.size() - written, static_cast<std::size_t>(1) << 30));
        std::int32_t done = 0;
        // The interface takes a pointer to writable bytes but only reads them.
        auto* data = const_cast<std::uint8_t*>(bytes.data() + written);
        if (stream.write(data, wanted, &done) != kResultOk || done <= 0 || done > wanted) {
            return false;
        }
        written += static_cast<std::size_t>(done);
    }
    return true;
}

} // namespace Korvatune::Vst3
