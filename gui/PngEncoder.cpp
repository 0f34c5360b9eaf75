#include "gui/PngCodec.h"

#include <png.h>

#include <fstream>

namespace Korvatune::Gui {

static_assert(sizeof(Color) == 4, "bitmaps hand their pixels to libpng as packed RGBA");

std::vector<std::uint8_t> encodePng(const Bitmap& bitmap) {
    if (bitmap.isEmpty()) {
        return {};
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(bitmap.width());
    image.height = static_cast<png_uint_32>(bitmap.height());
    image.format = PNG_FORMAT_RGBA;

    png_alloc_size_t size = 0;
    if (png_image_write_get_memory_size(image, size, 0, bitmap.data(), 0, nullptr) == 0) {
        return {};
    }
    std::vector<std::uint8_t> encoded(size);
    if (png_image_write_to_memory(&image, encoded.data(), &size, 0, bitmap.data(), 0, nullptr) ==
        0) {
        return {};
    }
    encoded.resize(size);
    return encoded;
}

bool writePngFile(const Bitmap& bitmap, const std::filesystem::path& path) {
    const std::vector<std::uint8_t> encoded = encodePng(bitmap);
    if (encoded.empty()) {
        return false;
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(encoded.data()),
               static_cast<std::streamsize>(encoded.size()));
    file.close();
    return static_cast<bool>(file);
}

} // namespace Korvatune::Gui
