#include "gui/ExternalFileDialog.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace Korvatune::Gui {

namespace {

// A path is shorter than this; anything beyond it is not kept.
constexpr std::size_t kMaxAnswerLength = 4096;

std::optional<std::filesystem::path> findProgram(std::string_view searchPath,
                                                 std::string_view name) {
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        const std::size_t end = std::min(searchPath.find(':', start), searchPath.size());
        const std::string_view folder = searchPath.substr(start, end - start);
        if (!folder.empty()) {
            std::filesystem::path candidate = std::filesystem::path(folder) / name;
            if (::access(candidate.c_str(), X_OK) == 0) {
                return candidate;
            }
        }
        start = end + 1;
    }
    return std::nullopt;
}

std::vector<std::string> zenityArguments(const FileSelectRequest& request) {
    std::vector<std::string> arguments = {"--file-selection", "--title=" + request.title};
    if (request.command == FileSelectCommand::Save) {
        arguments.emplace_back("--save");
    }
    for (const FileType& type : request.fileTypes) {
        arguments.push_back("--file-filter=" + type.name + " | *." + type.extension);
    }
    return arguments;
}

std::vector<std::string> kdialogArguments(const FileSelectRequest& request) {
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about a literal prepended to a
    // temporary string.
    std::string filter;
    for (const FileType& type : request.fileTypes) {
        if (!filter.empty()) {
            filter += '\n';
        }
        filter.append("*.").append(type.extension).append("|").append(type.name);
    }
    const bool saving = request.command == FileSelectCommand::Save;
    return {"--title", request.title, saving ? "--getsavefilename" : "--getopenfilename",
            request.initialPath.empty() ? "." : request.initialPath.string(), filter};
}

} // namespace

std::unique_ptr<ExternalFileDialog> ExternalFileDialog::find(std::string_view searchPath) {
    if (auto zenity = findProgram(searchPath, "zenity")) {
        return std::unique_ptr<ExternalFileDialog>(
            new ExternalFileDialog(std::move(*zenity), Flavour::Zenity));
    }
    if (auto kdialog = findProgram(searchPath, "kdialog")) {
        return std::unique_ptr<ExternalFileDialog>(
            new ExternalFileDialog(std::move(*kdialog), Flavour::KDialog));
    }
    return nullptr;
}

ExternalFileDialog::ExternalFileDialog(std::filesystem::path program, Flavour flavour)
    : program_(std::move(program)), flavour_(flavour) {}

ExternalFileDialog::~ExternalFileDialog() {
    cancel();
}

std::vector<std::string> ExternalFileDialog::argumentsFor(const FileSelectRequest& request) const {
    return flavour_ == Flavour::Zenity ? zenityArguments(request) : kdialogArguments(request);
}

void ExternalFileDialog::select(const FileSelectRequest& request, FileSelectAnswer answer) {
    if (isRunning() || !start(argumentsFor(request))) {
        if (answer) {
            answer(std::nullopt);
        }
        return;
    }
    answer_ = std::move(answer);
}

// The program's output goes into a pipe and its input is empty. Both pipe ends are
// close-on-exec, so only the copy made on the program's output reaches it.
bool ExternalFileDialog::start(const std::vector<std::string>& arguments) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    std::vector<char*> argv;
    std::string programName = program_.string();
    argv.push_back(programName.data());
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = -1;
    const int failed =
        posix_spawn(&child, programName.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (failed != 0) {
        ::close(pipeEnds[0]);
        return false;
    }
    ::fcntl(pipeEnds[0], F_SETFL, ::fcntl(pipeEnds[0], F_GETFL) | O_NONBLOCK);
    child_ = child;
    output_ = pipeEnds[0];
    received_.clear();
    return true;
}

void ExternalFileDialog::poll() {
    if (!isRunning()) {
        return;
    }
    readOutput();
    if (output_ >= 0) {
        return;
    }
    int status = 0;
    const pid_t reaped = ::waitpid(child_, &status, WNOHANG);
    if (reaped == 0) {
        return;
    }
    // A host that ignores SIGCHLD leaves nothing to reap; count that as a cancelled dialog.
    finish(reaped == child_ && WIFEXITED(status) ? WEXITSTATUS(status) : -1);
}

void ExternalFileDialog::readOutput() {
    char buffer[512];
    while (output_ >= 0) {
        const ssize_t count = ::read(output_, buffer, sizeof buffer);
        if (count > 0) {
            const std::size_t room =
                kMaxAnswerLength - std::min(received_.size(), kMaxAnswerLength);
            received_.append(buffer, std::min(static_cast<std::size_t>(count), room));
        } else if (count == 0 || (errno != EAGAIN && errno != EINTR)) {
            closeOutput();
        } else if (errno == EAGAIN) {
            return;
        }
    }
}

void ExternalFileDialog::finish(int exitStatus) {
    child_ = -1;
    while (!received_.empty() && (received_.back() == '\n' || received_.back() == '\r')) {
        received_.pop_back();
    }
    std::optional<std::filesystem::path> chosen;
    if (exitStatus == 0 && !received_.empty()) {
        chosen = received_;
    }
    FileSelectAnswer answer = std::exchange(answer_, nullptr);
    if (answer) {
        answer(std::move(chosen));
    }
}

void ExternalFileDialog::cancel() {
    closeOutput();
    if (isRunning()) {
        ::kill(child_, SIGTERM);
        int status = 0;
        ::waitpid(child_, &status, 0);
        child_ = -1;
    }
    answer_ = nullptr;
}

void ExternalFileDialog::closeOutput() {
    if (output_ >= 0) {
        ::close(output_);
        output_ = -1;
    }
}

} // namespace Korvatune::Gui
