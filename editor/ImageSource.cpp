#include "editor/ImageSource.h"

#include "gui/PngCodec.h"
#include "resources/EditorImages.h"

#include <cstdint>
#include <optional>

namespace Korvatune {

std::shared_ptr<const Gui::Bitmap> loadEmbeddedImage(int id) {
    const std::span<const unsigned char> png = editorImagePng(id);
    std::optional<Gui::Bitmap> decoded =
        Gui::decodePng({reinterpret_cast<const std::uint8_t*>(png.data()), png.size()});
    return std::make_shared<const Gui::Bitmap>(decoded ? std::move(*decoded) : Gui::Bitmap{});
}

std::shared_ptr<const Gui::Bitmap> ImageCache::get(int id) {
    auto found = images_.find(id);
    if (found == images_.end()) {
        std::shared_ptr<const Gui::Bitmap> image = source_ ? source_(id) : nullptr;
        if (!image) {
            image = std::make_shared<const Gui::Bitmap>();
        }
        found = images_.emplace(id, std::move(image)).first;
    }
    return found->second;
}

} // namespace Korvatune
