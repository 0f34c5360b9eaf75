#include "resources/EditorImages.h"

#include "resources/DrawnImageLibrary.h"

#include <map>
#include <mutex>

namespace Korvatune {

namespace {

struct SharedSets {
    std::mutex mutex;
    std::map<int, std::weak_ptr<const Gui::ImageLibrary>> byPercent;
};

SharedSets& sharedSets() {
    static SharedSets sets;
    return sets;
}

} // namespace

std::shared_ptr<const Gui::ImageLibrary> editorImagesAt(Gui::Scale scale) {
    SharedSets& sets = sharedSets();
    const std::lock_guard lock(sets.mutex);
    std::weak_ptr<const Gui::ImageLibrary>& entry = sets.byPercent[scale.percent()];
    std::shared_ptr<const Gui::ImageLibrary> images = entry.lock();
    if (!images) {
        images = std::make_shared<const DrawnImageLibrary>(scale);
        entry = images;
    }
    return images;
}

int editorImageSetsInMemory() {
    SharedSets& sets = sharedSets();
    const std::lock_guard lock(sets.mutex);
    int count = 0;
    for (const auto& [percent, images] : sets.byPercent) {
        count += images.expired() ? 0 : 1;
    }
    return count;
}

} // namespace Korvatune
