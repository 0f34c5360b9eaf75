#pragma once

#include "gui/Bitmap.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace Korvatune::Gui {

// Images larger than this many pixels are refused rather than allocated.
inline constexpr std::uint64_t kMaxPngPixels = 64ull * 1024 * 1024;

// Decodes PNG data of any colour type into RGBA; nothing for damaged (a chunk's checksum does
// not match), truncated or oversized data.
std::optional<Bitmap> decodePng(std::span<const std::uint8_t> data);

// Empty when the bitmap is empty or encoding fails.
std::vector<std::uint8_t> encodePng(const Bitmap& bitmap);

bool writePngFile(const Bitmap& bitmap, const std::filesystem::path& path);

} // namespace Korvatune::Gui
