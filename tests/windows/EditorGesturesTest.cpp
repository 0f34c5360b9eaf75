#include "HostWindow.h"
#include "editor/DrawTestEditor.h"
#include "gui/Frame.h"
#include "gui/PopupMenu.h"
#include "gui/TextField.h"
#include "plugin/Instrument.h"
#include "plugin/VstXSynth.h"
#include "programs/ProgramKeys.h"
#include "support/SynthDriver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

namespace Korvatune {
namespace {

using testing::dispatch;
using testing::pumpMessages;

// The Volume knob's middle in the window: the Synth page starts at (49, 48).
constexpr POINT kVolumeKnob{660 + 49, 318 + 48};

// The messages a user's mouse and keyboard make, posted to the editor's window, which lies at
// the screen's corner in the host's window.
class Win32EditorGestures : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(host, nullptr);
        ASSERT_EQ(dispatch(synth.get(), effEditOpen, 0, 0, host), 1);
        editorWindow = GetWindow(host, GW_CHILD);
        ASSERT_NE(editorWindow, nullptr);
        idle();
    }
    void TearDown() override {
        holdControl(false);
        dispatch(synth.get(), effEditClose);
    }

    void idle() {
        pumpMessages();
        dispatch(synth.get(), effEditIdle);
        pumpMessages();
    }
    void post(UINT message, WPARAM wParam, LPARAM lParam) {
        PostMessageW(editorWindow, message, wParam, lParam);
        idle();
    }
    void click(POINT where, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP) {
        const WPARAM held = down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON;
        post(down, held, MAKELPARAM(where.x, where.y));
        post(up, 0, MAKELPARAM(where.x, where.y));
    }
    void wheel(POINT where, int notches) {
        post(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<short>(notches * WHEEL_DELTA)),
             MAKELPARAM(where.x, where.y));
    }
    void type(const std::string& text) {
        for (const char character : text) {
            post(WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(character)), 0);
        }
    }
    // The keyboard state the window reads its modifiers from.
    void holdControl(bool held) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = held ? 0x80 : 0;
        SetKeyboardState(keys);
    }
    void controlWith(char letter) {
        holdControl(true);
        post(WM_KEYDOWN, static_cast<WPARAM>(letter), 0);
        holdControl(false);
    }

    DrawTestEditor& editor() {
        return *drawTestEditorOf(*dynamic_cast<VstXSynth*>(AudioEffect::fromAeffect(synth.get())));
    }
    float volume() { return synth->getParameter(synth.get(), kVolume); }
    void setVolume(float value) {
        synth->setParameter(synth.get(), kVolume, value);
        idle();
    }

    // The open menu's entry with that text, in the window.
    POINT entry(const std::string& text) {
        auto* menu = dynamic_cast<Gui::PopupMenu*>(editor().getFrame()->popup());
        if (menu == nullptr) {
            ADD_FAILURE() << "no menu is open";
            return {};
        }
        for (std::size_t index = 0; index < menu->entries().size(); ++index) {
            if (menu->entries()[index].text == text) {
                const std::optional<Gui::Rect> area = menu->entryArea(0, index);
                if (area) {
                    return {(area->left + area->right) / 2, (area->top + area->bottom) / 2};
                }
            }
        }
        ADD_FAILURE() << "the menu shows no entry " << text;
        return {};
    }

    testing::SynthDriver synth;
    testing::HostWindow hostWindow;
    HWND host = hostWindow.handle();
    HWND editorWindow = nullptr;
};

TEST_F(Win32EditorGestures, DoubleClickSetsTheDefault) {
    setVolume(0.2f);
    click(kVolumeKnob);
    click(kVolumeKnob);
    EXPECT_FLOAT_EQ(volume(), Instrument::defaultValue(kVolume));
}

TEST_F(Win32EditorGestures, WheelNotchesMoveByAHundredth) {
    setVolume(0.5f);
    wheel(kVolumeKnob, 3);
    EXPECT_NEAR(volume(), 0.53f, 1e-5f);
    wheel(kVolumeKnob, -1);
    EXPECT_NEAR(volume(), 0.52f, 1e-5f);
}

TEST_F(Win32EditorGestures, ATypedValueAppliesAndControlZUndoesIt) {
    setVolume(0.5f);
    click(kVolumeKnob, WM_RBUTTONDOWN, WM_RBUTTONUP);
    click(entry("Type a value..."));
    ASSERT_NE(dynamic_cast<Gui::TextField*>(editor().getFrame()->popup()), nullptr);
    type("-6 dB");
    post(WM_KEYDOWN, VK_RETURN, 0);
    char display[64] = {};
    dispatch(synth.get(), effGetParamDisplay, kVolume, 0, display);
    EXPECT_NEAR(std::strtod(display, nullptr), -6.0, 0.05) << display;
    EXPECT_EQ(editor().getFrame()->popup(), nullptr);
    const float typed = volume();

    controlWith('Z');
    EXPECT_EQ(volume(), 0.5f);
    controlWith('Y');
    EXPECT_EQ(volume(), typed);
}

} // namespace
} // namespace Korvatune
