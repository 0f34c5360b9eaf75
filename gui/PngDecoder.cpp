#include "gui/PngCodec.h"

#include <cstring>
#include <memory>

// One decoder on every platform, so the artwork shows the same pixels everywhere: stb_image is a
// single header (Debian's libstb-dev) that builds alike for Linux and for Windows.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_FAILURE_USERMSG
#include <stb_image.h>

namespace Korvatune::Gui {

static_assert(sizeof(Color) == 4, "decoded pixels are copied into bitmaps as packed RGBA");

namespace {

constexpr int kRgba = 4;

struct StbFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

bool isPng(std::span<const std::uint8_t> data) {
    static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a};
    return data.size() > sizeof kSignature &&
           std::memcmp(data.data(), kSignature, sizeof kSignature) == 0;
}

std::uint32_t bigEndian32(const std::uint8_t* bytes) {
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

std::uint32_t crc32(const std::uint8_t* bytes, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

// stb_image does not look at the checksums, so damaged data is refused here: every chunk up to
// IEND must be whole and carry its right CRC.
bool hasIntactChunks(std::span<const std::uint8_t> data) {
    constexpr std::size_t kSignatureSize = 8;
    constexpr std::size_t kFraming = 12; // length, type and CRC
    std::size_t offset = kSignatureSize;
    while (data.size() - offset >= kFraming) {
        const std::uint8_t* chunk = data.data() + offset;
        const std::size_t length = bigEndian32(chunk);
        if (length > data.size() - offset - kFraming) {
            return false;
        }
        if (crc32(chunk + 4, length + 4) != bigEndian32(chunk + 8 + length)) {
            return false;
        }
        if (std::memcmp(chunk + 4, "IEND", 4) == 0) {
            return true;
        }
        offset += kFraming + length;
    }
    return false;
}

bool hasAcceptableSize(int width, int height) {
    const std::uint64_t pixels =
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    return width > 0 && height > 0 && pixels <= kMaxPngPixels;
}

} // namespace

std::optional<Bitmap> decodePng(std::span<const std::uint8_t> data) {
    if (!isPng(data) || data.size() > static_cast<std::size_t>(INT32_MAX) ||
        !hasIntactChunks(data)) {
        return std::nullopt;
    }
    const auto* bytes = data.data();
    const int length = static_cast<int>(data.size());
    int width = 0;
    int height = 0;
    int channels = 0;
    // The header is checked first so that an absurd size is refused before anything is allocated.
    if (stbi_info_from_memory(bytes, length, &width, &height, &channels) == 0 ||
        !hasAcceptableSize(width, height)) {
        return std::nullopt;
    }
    const std::unique_ptr<stbi_uc, StbFree> pixels(
        stbi_load_from_memory(bytes, length, &width, &height, &channels, kRgba));
    if (!pixels || !hasAcceptableSize(width, height)) {
        return std::nullopt;
    }
    Bitmap bitmap(width, height);
    std::memcpy(bitmap.data(), pixels.get(),
                static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * kRgba);
    return bitmap;
}

} // namespace Korvatune::Gui
