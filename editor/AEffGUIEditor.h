#pragma once

#include "gui/Frame.h"
#include "gui/PlatformWindow.h"
#include "plugin/AEffEditor.h"

#include <memory>
#include <optional>

namespace Korvatune {

// An editor whose window content is a frame of views. Between open and close the frame exists
// and, when a host window was given, a child window of the platform shows it. Every call comes from
// the thread that runs the host's editor requests; a call that needs an open window does nothing
// while it is closed.
class AEffGUIEditor : public AEffEditor {
public:
    AEffGUIEditor(int width, int height);
    ~AEffGUIEditor() override;

    bool getRect(ERect** rect) override;
    // A second open without a close first closes the old window.
    bool open(void* parentWindow) override;
    void close() override;
    void idle() override;
    bool onKeyDown(int character, int virtualKey, int modifiers) override;
    bool onKeyUp(int character, int virtualKey, int modifiers) override;
    void setKnobMode(int mode) override;

    // Builds the frame without a window, for drawing off screen.
    virtual void openOffscreen();

    bool isOpen() const { return frame_ != nullptr; }
    Gui::Frame* getFrame() const { return frame_.get(); }
    const Gui::PlatformWindow* getWindow() const { return window_.get(); }

protected:
    // Called with the new, empty frame; views added here are shown.
    virtual void buildViews(Gui::Frame& frame) = 0;

private:
    void createFrame();

    ERect rect_{};
    Gui::KnobMode knobMode_ = Gui::KnobMode::Circular;
    // Declared before the window, which draws from it and so must go first.
    std::unique_ptr<Gui::Frame> frame_;
    std::unique_ptr<Gui::PlatformWindow> window_;
};

} // namespace Korvatune
