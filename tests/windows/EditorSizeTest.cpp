#include "HostWindow.h"
#include "editor/DrawTestEditor.h"
#include "gui/Frame.h"
#include "plugin/VstXSynth.h"
#include "resources/EditorImages.h"
#include "support/EntryUnderTest.h"
#include "support/ResizingHost.h"
#include "support/TestHost.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace Korvatune {
namespace {

using Gui::Scale;
using testing::dispatch;
using testing::pumpMessages;
using testing::resizeLog;

std::pair<int, int> clientSize(HWND window) {
    RECT area{};
    GetClientRect(window, &area);
    return {area.right - area.left, area.bottom - area.top};
}

// An empty settings folder of its own for the editor (%APPDATA%), removed afterwards.
class ScratchAppData {
public:
    ScratchAppData() {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        folder_ = std::filesystem::path(base) /
                  (L"ombrafell-settings-" + std::to_wstring(GetCurrentProcessId()));
        std::filesystem::create_directories(folder_);
        if (const wchar_t* before = _wgetenv(L"APPDATA")) {
            before_ = before;
        }
        _wputenv_s(L"APPDATA", folder_.wstring().c_str());
    }
    ~ScratchAppData() {
        _wputenv_s(L"APPDATA", before_.c_str());
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }

private:
    std::filesystem::path folder_;
    std::wstring before_;
};

// Plays a host that can make room for the editor: a top-level window of its own, a message
// loop, and an answer to the editor's request for another size.
class Win32EditorSize : public ::testing::Test {
protected:
    void SetUp() override {
        resizeLog() = {};
        ASSERT_NE(host, nullptr);
        effect = testing::entryUnderTest()(testing::resizingHost);
        dispatch(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    }

    void TearDown() override {
        dispatch(effect, effEditClose);
        dispatch(effect, effClose);
    }

    DrawTestEditor& editor() {
        return *drawTestEditorOf(*dynamic_cast<VstXSynth*>(AudioEffect::fromAeffect(effect)));
    }

    void idle() {
        pumpMessages();
        dispatch(effect, effEditIdle);
        pumpMessages();
    }

    ScratchAppData settings;
    testing::HostWindow hostWindow;
    HWND host = hostWindow.handle();
    AEffect* effect = nullptr;
};

TEST_F(Win32EditorSize, ChoosingASizeWhileOpenAsksTheHostAndTheWindowTakesIt) {
    ASSERT_EQ(dispatch(effect, effEditOpen, 0, 0, host), 1);
    const Gui::Win32Window* window = editor().getWindow();
    ASSERT_NE(window, nullptr);
    HWND child = window->windowHandle();
    HBITMAP before = window->bitmapHandle();
    EXPECT_EQ(clientSize(child), std::make_pair(800, 465));
    editor().chooseScale(Scale(200));
    idle();
    ASSERT_EQ(resizeLog().requests.size(), 1u);
    EXPECT_EQ(resizeLog().requests[0], std::make_pair(1600, 930));
    EXPECT_EQ(editor().getWindow()->windowHandle(), child);
    EXPECT_EQ(clientSize(child), std::make_pair(1600, 930));
    EXPECT_EQ(GetObjectType(before), 0u) << "the old picture is freed";
    BITMAP picture{};
    GetObject(editor().getWindow()->bitmapHandle(), sizeof picture, &picture);
    EXPECT_EQ(picture.bmWidth, 1600);
    EXPECT_EQ(picture.bmHeight, 930);
    ERect* rect = nullptr;
    dispatch(effect, effEditGetRect, 0, 0, &rect);
    EXPECT_EQ(rect->right, 1600);
}

TEST_F(Win32EditorSize, AHostThatRefusesKeepsTheOldSize) {
    resizeLog().accept = false;
    ASSERT_EQ(dispatch(effect, effEditOpen, 0, 0, host), 1);
    editor().chooseScale(Scale(150));
    idle();
    EXPECT_EQ(resizeLog().requests.size(), 1u);
    EXPECT_EQ(clientSize(editor().getWindow()->windowHandle()), std::make_pair(800, 465));
    EXPECT_EQ(editor().scale(), Scale(100));
}

TEST_F(Win32EditorSize, SizeChangesLeaveNoWindowImageOrGdiObjectBehind) {
    ASSERT_EQ(dispatch(effect, effEditOpen, 0, 0, host), 1);
    idle();
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    const int setsBefore = editorImageSetsInMemory();
    for (int round = 0; round < 20; ++round) {
        HBITMAP before = editor().getWindow()->bitmapHandle();
        editor().chooseScale(Scale(round % 2 == 0 ? 125 : 100));
        idle();
        EXPECT_EQ(GetObjectType(before), 0u);
        EXPECT_EQ(GetWindow(host, GW_CHILD), editor().getWindow()->windowHandle());
        EXPECT_EQ(GetWindow(editor().getWindow()->windowHandle(), GW_HWNDNEXT), nullptr);
        EXPECT_EQ(editorImageSetsInMemory(), setsBefore);
    }
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore);
    dispatch(effect, effEditClose);
    EXPECT_EQ(editorImageSetsInMemory(), setsBefore - 1);
}

// Run by the test below in a process of its own, started after the logical DPI was raised: a
// host aware of the DPI opens the editor, which takes the size the display asks for.
TEST(WindowsDisplayScale, OpensAtTheSizeOfTheRaisedDpi) {
    // Read at once: changing the environment below may move its strings.
    const char* variable = std::getenv("OMBRAFELL_EXPECTED_WIDTH");
    if (variable == nullptr) {
        GTEST_SKIP() << "run by RaisedLogicalDpiSetsTheSize";
    }
    const int expectedWidth = std::atoi(variable);
    SetProcessDPIAware();
    const ScratchAppData settings;
    testing::HostLog log;
    testing::currentHostLog() = &log;
    AEffect* effect = testing::entryUnderTest()(testing::recordingHost);
    ERect* rect = nullptr;
    dispatch(effect, effEditGetRect, 0, 0, &rect);
    EXPECT_EQ(rect->right, expectedWidth);
    dispatch(effect, effClose);
}

std::optional<DWORD> logPixels(HKEY desktop) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExW(desktop, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

void setLogPixels(HKEY desktop, std::optional<DWORD> value) {
    if (value) {
        RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*value),
                       sizeof *value);
    } else {
        RegDeleteValueW(desktop, L"LogPixels");
    }
}

DWORD runThisProgram(const std::wstring& arguments) {
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(program) + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return static_cast<DWORD>(-1);
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return status;
}

// The system's DPI is read when a process starts, so the raised value is tried in a new one.
TEST(WindowsDisplayScale, RaisedLogicalDpiSetsTheSize) {
    HKEY desktop = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                              KEY_READ | KEY_WRITE, nullptr, &desktop, nullptr),
              ERROR_SUCCESS);
    const std::optional<DWORD> before = logPixels(desktop);
    setLogPixels(desktop, 192);
    SetEnvironmentVariableW(L"OMBRAFELL_EXPECTED_WIDTH", L"1600");
    const DWORD status =
        runThisProgram(L"--gtest_filter=WindowsDisplayScale.OpensAtTheSizeOfTheRaisedDpi");
    SetEnvironmentVariableW(L"OMBRAFELL_EXPECTED_WIDTH", nullptr);
    setLogPixels(desktop, before);
    RegCloseKey(desktop);
    EXPECT_EQ(status, 0u);
}

} // namespace
} // namespace Korvatune
