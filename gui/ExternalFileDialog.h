#pragma once

#include "gui/FileSelector.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace Korvatune::Gui {

// Asks for a file through a dialog program of the desktop (zenity, else kdialog) run as a
// child process, so the window it is asked from keeps running while the user chooses. The
// program's answer is collected in poll(); one dialog runs at a time.
class ExternalFileDialog : public IFileSelector {
public:
    // Null when neither program is found in the colon-separated search path.
    static std::unique_ptr<ExternalFileDialog> find(std::string_view searchPath);
    ~ExternalFileDialog() override;
    ExternalFileDialog(const ExternalFileDialog&) = delete;
    ExternalFileDialog& operator=(const ExternalFileDialog&) = delete;

    const std::filesystem::path& program() const { return program_; }
    bool isRunning() const { return child_ > 0; }

    // Answers nothing at once when another dialog is still open or the program cannot start.
    void select(const FileSelectRequest& request, FileSelectAnswer answer) override;
    void poll() override;
    // Ends the running program; its answer is never given.
    void cancel() override;

private:
    enum class Flavour { Zenity, KDialog };

    ExternalFileDialog(std::filesystem::path program, Flavour flavour);

    std::vector<std::string> argumentsFor(const FileSelectRequest& request) const;
    bool start(const std::vector<std::string>& arguments);
    void readOutput();
    void finish(int exitStatus);
    void closeOutput();

    std::filesystem::path program_;
    Flavour flavour_;
    pid_t child_ = -1;
    int output_ = -1;
    std::string received_;
    FileSelectAnswer answer_;
};

} // namespace Korvatune::Gui
