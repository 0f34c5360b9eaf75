#include "plugin/clap/StateStream.h"

#include <algorithm>

namespace Korvatune::Clap {

namespace {

constexpr std::size_t kChunkSize = 64 * 1024;

} // namespace

bool writeAll(const OutputStream& stream, std::span<const std::uint8_t> bytes) {
    if (stream.write == nullptr) {
        return false;
    }
    while (!bytes.empty()) {
        const std::int64_t written = stream.write(&stream, bytes.data(), bytes.size());
        if (written <= 0 || static_cast<std::uint64_t>(written) > bytes.size()) {
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

// One byte beyond the limit is enough to tell a stream that is too long.
StreamContents readAll(const InputStream& stream, std::size_t limit) {
    StreamContents contents;
    if (stream.read == nullptr) {
        return contents;
    }
    std::vector<std::uint8_t>& bytes = contents.bytes;
    for (;;) {
        const std::size_t have = bytes.size();
        const std::size_t wanted = std::min(kChunkSize, limit + 1 - have);
        bytes.resize(have + wanted);
        const std::int64_t read = stream.read(&stream, bytes.data() + have, wanted);
        if (read < 0 || static_cast<std::uint64_t>(read) > wanted) {
            bytes.clear();
            return contents;
        }
        bytes.resize(have + static_cast<std::size_t>(read));
        if (bytes.size() > limit) {
            bytes.clear();
            contents.outcome = StreamContents::Outcome::TooLarge;
            return contents;
        }
        if (read == 0) {
            contents.outcome = StreamContents::Outcome::Complete;
            return contents;
        }
    }
}

} // namespace Korvatune::Clap
