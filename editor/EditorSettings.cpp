#include "editor/EditorSettings.h"

#include "platform/AtomicFile.h"
#include "platform/TextPaths.h"
#include "platform/UserSettingsFolder.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

namespace Korvatune {

namespace {

constexpr std::string_view kScaleKey = "scale=";
// Far larger than the file ever is; a bigger one is not ours.
constexpr std::size_t kMaxFileSize = 4096;

std::optional<std::string> readSmallFile(const std::filesystem::path& path) {
    std::FILE* file = Platform::openFile(Platform::pathToUtf8(path).c_str(), "rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    std::string text(kMaxFileSize + 1, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), file));
    std::fclose(file);
    return text.size() <= kMaxFileSize ? std::optional(text) : std::nullopt;
}

// Only a size the editor offers counts; anything else is damage.
std::optional<Gui::Scale> offeredScale(std::string_view digits) {
    int percent = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), percent);
    const bool whole = error == std::errc{} && end == digits.data() + digits.size();
    const bool offered =
        std::find(Gui::kOfferedScalePercents.begin(), Gui::kOfferedScalePercents.end(), percent) !=
        Gui::kOfferedScalePercents.end();
    return whole && offered ? std::optional(Gui::Scale(percent)) : std::nullopt;
}

std::string_view withoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
        line.remove_suffix(1);
    }
    return line;
}

} // namespace

std::optional<std::filesystem::path> editorSettingsPath() {
    const std::optional<std::filesystem::path> folder = Platform::userSettingsFolder();
    if (!folder) {
        return std::nullopt;
    }
    return *folder / "Korvatune" / "Ombrafell" / "editor.conf";
}

std::optional<Gui::Scale> readChosenEditorScale() {
    const std::optional<std::filesystem::path> path = editorSettingsPath();
    const std::optional<std::string> text = path ? readSmallFile(*path) : std::nullopt;
    if (!text) {
        return std::nullopt;
    }
    std::string_view rest = *text;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = withoutLineEnd(rest.substr(0, end));
        if (line.substr(0, kScaleKey.size()) == kScaleKey) {
            return offeredScale(line.substr(kScaleKey.size()));
        }
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }
    return std::nullopt;
}

bool writeChosenEditorScale(Gui::Scale scale) {
    const std::optional<std::filesystem::path> path = editorSettingsPath();
    return path && Platform::writeFileAtomically(*path, std::string(kScaleKey) +
                                                            std::to_string(scale.percent()) + "\n");
}

} // namespace Korvatune
