#pragma once

#include "gui/Bitmap.h"
#include "gui/Color.h"
#include "gui/DrawContext.h"
#include "gui/Geometry.h"
#include "gui/KeyEvent.h"
#include "gui/MouseEvent.h"

#include <memory>

namespace Korvatune::Gui {

class Frame;
class ViewContainer;

// A rectangle of the window that draws itself and may take the mouse. Its rectangle, drawing
// and mouse positions are all in its parent's coordinates. Views belong to the user-interface
// thread: nothing here may be called from the audio thread.
class View {
public:
    explicit View(Rect rect);
    virtual ~View() = default;
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    const Rect& rect() const { return rect_; }
    void setRect(Rect rect);

    bool isVisible() const { return visible_; }
    void setVisible(bool visible);

    // A transparent view paints no background colour, so what lies behind shows through.
    bool isTransparent() const { return transparent_; }
    void setTransparent(bool transparent);

    const std::shared_ptr<const Bitmap>& background() const { return background_; }
    void setBackground(std::shared_ptr<const Bitmap> background);
    void setBackgroundColor(Color color);

    bool isDirty() const { return dirty_; }
    // Asks for a redraw of the view's area at the frame's next redraw.
    void setDirty();
    virtual void markClean() { dirty_ = false; }

    ViewContainer* parent() const { return parent_; }
    // The frame the view is attached to, if any.
    Frame* frame();
    // Where the parent's coordinate origin lies in the frame.
    Point parentOrigin() const;
    bool isInside(const View& ancestor) const;

    virtual void draw(DrawContext& context);
    // Returns the view that takes the rest of the drag (moves and the release), or null when the
    // press is not for this view.
    virtual View* mouseDown(const MouseEvent&) { return nullptr; }
    virtual void mouseMoved(const MouseEvent&) {}
    virtual void mouseUp(const MouseEvent&) {}
    // Returns whether the view used the wheel; notches > 0 turned up, away from the user.
    virtual bool mouseWheel(const MouseEvent&, int /*notches*/) { return false; }
    // Only the view holding the frame's key focus is asked; returns whether it used the key.
    virtual bool keyDown(const KeyEvent&) { return false; }
    // Told once the frame shows the view as its pop-up, when the view knows its frame.
    virtual void openedAsPopup() {}
    // Told, as a pop-up, that a press outside it is about to close it.
    virtual void closedByOutsidePress() {}

protected:
    void drawBackground(DrawContext& context) const;

private:
    friend class ViewContainer;

    void invalidate(Rect area);

    Rect rect_;
    bool visible_ = true;
    bool transparent_ = false;
    bool dirty_ = false;
    Color backgroundColor_ = kBlack;
    std::shared_ptr<const Bitmap> background_;
    ViewContainer* parent_ = nullptr;
};

} // namespace Korvatune::Gui
