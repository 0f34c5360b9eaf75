#include "HostWindow.h"
#include "editor/DrawTestEditor.h"
#include "gui/Frame.h"
#include "plugin/VstXSynth.h"
#include "programs/ProgramKeys.h"
#include "resources/EditorImages.h"
#include "support/SynthDriver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

namespace Korvatune {
namespace {

using testing::dispatch;

// The Synth page lies at (40, 39) in a page that starts at the tab view's corner (9, 9).
constexpr POINT kPageOrigin{49, 48};

using testing::pumpMessages;

BOOL CALLBACK countWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// Plays a host: a top-level window of its own in which the editor opens through the
// dispatcher, and a message loop.
class Win32EditorWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(host, nullptr); }
    void TearDown() override { dispatch(synth.get(), effEditClose); }

    bool openEditor() { return dispatch(synth.get(), effEditOpen, 0, 0, host) == 1; }
    int editorWindowCount() {
        int count = 0;
        EnumChildWindows(host, countWindow, reinterpret_cast<LPARAM>(&count));
        return count;
    }
    void idle() {
        pumpMessages();
        dispatch(synth.get(), effEditIdle);
        pumpMessages();
    }
    DrawTestEditor& editor() {
        return *drawTestEditorOf(*dynamic_cast<VstXSynth*>(AudioEffect::fromAeffect(synth.get())));
    }
    const Gui::Bitmap& frameBuffer() { return editor().getFrame()->frameBuffer(); }

    // Everything the window shows, read back through its device context.
    std::vector<std::uint32_t> windowPixels(HWND window, int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        HDC screen = GetDC(window);
        BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        ReleaseDC(window, screen);
        GdiFlush();
        const auto* first = static_cast<const std::uint32_t*>(bits);
        std::vector<std::uint32_t> pixels(first, first + width * height);
        SelectObject(memory, previous);
        DeleteDC(memory);
        DeleteObject(bitmap);
        return pixels;
    }

    void sendMouse(HWND window, UINT message, POINT where) {
        const WPARAM keys = message == WM_LBUTTONUP ? 0 : MK_LBUTTON;
        PostMessageW(window, message, keys, MAKELPARAM(where.x, where.y));
        pumpMessages();
    }

    testing::SynthDriver synth;
    testing::HostWindow hostWindow;
    HWND host = hostWindow.handle();
};

TEST_F(Win32EditorWindow, ShowsTheOffScreenFrameExactly) {
    ASSERT_TRUE(openEditor());
    ASSERT_EQ(editorWindowCount(), 1);
    HWND editor = GetWindow(host, GW_CHILD);
    RECT area{};
    GetClientRect(editor, &area);
    EXPECT_EQ(area.right, 800);
    EXPECT_EQ(area.bottom, 465);
    idle();
    RedrawWindow(editor, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);

    const Gui::Bitmap& frame = frameBuffer();
    const std::vector<std::uint32_t> shown = windowPixels(editor, 800, 465);
    int differing = 0;
    for (int y = 0; y < 465; ++y) {
        for (int x = 0; x < 800; ++x) {
            const Gui::Color c = frame.pixel(x, y);
            const std::uint32_t expected =
                (std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue;
            differing += (shown[static_cast<std::size_t>(y * 800 + x)] & 0xFFFFFF) != expected;
        }
    }
    EXPECT_EQ(differing, 0);
}

TEST_F(Win32EditorWindow, DraggingTheVolumeKnobWithTheMouseChangesItsParameter) {
    ASSERT_TRUE(openEditor());
    HWND editor = GetWindow(host, GW_CHILD);
    ASSERT_NE(editor, nullptr);
    idle();
    // The volume knob's centre on the page is (660, 318): press straight above it, the middle of
    // its sweep, then turn a quarter to the left.
    const POINT centre{660 + kPageOrigin.x, 318 + kPageOrigin.y};
    sendMouse(editor, WM_LBUTTONDOWN, {centre.x, centre.y - 12});
    EXPECT_EQ(GetCapture(), editor);
    sendMouse(editor, WM_MOUSEMOVE, {centre.x - 12, centre.y});
    sendMouse(editor, WM_LBUTTONUP, {centre.x - 12, centre.y});
    EXPECT_EQ(GetCapture(), nullptr);

    const float expected = (0.75f - 0.5f) / 1.5f;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::fabs(synth->getParameter(synth.get(), kVolume) - expected) > 0.02f &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        idle();
    }
    EXPECT_NEAR(synth->getParameter(synth.get(), kVolume), expected, 0.02f);
}

TEST_F(Win32EditorWindow, TheTimerRedrawsWithoutHostIdleCalls) {
    ASSERT_TRUE(openEditor());
    HWND editor = GetWindow(host, GW_CHILD);
    pumpMessages();
    synth->setParameter(synth.get(), kVolume, 0.1f);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    const Gui::Bitmap& frame = frameBuffer();
    const POINT knob{660 + kPageOrigin.x, 318 + kPageOrigin.y};
    const std::vector<std::uint32_t> before = windowPixels(editor, 800, 465);
    std::vector<std::uint32_t> after = before;
    while (after == before && std::chrono::steady_clock::now() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        pumpMessages();
        after = windowPixels(editor, 800, 465);
    }
    EXPECT_NE(after, before);
    const Gui::Color c = frame.pixel(knob.x, knob.y);
    EXPECT_EQ(after[static_cast<std::size_t>(knob.y * 800 + knob.x)] & 0xFFFFFF,
              (std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue);
}

TEST_F(Win32EditorWindow, OpeningAndClosingTwentyTimesLeavesNoWindowsOrGdiObjects) {
    // One round first, so that what the process keeps for good (fonts, stock objects of the
    // system) is counted before. Where the system counts GDI and window objects per process
    // (Windows; wine answers 0), the counts must come back; everywhere, the window and the
    // editor's own GDI objects must be gone after each close.
    ASSERT_TRUE(openEditor());
    idle();
    dispatch(synth.get(), effEditClose);
    pumpMessages();
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    for (int round = 0; round < 20; ++round) {
        ASSERT_TRUE(openEditor());
        EXPECT_EQ(editorWindowCount(), 1);
        idle();
        const Gui::Win32Window* window = editor().getWindow();
        ASSERT_NE(window, nullptr);
        HWND child = window->windowHandle();
        HDC context = window->bitmapContext();
        HBITMAP bitmap = window->bitmapHandle();
        EXPECT_EQ(GetObjectType(context), static_cast<DWORD>(OBJ_MEMDC));
        EXPECT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
        dispatch(synth.get(), effEditClose);
        pumpMessages();
        EXPECT_FALSE(IsWindow(child));
        EXPECT_EQ(GetObjectType(context), 0u);
        EXPECT_EQ(GetObjectType(bitmap), 0u);
    }
    EXPECT_EQ(editorWindowCount(), 0);
    EXPECT_EQ(editorImageSetsInMemory(), 0) << "the images go with the last editor";
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore);
}

} // namespace
} // namespace Korvatune
