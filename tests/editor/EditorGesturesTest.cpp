#include "EditorTestSupport.h"
#include "editor/TypedValue.h"
#include "gui/PopupMenu.h"
#include "gui/TextField.h"
#include "plugin/Instrument.h"
#include "programs/FactoryBank.h"
#include "programs/ProgramFile.h"
#include "programs/VstXSynthProgram.h"
#include "support/SettingsTestSupport.h"

#include <gtest/gtest.h>

// Xlib defines macros (None, Bool, ...) that would break the test framework's headers above.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "support/X11HostDisplay.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

namespace Korvatune {
namespace {

using testing::dispatch;

// Where the top list shows the entry with that text, if it shows it.
std::optional<Gui::Rect> entryArea(const Gui::PopupMenu& menu, const std::string& text) {
    const std::vector<Gui::MenuEntry>& entries = menu.entries();
    for (std::size_t index = 0; index < entries.size(); ++index) {
        if (entries[index].text == text) {
            return menu.entryArea(0, index);
        }
    }
    return std::nullopt;
}

// Real pointer, wheel and key events, made by the X server's test extension, reach the editor
// through its own window, as a user's would; the host here is the test, which idles the editor.
class EditorGestures : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        std::string skipReason;
        host = testing::openHostDisplay(skipReason);
        if (host == nullptr) {
            GTEST_SKIP() << skipReason;
        }
        int event = 0;
        int error = 0;
        int major = 0;
        int minor = 0;
        if (!XTestQueryExtension(host, &event, &error, &major, &minor)) {
            GTEST_SKIP() << "the X server has no test extension";
        }
        releaseEverything();
        const Gui::Scale scale(GetParam());
        parent = testing::createParentWindow(host, static_cast<unsigned>(scale.pixels(800)),
                                             static_cast<unsigned>(scale.pixels(465)));
        ASSERT_EQ(dispatch(synth.get(), effEditOpen, 0, 0, reinterpret_cast<void*>(parent)), 1);
        // As a window manager gives the host's window the keyboard.
        XSetInputFocus(host, parent, RevertToParent, CurrentTime);
        idleFor(std::chrono::milliseconds(50));
        std::filesystem::create_directories(library);
    }

    void TearDown() override {
        if (host != nullptr) {
            releaseEverything();
            dispatch(synth.get(), effEditClose);
            XDestroyWindow(host, parent);
            XCloseDisplay(host);
        }
        std::error_code ignored;
        std::filesystem::remove_all(library.parent_path(), ignored);
    }

    DrawTestEditor& editor() { return testing::editorOf(synth.get()); }
    float parameter(int index) { return synth->getParameter(synth.get(), index); }
    void setParameter(int index, float value) {
        synth->setParameter(synth.get(), index, value);
        idleFor(std::chrono::milliseconds(10));
    }

    // A design point of the Synth page, in screen pixels: the host's window lies at the
    // screen's corner and the editor at the window's.
    Gui::Point onScreen(Gui::Point onPage) const {
        return Gui::Scale(GetParam()).point(onPage + testing::kPageOrigin);
    }
    int pixels(int design) const { return Gui::Scale(GetParam()).pixels(design); }

    // Lets the editor take what the server delivered, as a host's idle calls do.
    void idleFor(std::chrono::milliseconds time) {
        XSync(host, False);
        const auto end = std::chrono::steady_clock::now() + time;
        do {
            dispatch(synth.get(), effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        } while (std::chrono::steady_clock::now() < end);
    }
    void settle() { idleFor(std::chrono::milliseconds(40)); }

    void moveTo(Gui::Point where) {
        XTestFakeMotionEvent(host, DefaultScreen(host), where.x, where.y, CurrentTime);
        settle();
    }
    void button(unsigned int which, bool down) {
        XTestFakeButtonEvent(host, which, down ? True : False, CurrentTime);
        settle();
    }
    void click(Gui::Point where, unsigned int which = Button1) {
        moveTo(where);
        button(which, true);
        button(which, false);
    }
    void doubleClick(Gui::Point where) {
        moveTo(where);
        for (int press = 0; press < 2; ++press) {
            XTestFakeButtonEvent(host, Button1, True, CurrentTime);
            XTestFakeButtonEvent(host, Button1, False, CurrentTime);
        }
        settle();
    }
    void wheel(Gui::Point where, int notches) {
        moveTo(where);
        const unsigned int which = notches > 0 ? 4u : 5u;
        for (int notch = 0; notch < std::abs(notches); ++notch) {
            XTestFakeButtonEvent(host, which, True, CurrentTime);
            XTestFakeButtonEvent(host, which, False, CurrentTime);
        }
        settle();
    }
    // A vertical drag in steps, as a hand moves.
    void drag(Gui::Point from, int upwards) {
        moveTo(from);
        button(Button1, true);
        for (int step = 1; step <= 4; ++step) {
            moveTo(from + Gui::Point{0, -upwards * step / 4});
        }
        button(Button1, false);
    }
    void key(KeySym symbol, bool down) {
        XTestFakeKeyEvent(host, XKeysymToKeycode(host, symbol), down ? True : False, CurrentTime);
        settle();
    }
    void withKeyHeld(KeySym held, const std::function<void()>& action) {
        key(held, true);
        action();
        key(held, false);
    }
    void press(KeySym symbol) {
        key(symbol, true);
        key(symbol, false);
    }
    void type(const std::string& text) {
        for (const char character : text) {
            const KeySym symbol = character == ' '   ? XK_space
                                  : character == '-' ? XK_minus
                                  : character == '.' ? XK_period
                                                     : static_cast<KeySym>(character);
            const bool upper = character >= 'A' && character <= 'Z';
            if (upper) {
                withKeyHeld(XK_Shift_L, [&] {
                    press(
                        XStringToKeysym(std::string(1, static_cast<char>(character + 32)).c_str()));
                });
            } else {
                press(symbol);
            }
        }
    }
    // Nothing a test before left pressed stays pressed.
    void releaseEverything() {
        for (const KeySym held : {XK_Shift_L, XK_Control_L, XK_Return}) {
            XTestFakeKeyEvent(host, XKeysymToKeycode(host, held), False, CurrentTime);
        }
        for (const unsigned int held : {Button1, Button3}) {
            XTestFakeButtonEvent(host, held, False, CurrentTime);
        }
        XSync(host, False);
    }

    // The open pop-up's entry with that text, in screen pixels; a long list is scrolled to it
    // with the wheel, as a user would.
    Gui::Point entryOnScreen(const std::string& text) {
        auto* menu = dynamic_cast<Gui::PopupMenu*>(editor().getFrame()->popup());
        if (menu == nullptr) {
            ADD_FAILURE() << "no menu is open";
            return {};
        }
        std::optional<Gui::Rect> area = entryArea(*menu, text);
        for (int notch = 0; !area && notch < 60; ++notch) {
            const Gui::Rect list = menu->listArea(0);
            wheel({(list.left + list.right) / 2, (list.top + list.bottom) / 2}, -1);
            area = entryArea(*menu, text);
        }
        if (!area) {
            ADD_FAILURE() << "the menu has no entry " << text;
            return {};
        }
        return {(area->left + area->right) / 2, (area->top + area->bottom) / 2};
    }

    static constexpr Gui::Point kVolumeKnob{660, 318};
    static constexpr Gui::Point kDistortionTypeRocker{467, 283};

    testing::ScratchSettings settings;
    std::filesystem::path library = settings.folder() / "library" / "Programs";
    testing::ScopedVariable libraryVariable{"OMBRAFELL_LIBRARY", library.string()};
    testing::ScopedVariable size{"OMBRAFELL_SCALE", std::to_string(GetParam())};
    testing::SynthDriver synth;
    Display* host = nullptr;
    Window parent = 0;
};

TEST_P(EditorGestures, DoubleClickSetsTheDefault) {
    setParameter(kVolume, 0.2f);
    doubleClick(onScreen(kVolumeKnob));
    EXPECT_FLOAT_EQ(parameter(kVolume), Instrument::defaultValue(kVolume));
}

TEST_P(EditorGestures, ShiftDragMovesATenthOfAPlainDrag) {
    dispatch(synth.get(), effSetEditKnobMode, 0, 2);
    setParameter(kVolume, 0.5f);
    drag(onScreen(kVolumeKnob), pixels(30));
    const float plain = parameter(kVolume) - 0.5f;
    setParameter(kVolume, 0.5f);
    withKeyHeld(XK_Shift_L, [&] { drag(onScreen(kVolumeKnob), pixels(30)); });
    const float fine = parameter(kVolume) - 0.5f;
    EXPECT_GT(plain, 0.1f);
    EXPECT_NEAR(fine, plain / 10.0f, 1e-4f);
}

TEST_P(EditorGestures, WheelNotchesMoveByTheirSteps) {
    setParameter(kVolume, 0.5f);
    wheel(onScreen(kVolumeKnob), 3);
    EXPECT_NEAR(parameter(kVolume), 0.53f, 1e-5f);
    withKeyHeld(XK_Shift_L, [&] { wheel(onScreen(kVolumeKnob), -2); });
    EXPECT_NEAR(parameter(kVolume), 0.528f, 1e-5f);

    setParameter(kDistortionType, 0.0f);
    wheel(onScreen(kDistortionTypeRocker), -2);
    EXPECT_NEAR(parameter(kDistortionType), 2.0f / 24.0f, 1e-6f);
    wheel(onScreen(kDistortionTypeRocker), 1);
    EXPECT_NEAR(parameter(kDistortionType), 1.0f / 24.0f, 1e-6f);
}

TEST_P(EditorGestures, HoveringShowsTheParameterAsTheHostDoes) {
    setParameter(kVolume, 0.5f);
    moveTo(onScreen(kVolumeKnob));
    char display[64] = {};
    dispatch(synth.get(), effGetParamDisplay, kVolume, 0, display);
    EXPECT_EQ(editor().readoutText(), std::string("Volume: ") + display + " dB");
}

TEST_P(EditorGestures, ATypedValueAppliesAndUnreadableTextChangesNothing) {
    setParameter(kVolume, 0.5f);
    click(onScreen(kVolumeKnob), Button3);
    click(entryOnScreen("Type a value..."));
    ASSERT_NE(dynamic_cast<Gui::TextField*>(editor().getFrame()->popup()), nullptr);
    type("-6 dB");
    press(XK_Return);
    char display[64] = {};
    dispatch(synth.get(), effGetParamDisplay, kVolume, 0, display);
    EXPECT_NEAR(std::strtod(display, nullptr), -6.0, 0.05) << display;
    EXPECT_EQ(editor().getFrame()->popup(), nullptr);
    EXPECT_FALSE(editor().getFrame()->wantsKeyboard());

    const float before = parameter(kVolume);
    click(onScreen(kVolumeKnob), Button3);
    click(entryOnScreen("Type a value..."));
    type("loud");
    press(XK_Return);
    EXPECT_EQ(parameter(kVolume), before);
    EXPECT_NE(editor().readoutText().find("Cannot read"), std::string::npos);

    click(onScreen(kVolumeKnob), Button3);
    click(entryOnScreen("Type a value..."));
    type("0");
    press(XK_Escape);
    EXPECT_EQ(parameter(kVolume), before);
    EXPECT_EQ(editor().getFrame()->popup(), nullptr);
}

TEST_P(EditorGestures, UndoAndRedoRestoreExactValues) {
    dispatch(synth.get(), effSetEditKnobMode, 0, 2);
    const float original = parameter(kVolume);
    drag(onScreen(kVolumeKnob), pixels(20));
    const float dragged = parameter(kVolume);
    wheel(onScreen(kVolumeKnob), 4);
    const float wheeled = parameter(kVolume);
    ASSERT_NE(original, dragged);
    ASSERT_NE(dragged, wheeled);
    click(onScreen({660, 279}));
    ASSERT_EQ(synth.get()->dispatcher(synth.get(), effGetProgram, 0, 0, nullptr, 0.0f), 1);

    moveTo(onScreen({600, 200}));
    const auto undoKey = [&] { withKeyHeld(XK_Control_L, [&] { press(XK_z); }); };
    undoKey();
    EXPECT_EQ(dispatch(synth.get(), effGetProgram), 0);
    EXPECT_EQ(parameter(kVolume), wheeled);
    undoKey();
    EXPECT_EQ(parameter(kVolume), dragged);
    undoKey();
    EXPECT_EQ(parameter(kVolume), original);
    withKeyHeld(XK_Control_L, [&] { withKeyHeld(XK_Shift_L, [&] { press(XK_z); }); });
    EXPECT_EQ(parameter(kVolume), dragged);
    withKeyHeld(XK_Control_L, [&] { press(XK_y); });
    EXPECT_EQ(parameter(kVolume), wheeled);
    click(onScreen({591, 257}));
    EXPECT_EQ(parameter(kVolume), dragged);
    click(onScreen({608, 257}));
    EXPECT_EQ(parameter(kVolume), wheeled);
}

TEST_P(EditorGestures, ArrowsStepThroughThePrograms) {
    click(onScreen({660, 279}));
    click(onScreen({660, 279}));
    EXPECT_EQ(dispatch(synth.get(), effGetProgram), 2);
    click(onScreen({646, 279}));
    EXPECT_EQ(dispatch(synth.get(), effGetProgram), 1);
    click(onScreen({646, 279}));
    click(onScreen({646, 279}));
    EXPECT_EQ(dispatch(synth.get(), effGetProgram), kNumPrograms - 1);
}

// A program file as SAVE writes it, with a volume of its own.
void writeProgram(const std::filesystem::path& file, const char* name, float volume) {
    std::filesystem::create_directories(file.parent_path());
    VstXSynthProgram program;
    program.setName(name);
    program.setValue(kVolume, volume);
    ASSERT_TRUE(writeProgramFile(file.c_str(), program));
}

TEST_P(EditorGestures, TheProgramListShowsTheFactoryAndTheLibrary) {
    writeProgram(library / "Hard" / "Gabber.obp", "Gabber", 0.25f);
    writeProgram(library / "Soft.obp", "Soft", 0.75f);
    std::ofstream(library / "Broken.obp") << "\x01\x02 not a program";
    click(onScreen({565, 279}));
    auto* menu = dynamic_cast<Gui::PopupMenu*>(editor().getFrame()->popup());
    ASSERT_NE(menu, nullptr);
    const std::vector<Gui::MenuEntry>& entries = menu->entries();
    ASSERT_GE(entries.size(), static_cast<std::size_t>(kNumPrograms) + 5);
    EXPECT_EQ(entries[0].text, "0: " + Instrument::factoryProgramName(0));
    EXPECT_EQ(entries[kNumPrograms - 1].text, std::to_string(kNumPrograms - 1) + ": " +
                                                  Instrument::factoryProgramName(kNumPrograms - 1));
    const auto named = [&](const std::string& text) {
        return std::find_if(entries.begin(), entries.end(),
                            [&](const Gui::MenuEntry& entry) { return entry.text == text; });
    };
    ASSERT_NE(named("Broken"), entries.end());
    EXPECT_FALSE(named("Broken")->enabled);
    EXPECT_TRUE(named("Soft")->enabled);
    ASSERT_NE(named("Hard"), entries.end());
    ASSERT_EQ(named("Hard")->children.size(), 1u);
    EXPECT_EQ(named("Hard")->children[0].text, "Gabber");
    EXPECT_LT(named("Broken"), named("Hard"));
    EXPECT_LT(named("Hard"), named("Soft"));

    click(entryOnScreen("Broken"));
    EXPECT_NE(parameter(kVolume), 0.75f);
    if (editor().getFrame()->popup() == nullptr) {
        click(onScreen({565, 279}));
    }
    click(entryOnScreen("Soft"));
    EXPECT_EQ(parameter(kVolume), 0.75f);
    EXPECT_EQ(editor().synthPage()->programName().text(), "0: Soft");
    wheel(onScreen(kVolumeKnob), 1);
    EXPECT_EQ(editor().synthPage()->programName().text(), "0: Soft *");
    withKeyHeld(XK_Control_L, [&] { press(XK_z); });
    EXPECT_EQ(editor().synthPage()->programName().text(), "0: Soft");
}

INSTANTIATE_TEST_SUITE_P(AtTwoSizes, EditorGestures, ::testing::Values(100, 200),
                         [](const auto& info) { return std::to_string(info.param) + "Percent"; });

} // namespace
} // namespace Korvatune
