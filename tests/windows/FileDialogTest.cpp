#include "gui/win32/Win32FileDialog.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace Korvatune::Gui {
namespace {

// The file name field of the system's open and save dialogs.
constexpr int kFileNameCombo = 0x47c;
constexpr int kFileNameEdit = 0x480;

FileSelectRequest waveformRequest(FileSelectCommand command, const char* title) {
    return {command,
            title,
            {{"RAW File", "RAW", "raw", "audio/raw", "audio/raw"},
             {"Wave File", "WAVE", "wav", "audio/wav", "audio/x-wav"}},
            {}};
}

// Plays the user on another thread: waits for the dialog with the title, then types a name
// (when given) and presses OK, or presses Cancel.
class DialogUser {
public:
    DialogUser(const wchar_t* title, std::wstring typedName)
        : thread_([this, title, name = std::move(typedName)] { answer(title, name); }) {}
    ~DialogUser() { thread_.join(); }
    bool sawDialog() const { return found_; }

private:
    void answer(const wchar_t* title, const std::wstring& name) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        HWND dialog = nullptr;
        while (dialog == nullptr && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            dialog = FindWindowW(nullptr, title);
        }
        if (dialog == nullptr) {
            return;
        }
        found_ = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        if (name.empty()) {
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        HWND field = GetDlgItem(dialog, kFileNameCombo);
        if (field == nullptr) {
            field = GetDlgItem(dialog, kFileNameEdit);
        }
        SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }

    std::atomic<bool> found_{false};
    std::thread thread_;
};

TEST(Win32FileDialog, FilterListsEveryTypeWithItsPattern) {
    static constexpr wchar_t kExpected[] = L"RAW File (*.raw)\0*.raw\0Wave File (*.wav)\0*.wav\0";
    // The literal's own terminator is the list's final zero.
    const std::wstring expected(kExpected, std::size(kExpected));
    EXPECT_EQ(Win32FileDialog::filterFor(waveformRequest(FileSelectCommand::Load, "x")), expected);
}

TEST(Win32FileDialog, CancellingAnswersNothing) {
    Win32FileDialog dialog;
    bool answered = false;
    std::optional<std::filesystem::path> chosen = std::filesystem::path("unchanged");
    {
        DialogUser user(L"Open waveform file", L"");
        dialog.select(waveformRequest(FileSelectCommand::Load, "Open waveform file"),
                      [&](std::optional<std::filesystem::path> path) {
                          answered = true;
                          chosen = std::move(path);
                      });
        EXPECT_TRUE(user.sawDialog());
    }
    EXPECT_TRUE(answered);
    EXPECT_FALSE(chosen.has_value());
}

TEST(Win32FileDialog, OpeningAFileWithANonAsciiNameAnswersItsPath) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / L"Łukasz dialog";
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / L"Jürgen.raw";
    std::ofstream(file, std::ios::binary) << "1234";

    Win32FileDialog dialog;
    std::optional<std::filesystem::path> chosen;
    {
        DialogUser user(L"Open waveform file", file.wstring());
        dialog.select(waveformRequest(FileSelectCommand::Load, "Open waveform file"),
                      [&](std::optional<std::filesystem::path> path) { chosen = std::move(path); });
        EXPECT_TRUE(user.sawDialog());
    }
    ASSERT_TRUE(chosen.has_value());
    EXPECT_TRUE(std::filesystem::equivalent(*chosen, file)) << chosen->string();
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace Korvatune::Gui
