#pragma once

#include "gui/ImageLibrary.h"
#include "gui/Scale.h"

#include <map>
#include <memory>
#include <mutex>

namespace Korvatune {

// The editor's artwork at one scale, each image drawn when first asked for and each knob frame
// when first shown, so that a page never opened costs nothing. Knobs of one look share their
// frames. Editors of several instances may ask on their own threads.
class DrawnImageLibrary final : public Gui::ImageLibrary {
public:
    explicit DrawnImageLibrary(Gui::Scale scale);

    std::shared_ptr<const Gui::Bitmap> image(int id) const override;
    std::shared_ptr<const Gui::FilmStrip> filmStrip(int id) const override;

private:
    Gui::Scale scale_;
    mutable std::mutex mutex_;
    mutable std::map<int, std::shared_ptr<const Gui::Bitmap>> images_;
    std::map<int, std::shared_ptr<const Gui::FilmStrip>> strips_;
};

} // namespace Korvatune
