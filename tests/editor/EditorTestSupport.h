#pragma once

#include "editor/DrawTestEditor.h"
#include "gui/Frame.h"
#include "plugin/VstXSynth.h"
#include "support/SynthDriver.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace Korvatune::testing {

// Every image a solid colour that names its id (red = high byte, green = low byte), so a drawn
// pixel tells which image a view uses. The slider handle keeps its real size, which places it.
class IdColouredImages : public Gui::ImageLibrary {
public:
    explicit IdColouredImages(Gui::Scale scale = {}) : scale_(scale) {}

    std::shared_ptr<const Gui::Bitmap> image(int id) const override {
        std::shared_ptr<const Gui::Bitmap>& image = images_[id];
        if (!image) {
            const Gui::Color colour{static_cast<std::uint8_t>(id >> 8),
                                    static_cast<std::uint8_t>(id & 255), 77, 255};
            const bool handle = id == 2009;
            image = std::make_shared<const Gui::Bitmap>(scale_.pixels(handle ? 9 : 800),
                                                        scale_.pixels(handle ? 16 : 400), colour);
        }
        return image;
    }
    std::shared_ptr<const Gui::FilmStrip> filmStrip(int id) const override {
        return std::make_shared<const Gui::BitmapFilmStrip>(image(id));
    }

private:
    Gui::Scale scale_;
    mutable std::map<int, std::shared_ptr<const Gui::Bitmap>> images_;
};

inline int imageIdOf(Gui::Color pixel) {
    return pixel.blue == 77 ? pixel.red * 256 + pixel.green : -1;
}

inline VstXSynth& synthOf(AEffect* effect) {
    return *dynamic_cast<VstXSynth*>(AudioEffect::fromAeffect(effect));
}

inline DrawTestEditor& editorOf(AEffect* effect) {
    return *drawTestEditorOf(synthOf(effect));
}

// The Synth page lies at (40, 39) in a page that starts at the tab view's corner (9, 9).
inline constexpr Gui::Point kPageOrigin{49, 48};

// Presses and releases the left button at a point of the Synth page.
inline void clickOnPage(Gui::Frame& frame, Gui::Point onPage) {
    const Gui::Point where = onPage + kPageOrigin;
    frame.handleMouseDown({where, Gui::MouseButton::Left});
    frame.handleMouseUp({where, Gui::MouseButton::Left});
}

// Records each request and answers it at once with a fixed choice.
class FakeFileSelector : public Gui::IFileSelector {
public:
    explicit FakeFileSelector(std::optional<std::filesystem::path> choice,
                              std::vector<Gui::FileSelectRequest>& requests)
        : choice_(std::move(choice)), requests_(requests) {}

    void select(const Gui::FileSelectRequest& request, Gui::FileSelectAnswer answer) override {
        requests_.push_back(request);
        answer(choice_);
    }

private:
    std::optional<std::filesystem::path> choice_;
    std::vector<Gui::FileSelectRequest>& requests_;
};

} // namespace Korvatune::testing
