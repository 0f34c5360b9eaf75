#pragma once

#include "gui/Bitmap.h"
#include "gui/DirtyRegion.h"
#include "gui/KnobMode.h"
#include "gui/Scale.h"
#include "gui/ViewContainer.h"

#include <functional>
#include <vector>

namespace Korvatune::Gui {

// The root of a window's views. It owns the off-screen frame buffer they draw into, collects
// the areas that need redrawing and routes the mouse, holding a drag for the view that took it.
// Its own coordinates are the window's device pixels; the scale says how large the views were
// laid out and drawn, for what is measured in design pixels (text, lines, drag distances).
class Frame : public ViewContainer {
public:
    Frame(int width, int height, Scale scale = {});

    Scale scale() const { return scale_; }

    const Bitmap& frameBuffer() const { return frameBuffer_; }

    bool needsRedraw() const { return !dirty_.isEmpty(); }
    // Redraws the areas marked since the last call and returns them, for the platform to show.
    std::vector<Rect> redrawDirty();
    void invalidateAll();

    // Mouse input in window coordinates.
    void handleMouseDown(const MouseEvent& event);
    void handleMouseMove(const MouseEvent& event);
    void handleMouseUp(const MouseEvent& event);
    const View* mouseCapture() const { return capture_; }
    // From a press until its release, or until a press no view takes for a drag is handled.
    bool pointerHeld() const { return pointerHeld_; }
    // Told when that ends: the user's gesture is over.
    void setPointerReleaseListener(std::function<void()> listener);
    // Drops the drag when the view, or a container holding it, leaves the frame.
    void forgetView(const View& view);

    KnobMode knobMode() const { return knobMode_; }
    void setKnobMode(KnobMode mode) { knobMode_ = mode; }

    void invalidateChildArea(Rect area) override;

private:
    MouseEvent toCaptureSpace(const MouseEvent& event) const;

    Bitmap frameBuffer_;
    DirtyRegion dirty_;
    void releasePointer();

    View* capture_ = nullptr;
    bool pointerHeld_ = false;
    std::function<void()> pointerReleaseListener_;
    KnobMode knobMode_ = KnobMode::Circular;
    Scale scale_;
};

} // namespace Korvatune::Gui
