#pragma once

#include "gui/Frame.h"
#include "gui/PlatformWindow.h"
#include "gui/Scale.h"
#include "plugin/vst2/AEffEditor.h"

#include <functional>
#include <memory>
#include <optional>

namespace Korvatune {

// An editor whose window content is a frame of views, drawn at a scale of its design size.
// Between open and close the frame exists and, when a host window was given, a child window of
// the platform shows it. Every call comes from the thread that runs the host's editor requests;
// a call that needs an open window does nothing while it is closed.
class AEffGUIEditor : public AEffEditor {
public:
    // The design size: the window's size at 100 %.
    AEffGUIEditor(int width, int height);
    ~AEffGUIEditor() override;

    // While open, the window's size; while closed, the size the next open takes.
    bool getRect(ERect** rect) override;
    // A second open without a close first closes the old window.
    bool open(void* parentWindow) override;
    void close() override;
    // Applies a size asked for since the last idle, then lets the window redraw.
    void idle() override;
    bool onKeyDown(int character, int virtualKey, int modifiers) override;
    bool onKeyUp(int character, int virtualKey, int modifiers) override;
    void setKnobMode(int mode) override;

    // Builds the frame without a window, for drawing off screen.
    virtual void openOffscreen(Gui::Scale scale = {});

    bool isOpen() const { return frame_ != nullptr; }
    Gui::Frame* getFrame() const { return frame_.get(); }
    const Gui::PlatformWindow* getWindow() const { return window_.get(); }
    Gui::Scale scale() const { return scale_; }

    // Asks for another size while open. It takes effect at the next idle, never inside the
    // views' own handling of the mouse; a window asks its host first, and when the host refuses
    // it keeps its size.
    void requestScale(Gui::Scale scale);
    // Who is asked before the window changes size while open: the host, given the new size in
    // pixels; true when it makes room.
    void setHostResize(std::function<bool(int width, int height)> resize);

protected:
    // Called with the new, empty frame, already at the editor's scale; views added here are
    // shown. A change of size builds a new frame.
    virtual void buildViews(Gui::Frame& frame) = 0;
    // The size to open at, in the host's window (null while there is none yet).
    virtual Gui::Scale scaleForOpening(void* parentWindow) = 0;

private:
    std::unique_ptr<Gui::Frame> makeFrame();
    void setScale(Gui::Scale scale);
    bool hostMakesRoomFor(Gui::Scale scale);
    void applyScale(Gui::Scale scale);

    int designWidth_;
    int designHeight_;
    Gui::Scale scale_;
    ERect rect_{};
    // The size the host last learnt, from the rectangle or the open window, which its own
    // window was made for.
    std::optional<Gui::Scale> announced_;
    std::optional<Gui::Scale> requested_;
    std::function<bool(int, int)> hostResize_;
    Gui::KnobMode knobMode_ = Gui::KnobMode::Circular;
    // Declared before the window, which draws from it and so must go first.
    std::unique_ptr<Gui::Frame> frame_;
    std::unique_ptr<Gui::PlatformWindow> window_;
};

} // namespace Korvatune
