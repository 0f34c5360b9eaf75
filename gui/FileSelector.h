#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace Korvatune::Gui {

enum class FileSelectCommand { Load, Save };

// One kind of file the user may pick, e.g. {"OB Program File", "OBP", "obp", "program/obp"}.
struct FileType {
    std::string name;
    std::string typeCode;
    std::string extension;
    std::string mimeType;
    // A second name some systems use for the same type, e.g. "audio/x-wav"; may be empty.
    std::string alternateMimeType;
};

struct FileSelectRequest {
    FileSelectCommand command = FileSelectCommand::Load;
    std::string title;
    std::vector<FileType> fileTypes;
    // Empty lets the selector choose where to start.
    std::filesystem::path initialPath;
};

// Called once per request, on the user-interface thread, with the chosen path or nothing when
// the user cancelled or no selector could be shown.
using FileSelectAnswer = std::function<void(std::optional<std::filesystem::path>)>;

// Asks the user for a file. The host's own selector or the platform's dialog stands behind it;
// the answer may come before select() returns or later.
class IFileSelector {
public:
    virtual ~IFileSelector() = default;
    virtual void select(const FileSelectRequest& request, FileSelectAnswer answer) = 0;
    // Lets a selector that answers later look for its answer; called regularly by the owner.
    virtual void poll() {}
    // Gives up a pending request without answering it.
    virtual void cancel() {}
};

} // namespace Korvatune::Gui
