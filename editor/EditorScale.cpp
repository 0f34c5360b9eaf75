#include "editor/EditorScale.h"

#include "editor/EditorSettings.h"
#include "platform/CNumbers.h"
#include "platform/TextPaths.h"

namespace Korvatune {

namespace {

// "150" or "150%"; anything that is not a positive number is ignored.
std::optional<Gui::Scale> scaleFromEnvironment() {
    const std::optional<std::string> text = Platform::environmentVariable("OMBRAFELL_SCALE");
    const double percent = text ? Platform::parseCNumberPrefix(text->c_str()) : 0.0;
    return percent > 0.0 ? std::optional(Gui::nearestOfferedScale(percent)) : std::nullopt;
}

} // namespace

Gui::Scale preferredEditorScale(std::optional<double> displayPercent) {
    if (const std::optional<Gui::Scale> forced = scaleFromEnvironment()) {
        return *forced;
    }
    if (const std::optional<Gui::Scale> chosen = readChosenEditorScale()) {
        return *chosen;
    }
    return Gui::nearestOfferedScale(displayPercent.value_or(100.0));
}

} // namespace Korvatune
