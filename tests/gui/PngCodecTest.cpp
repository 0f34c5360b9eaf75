#include "gui/PngCodec.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace Korvatune::Gui {
namespace {

Bitmap makeGradient(int width, int height) {
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.setPixel(x, y,
                            {static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 11),
                             static_cast<std::uint8_t>(x + y), static_cast<std::uint8_t>(x * 9)});
        }
    }
    return bitmap;
}

void expectSamePixels(const Bitmap& a, const Bitmap& b) {
    ASSERT_EQ(a.width(), b.width());
    ASSERT_EQ(a.height(), b.height());
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            ASSERT_EQ(a.pixel(x, y), b.pixel(x, y)) << "at " << x << ", " << y;
        }
    }
}

TEST(PngCodec, EncodedBitmapDecodesToTheSamePixelsIncludingAlpha) {
    const Bitmap original = makeGradient(23, 17);
    const std::vector<std::uint8_t> encoded = encodePng(original);
    ASSERT_GT(encoded.size(), 8u);
    EXPECT_EQ(encoded[1], 'P');
    const std::optional<Bitmap> decoded = decodePng(encoded);
    ASSERT_TRUE(decoded.has_value());
    expectSamePixels(original, *decoded);
}

TEST(PngCodec, WrittenFileReadsBack) {
    const Bitmap original = makeGradient(5, 4);
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "ombrafell_gui_png_test.png";
    ASSERT_TRUE(writePngFile(original, path));
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    std::filesystem::remove(path);
    const std::optional<Bitmap> decoded = decodePng(bytes);
    ASSERT_TRUE(decoded.has_value());
    expectSamePixels(original, *decoded);
}

TEST(PngCodec, RefusesDataThatIsNotAWholePng) {
    EXPECT_FALSE(decodePng({}).has_value());
    const std::vector<std::uint8_t> garbage(64, 0x5a);
    EXPECT_FALSE(decodePng(garbage).has_value());
    std::vector<std::uint8_t> truncated = encodePng(makeGradient(40, 40));
    truncated.resize(truncated.size() / 2);
    EXPECT_FALSE(decodePng(truncated).has_value());
}

TEST(PngCodec, RefusesDataDamagedInside) {
    const std::vector<std::uint8_t> intact = encodePng(makeGradient(40, 40));
    ASSERT_TRUE(decodePng(intact).has_value());
    // A flipped bit in the middle of the image data, in the header's width, and in the image
    // data's own checksum just before the last chunk's framing (IDAT CRC, then 12 bytes of IEND).
    for (const std::size_t position : {intact.size() / 2, std::size_t{19}, intact.size() - 17}) {
        std::vector<std::uint8_t> damaged = intact;
        damaged[position] ^= 0x10;
        EXPECT_FALSE(decodePng(damaged).has_value()) << "byte " << position;
    }
}

TEST(PngCodec, EncodingAnEmptyBitmapOrToABadPathFails) {
    EXPECT_TRUE(encodePng(Bitmap{}).empty());
    EXPECT_FALSE(writePngFile(Bitmap{}, "/tmp/never-written.png"));
    EXPECT_FALSE(writePngFile(makeGradient(2, 2), "/nonexistent-folder/x.png"));
}

} // namespace
} // namespace Korvatune::Gui
