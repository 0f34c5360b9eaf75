#include "editor/HostFileSelector.h"

#include "platform/TextPaths.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace Korvatune {

namespace {

constexpr std::int32_t kReturnPathSize = 1024;

template <std::size_t size> void copyField(char (&field)[size], const std::string& text) {
    std::strncpy(field, text.c_str(), size - 1);
    field[size - 1] = '\0';
}

VstFileType toVstFileType(const Gui::FileType& type) {
    VstFileType converted{};
    copyField(converted.name, type.name);
    copyField(converted.macType, type.typeCode);
    copyField(converted.dosType, type.extension);
    copyField(converted.unixType, type.extension);
    copyField(converted.mimeType1, type.mimeType);
    copyField(converted.mimeType2,
              type.alternateMimeType.empty() ? type.mimeType : type.alternateMimeType);
    return converted;
}

} // namespace

bool HostFileSelector::hostOffersSelector(AudioEffectX& effect) {
    return effect.canHostDo("openFileSelector") && effect.canHostDo("closeFileSelector");
}

void HostFileSelector::select(const Gui::FileSelectRequest& request, Gui::FileSelectAnswer answer) {
    std::vector<VstFileType> types;
    for (const Gui::FileType& type : request.fileTypes) {
        types.push_back(toVstFileType(type));
    }
    std::vector<char> returnPath(kReturnPathSize, '\0');
    VstFileSelect selector{};
    selector.command =
        request.command == Gui::FileSelectCommand::Save ? kVstFileSave : kVstFileLoad;
    selector.type = kVstFileType;
    selector.nbFileTypes = static_cast<std::int32_t>(types.size());
    selector.fileTypes = types.data();
    copyField(selector.title, request.title);
    selector.returnPath = returnPath.data();
    selector.sizeReturnPath = kReturnPathSize;

    std::optional<std::filesystem::path> chosen;
    if (effect_.openFileSelector(&selector)) {
        // The host may have put the answer into a buffer of its own.
        const char* path = selector.returnPath != nullptr ? selector.returnPath : "";
        if (path[0] != '\0') {
            chosen = Platform::pathFromUtf8(Platform::hostTextToUtf8(
                std::string(path, strnlen(path, kReturnPathSize)).c_str()));
        }
        // Lets the host free what it allocated, the list of several paths included.
        effect_.closeFileSelector(&selector);
    }
    if (answer) {
        answer(std::move(chosen));
    }
}

} // namespace Korvatune
