#pragma once

#include "gui/Bitmap.h"
#include "gui/DirtyRegion.h"
#include "gui/KeyEvent.h"
#include "gui/KnobMode.h"
#include "gui/Scale.h"
#include "gui/ViewContainer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace Korvatune::Gui {

class Control;

// The root of a window's views. It owns the off-screen frame buffer they draw into, collects
// the areas that need redrawing and routes the mouse, holding a drag for the view that took it,
// the wheel, the keyboard and one modal pop-up view.
// Its own coordinates are the window's device pixels; the scale says how large the views were
// laid out and drawn, for what is measured in design pixels (text, lines, drag distances).
class Frame : public ViewContainer {
public:
    // A second press of the same button this soon and this near makes a double-click.
    static constexpr std::uint32_t kDoubleClickMs = 400;
    static constexpr int kDoubleClickDistance = 4;

    Frame(int width, int height, Scale scale = {});

    Scale scale() const { return scale_; }

    const Bitmap& frameBuffer() const { return frameBuffer_; }

    bool needsRedraw() const { return !dirty_.isEmpty(); }
    // Redraws the areas marked since the last call and returns them, for the platform to show.
    std::vector<Rect> redrawDirty();
    void invalidateAll();

    // Mouse input in window coordinates. The frame sets the press's click count.
    void handleMouseDown(const MouseEvent& event);
    void handleMouseMove(const MouseEvent& event);
    void handleMouseUp(const MouseEvent& event);
    // notches > 0: the wheel turned up, away from the user.
    void handleMouseWheel(const MouseEvent& event, int notches);
    void handlePointerLeft();
    const View* mouseCapture() const { return capture_; }
    // From a press until its release, or until a press no view takes for a drag is handled.
    bool pointerHeld() const { return pointerHeld_; }
    // Told when that ends: the user's gesture is over.
    void setPointerReleaseListener(std::function<void()> listener);
    // A right press over a control goes to this listener instead of to the views.
    void setContextMenuListener(std::function<void(Control&, Point whereInFrame)> listener);
    // Told whenever the control under the pointer changes; null for none.
    void setHoverListener(std::function<void(Control*)> listener);
    Control* hoveredControl() const { return hovered_; }
    // Drops the drag, the key focus, the hover and the pop-up when the view, or a container
    // holding it, leaves the frame.
    void forgetView(const View& view);

    // Keys go to the view holding the key focus first, then to the key listener; returns
    // whether one of them used the key.
    bool handleKey(const KeyEvent& event);
    void setKeyFocus(View* view) { keyFocus_ = view; }
    View* keyFocus() const { return keyFocus_; }
    void setKeyListener(std::function<bool(const KeyEvent&)> listener);
    // Whether the platform window should take the keyboard from the host.
    bool wantsKeyboard() const { return keyFocus_ != nullptr; }

    // Shows the view over all others, in frame coordinates, with the key focus; while it is
    // open every press goes to it, and a press outside it only closes it. Replaces an open one.
    void openPopup(std::unique_ptr<View> popup);
    // May be called from the pop-up's own handlers: it is destroyed once they have returned.
    void closePopup();
    bool hasPopup() const { return popup_ != nullptr; }
    View* popup() const { return popup_; }

    KnobMode knobMode() const { return knobMode_; }
    void setKnobMode(KnobMode mode) { knobMode_ = mode; }

    void invalidateChildArea(Rect area) override;

private:
    // Marks an event being handled, so that closed pop-ups outlive the handlers still running.
    class Dispatch {
    public:
        explicit Dispatch(Frame& frame);
        ~Dispatch();
        Dispatch(const Dispatch&) = delete;
        Dispatch& operator=(const Dispatch&) = delete;

    private:
        Frame& frame_;
    };

    MouseEvent toCaptureSpace(const MouseEvent& event) const;
    MouseEvent countClicks(const MouseEvent& event);
    void forgetPressThatBecameADrag(Point where);
    bool offerContextMenu(const MouseEvent& event);
    void pressPopup(const MouseEvent& event);
    void takePress(View* taker);
    void releasePointer();
    void updateHover(Point where);
    void setHovered(Control* control);

    Bitmap frameBuffer_;
    DirtyRegion dirty_;

    View* capture_ = nullptr;
    bool pointerHeld_ = false;
    std::function<void()> pointerReleaseListener_;
    std::function<void(Control&, Point)> contextMenuListener_;
    std::function<void(Control*)> hoverListener_;
    std::function<bool(const KeyEvent&)> keyListener_;
    Control* hovered_ = nullptr;
    View* keyFocus_ = nullptr;
    View* popup_ = nullptr;
    std::vector<std::unique_ptr<View>> closedPopups_;
    int dispatchDepth_ = 0;
    bool hasLastPress_ = false;
    MouseEvent lastPress_;
    KnobMode knobMode_ = KnobMode::Circular;
    Scale scale_;
};

} // namespace Korvatune::Gui
