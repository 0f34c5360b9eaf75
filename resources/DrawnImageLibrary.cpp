#include "resources/DrawnImageLibrary.h"

#include "resources/DrawnKnobStrip.h"
#include "resources/artwork/EditorImageSet.h"

#include <algorithm>
#include <vector>

namespace Korvatune {

DrawnImageLibrary::DrawnImageLibrary(Gui::Scale scale) : scale_(scale) {
    std::vector<std::shared_ptr<const DrawnKnobStrip>> looks;
    for (const int id : Artwork::knobStripIds()) {
        const Artwork::KnobStyle style = *Artwork::knobStripStyle(id);
        auto same = std::find_if(looks.begin(), looks.end(),
                                 [&](const auto& strip) { return strip->style() == style; });
        if (same == looks.end()) {
            same = looks.insert(looks.end(), std::make_shared<DrawnKnobStrip>(style, scale));
        }
        strips_[id] = *same;
    }
}

std::shared_ptr<const Gui::Bitmap> DrawnImageLibrary::image(int id) const {
    const std::lock_guard lock(mutex_);
    std::shared_ptr<const Gui::Bitmap>& image = images_[id];
    if (!image) {
        image = std::make_shared<const Gui::Bitmap>(Artwork::drawStillImage(id, scale_));
    }
    return image;
}

std::shared_ptr<const Gui::FilmStrip> DrawnImageLibrary::filmStrip(int id) const {
    const auto found = strips_.find(id);
    return found != strips_.end() ? found->second
                                  : std::make_shared<const Gui::BitmapFilmStrip>(nullptr);
}

} // namespace Korvatune
