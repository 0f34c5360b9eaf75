#include "EditorTestSupport.h"
#include "support/SettingsTestSupport.h"

#include "editor/EditorSettings.h"
#include "resources/EditorImages.h"

#include <gtest/gtest.h>

// Xlib defines macros (None, Bool, ...) that would break the test framework's headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "support/ResizingHost.h"
#include "support/X11HostDisplay.h"

#include <string>
#include <vector>

namespace Korvatune {
namespace {

using Gui::Scale;
using testing::dispatch;
using testing::resizeLog;

// Plays a host that can make room for the editor, with a window of its own on its own
// connection, on an X server whose resources the test sets.
class EditorSize : public ::testing::Test {
protected:
    void SetUp() override {
        resizeLog() = {};
        std::string skipReason;
        host = testing::openHostDisplay(skipReason);
        if (host == nullptr) {
            GTEST_SKIP() << skipReason;
        }
        parent = testing::createParentWindow(host, 800, 465);
        effect = testing::entryUnderTest()(testing::resizingHost);
        dispatch(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    }

    void TearDown() override {
        if (host == nullptr) {
            return;
        }
        dispatch(effect, effClose);
        setXftDpi(std::nullopt);
        XDestroyWindow(host, parent);
        XCloseDisplay(host);
    }

    // The root window's resource string, which new connections read as they open.
    void setXftDpi(std::optional<int> dpi) {
        const Window root = DefaultRootWindow(host);
        if (dpi) {
            const std::string resources =
                "Xft.antialias:\t1\nXft.dpi:\t" + std::to_string(*dpi) + "\nXft.hinting:\t1\n";
            XChangeProperty(host, root, XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(resources.data()),
                            static_cast<int>(resources.size()));
        } else {
            XDeleteProperty(host, root, XA_RESOURCE_MANAGER);
        }
        XSync(host, False);
    }

    std::pair<int, int> rectangle() {
        ERect* rect = nullptr;
        dispatch(effect, effEditGetRect, 0, 0, &rect);
        return {rect->right - rect->left, rect->bottom - rect->top};
    }

    bool openEditor() {
        return dispatch(effect, effEditOpen, 0, 0, reinterpret_cast<void*>(parent)) == 1;
    }

    std::vector<Window> editorWindows() { return testing::childWindows(host, parent); }

    std::pair<int, int> editorWindowSize() {
        const std::vector<Window> windows = editorWindows();
        if (windows.size() != 1) {
            return {-1, -1};
        }
        XWindowAttributes attributes{};
        XGetWindowAttributes(host, windows[0], &attributes);
        return {attributes.width, attributes.height};
    }

    DrawTestEditor& editor() { return testing::editorOf(effect); }

    testing::ScratchSettings settings;
    Display* host = nullptr;
    Window parent = 0;
    AEffect* effect = nullptr;
};

TEST_F(EditorSize, TheSystemsXftDpiSetsTheSizeAnEditorOpensAt) {
    EXPECT_EQ(rectangle(), std::make_pair(800, 465)) << "no Xft.dpi";
    setXftDpi(96);
    EXPECT_EQ(rectangle(), std::make_pair(800, 465));
    setXftDpi(192);
    EXPECT_EQ(rectangle(), std::make_pair(1600, 930));
    ASSERT_TRUE(openEditor());
    EXPECT_EQ(editorWindowSize(), std::make_pair(1600, 930));
    EXPECT_EQ(editor().scale(), Scale(200));
    EXPECT_TRUE(resizeLog().requests.empty()) << "the host made its window as told";
    dispatch(effect, effEditClose);
    setXftDpi(144);
    EXPECT_EQ(rectangle(), std::make_pair(1200, 698));
}

TEST_F(EditorSize, TheEnvironmentAndTheUsersChoiceComeBeforeTheSystem) {
    setXftDpi(192);
    ASSERT_TRUE(writeChosenEditorScale(Scale(150)));
    EXPECT_EQ(rectangle(), std::make_pair(1200, 698));
    const testing::ScopedVariable forced("OMBRAFELL_SCALE", "125");
    EXPECT_EQ(rectangle(), std::make_pair(1000, 581));
    ASSERT_TRUE(openEditor());
    EXPECT_EQ(editorWindowSize(), std::make_pair(1000, 581));
}

// The size menu's entry for 200 %, the fifth of seven above the menu, on the About page.
TEST_F(EditorSize, ChoosingASizeWhileOpenAsksTheHostAndTheWindowTakesIt) {
    ASSERT_TRUE(openEditor());
    editor().selectPage(1);
    Gui::Frame& frame = *editor().getFrame();
    const Gui::Point menu{713, 394};
    const Gui::Point twoHundred{713, 9 + 377 - 7 * 16 + 4 * 16 + 8};
    for (const Gui::Point where : {menu, twoHundred}) {
        frame.handleMouseDown({where, Gui::MouseButton::Left});
        frame.handleMouseUp({where, Gui::MouseButton::Left});
    }
    EXPECT_TRUE(resizeLog().requests.empty()) << "not from inside the views' mouse handling";
    dispatch(effect, effEditIdle);
    ASSERT_EQ(resizeLog().requests.size(), 1u);
    EXPECT_EQ(resizeLog().requests[0], std::make_pair(1600, 930));
    EXPECT_EQ(rectangle(), std::make_pair(1600, 930));
    EXPECT_EQ(editorWindowSize(), std::make_pair(1600, 930));
    EXPECT_EQ(editor().getFrame()->rect(), (Gui::Rect{0, 0, 1600, 930}));
    EXPECT_EQ(readChosenEditorScale(), Scale(200));
    ASSERT_NE(editor().synthPage(), nullptr);
    EXPECT_EQ(editor().synthPage()->programName().text(),
              "0: " + std::string(testing::synthOf(effect).currentProgram().getName().c_str()));
}

TEST_F(EditorSize, AHostThatRefusesKeepsTheOldSize) {
    resizeLog().accept = false;
    ASSERT_TRUE(openEditor());
    editor().chooseScale(Scale(250));
    dispatch(effect, effEditIdle);
    ASSERT_EQ(resizeLog().requests.size(), 1u);
    EXPECT_EQ(resizeLog().requests[0], std::make_pair(2000, 1163));
    EXPECT_EQ(rectangle(), std::make_pair(800, 465));
    EXPECT_EQ(editorWindowSize(), std::make_pair(800, 465));
    EXPECT_EQ(editor().scale(), Scale(100));
    dispatch(effect, effEditIdle);
    EXPECT_EQ(resizeLog().requests.size(), 1u) << "asked once";
}

TEST_F(EditorSize, SizeChangesAndReopeningLeaveNoWindowImageOrConnectionBehind) {
    const int filesBefore = testing::openFileCount();
    const int imageSetsBefore = editorImageSetsInMemory();
    ASSERT_TRUE(openEditor());
    for (int round = 0; round < 20; ++round) {
        const int percent = round % 2 == 0 ? 125 : 100;
        editor().chooseScale(Scale(percent));
        dispatch(effect, effEditIdle);
        EXPECT_EQ(editorWindows().size(), 1u);
        EXPECT_EQ(editorWindowSize().first, Scale(percent).pixels(800));
        EXPECT_EQ(editorImageSetsInMemory(), imageSetsBefore + 1);
    }
    dispatch(effect, effEditClose);
    for (int round = 0; round < 20; ++round) {
        ASSERT_TRUE(openEditor());
        dispatch(effect, effEditIdle);
        EXPECT_EQ(editorWindows().size(), 1u);
        dispatch(effect, effEditClose);
    }
    EXPECT_TRUE(editorWindows().empty());
    EXPECT_EQ(editorImageSetsInMemory(), imageSetsBefore);
    EXPECT_EQ(testing::openFileCount(), filesBefore);
}

} // namespace
} // namespace Korvatune
