#include "EditorTestSupport.h"

#include "editor/HostFileSelector.h"
#include "gui/ExternalFileDialog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace Korvatune {
namespace {

// --- the host's selector ---------------------------------------------------------------------

// A host that offers a selector and picks a fixed file; remembers what it was asked.
struct SelectorHost {
    bool offersSelector = true;
    bool opened = false;
    bool closed = false;
    std::string title;
    std::string firstUnixType;
    std::string secondMimeType;
    std::int32_t command = -1;
};

SelectorHost* currentSelectorHost = nullptr;

VstIntPtr selectorHostCallback(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr, void* ptr,
                               float) {
    // The instrument asks for its directory while the fixture is still being built.
    if (currentSelectorHost == nullptr) {
        return opcode == audioMasterVersion ? 2400 : 0;
    }
    SelectorHost& host = *currentSelectorHost;
    switch (opcode) {
    case audioMasterVersion:
        return 2400;
    case audioMasterCanDo:
        return host.offersSelector &&
               (std::strcmp(static_cast<char*>(ptr), "openFileSelector") == 0 ||
                std::strcmp(static_cast<char*>(ptr), "closeFileSelector") == 0);
    case audioMasterOpenFileSelector: {
        auto* select = static_cast<VstFileSelect*>(ptr);
        host.opened = true;
        host.title = select->title;
        host.command = select->command;
        host.firstUnixType = select->fileTypes[0].unixType;
        host.secondMimeType = select->fileTypes[select->nbFileTypes - 1].mimeType2;
        std::strncpy(select->returnPath, "/songs/kick.wav",
                     static_cast<std::size_t>(select->sizeReturnPath));
        return 1;
    }
    case audioMasterCloseFileSelector:
        host.closed = true;
        return 1;
    default:
        return 0;
    }
}

class HostSelector : public ::testing::Test {
protected:
    HostSelector() { currentSelectorHost = &host; }
    ~HostSelector() override { currentSelectorHost = nullptr; }

    Gui::FileSelectRequest waveRequest() const {
        return {Gui::FileSelectCommand::Load,
                "Open waveform file",
                {{"RAW File", "RAW", "raw", "audio/raw", ""},
                 {"Wave File", "WAVE", "wav", "audio/wav", "audio/x-wav"}},
                {}};
    }

    SelectorHost host;
    VstXSynth synth{selectorHostCallback};
};

TEST_F(HostSelector, PassesTheRequestAndReturnsTheChosenPath) {
    ASSERT_TRUE(HostFileSelector::hostOffersSelector(synth));
    std::optional<std::filesystem::path> answer;
    HostFileSelector(synth).select(waveRequest(), [&](auto chosen) { answer = chosen; });
    EXPECT_TRUE(host.opened);
    EXPECT_TRUE(host.closed);
    EXPECT_EQ(host.title, "Open waveform file");
    EXPECT_EQ(host.command, kVstFileLoad);
    EXPECT_EQ(host.firstUnixType, "raw");
    EXPECT_EQ(host.secondMimeType, "audio/x-wav");
    EXPECT_EQ(answer, std::filesystem::path("/songs/kick.wav"));
}

TEST_F(HostSelector, AHostWithoutSelectorIsNotAsked) {
    host.offersSelector = false;
    EXPECT_FALSE(HostFileSelector::hostOffersSelector(synth));
}

// --- a desktop dialog program ----------------------------------------------------------------

// A folder holding a stand-in dialog program that records its arguments and answers with the
// given text and exit status.
class DialogProgram : public ::testing::Test {
protected:
    DialogProgram()
        : folder(std::filesystem::temp_directory_path() /
                 ("ombrafell-dialog-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(folder);
    }
    ~DialogProgram() override { std::filesystem::remove_all(folder); }

    void install(const std::string& name, const std::string& body) {
        const auto path = folder / name;
        std::ofstream(path) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > \""
                            << (folder / "arguments").string() << "\"\n"
                            << body << '\n';
        ::chmod(path.c_str(), 0755);
    }

    std::string recordedArguments() {
        std::ifstream file(folder / "arguments");
        return {std::istreambuf_iterator<char>(file), {}};
    }

    // Polls as an editor's idle would, until an answer came or time ran out.
    bool pollUntilAnswered(Gui::ExternalFileDialog& dialog, const bool& answered) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!answered && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            dialog.poll();
        }
        return answered;
    }

    Gui::FileSelectRequest saveRequest() const {
        return {Gui::FileSelectCommand::Save,
                "Save OB program file",
                {{"OB Program File", "OBP", "obp", "program/obp", ""}},
                {}};
    }

    std::filesystem::path folder;
};

TEST_F(DialogProgram, NoneInstalledFindsNothing) {
    EXPECT_EQ(Gui::ExternalFileDialog::find(folder.string()), nullptr);
    EXPECT_EQ(Gui::ExternalFileDialog::find(""), nullptr);
}

TEST_F(DialogProgram, ZenityAnswersWithoutBlockingTheCaller) {
    install("zenity", "sleep 0.2; echo /home/user/kick.obp");
    install("kdialog", "exit 1");
    auto dialog = Gui::ExternalFileDialog::find("/nonexistent:" + folder.string());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->program().filename(), "zenity");
    bool answered = false;
    std::optional<std::filesystem::path> chosen;
    dialog->select(saveRequest(), [&](auto path) {
        answered = true;
        chosen = path;
    });
    EXPECT_FALSE(answered);
    EXPECT_TRUE(dialog->isRunning());
    ASSERT_TRUE(pollUntilAnswered(*dialog, answered));
    EXPECT_EQ(chosen, std::filesystem::path("/home/user/kick.obp"));
    EXPECT_FALSE(dialog->isRunning());
    EXPECT_EQ(recordedArguments(), "--file-selection\n--title=Save OB program file\n--save\n"
                                   "--file-filter=OB Program File | *.obp\n");
}

TEST_F(DialogProgram, KDialogCancelledAnswersNothing) {
    install("kdialog", "exit 1");
    auto dialog = Gui::ExternalFileDialog::find(folder.string());
    ASSERT_NE(dialog, nullptr);
    bool answered = false;
    std::optional<std::filesystem::path> chosen = "unchanged";
    dialog->select(saveRequest(), [&](auto path) {
        answered = true;
        chosen = path;
    });
    ASSERT_TRUE(pollUntilAnswered(*dialog, answered));
    EXPECT_EQ(chosen, std::nullopt);
    EXPECT_EQ(recordedArguments(),
              "--title\nSave OB program file\n--getsavefilename\n.\n*.obp|OB Program File\n");
}

TEST_F(DialogProgram, OneDialogAtATimeAndCancellingEndsIt) {
    install("zenity", "exec sleep 30");
    auto dialog = Gui::ExternalFileDialog::find(folder.string());
    ASSERT_NE(dialog, nullptr);
    bool firstAnswered = false;
    dialog->select(saveRequest(), [&](auto) { firstAnswered = true; });
    std::optional<std::filesystem::path> second = "unchanged";
    dialog->select(saveRequest(), [&](auto path) { second = path; });
    EXPECT_EQ(second, std::nullopt);
    const auto started = std::chrono::steady_clock::now();
    dialog->cancel();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_FALSE(dialog->isRunning());
    dialog->poll();
    EXPECT_FALSE(firstAnswered);
}

} // namespace
} // namespace Korvatune
