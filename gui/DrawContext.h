#pragma once

#include "gui/Bitmap.h"
#include "gui/Color.h"
#include "gui/Geometry.h"
#include "gui/Scale.h"

#include <span>
#include <string_view>

namespace Korvatune::Gui {

enum class TextAlign { Left, Centre, Right };

// The software renderer: draws into a bitmap through a movable origin and a clip rectangle.
// Every operation blends by the source alpha and touches no pixel outside the clip. Coordinates
// are device pixels; the scale sets how wide lines and outlines are and how large text is, each
// drawn at that size rather than enlarged.
class DrawContext {
public:
    explicit DrawContext(Bitmap& target, Scale scale = {});
    DrawContext(Bitmap& target, Rect clip, Scale scale = {});

    Scale scale() const { return scale_; }

    // Origin and clip, to be put back after drawing into a narrower area.
    struct State {
        Point origin;
        Rect clip;
    };
    State state() const { return {origin_, clip_}; }
    void restore(const State& state) {
        origin_ = state.origin;
        clip_ = state.clip;
    }

    // Narrows the clip to an area given in the current coordinates.
    void clipTo(Rect area);
    void translate(Point delta) { origin_ = origin_ + delta; }

    // The clip in the current coordinates.
    Rect clipArea() const { return clip_.offsetBy(Point{} - origin_); }

    void fillRect(Rect area, Color color);
    // An outline one stroke wide just inside the rectangle.
    void frameRect(Rect area, Color color);
    // Both end points included. Each point of the line is a square one stroke wide with the
    // point at its top-left; wider than a pixel, the squares overlap, which only opaque ink hides.
    void drawLine(Point from, Point to, Color color);
    // Joins the points by lines; a joint is drawn once, so translucent colours stay even at
    // strokes one pixel wide.
    void drawPolyline(std::span<const Point> points, Color color);
    // Copies the part of the source that starts at sourceTopLeft into the destination area.
    void drawBitmap(const Bitmap& source, Rect destination, Point sourceTopLeft = {});
    // One line of text in the pixel font at the context's scale, centred vertically in the box
    // and clipped to it.
    void drawText(std::string_view text, Rect box, Color color, TextAlign align);

private:
    void blendPixel(int deviceX, int deviceY, Color color);
    void blendPen(int deviceX, int deviceY, Color color);
    // Pixels deviceLeft <= x < deviceRight of a row, already clipped.
    void fillSpan(int deviceY, int deviceLeft, int deviceRight, Color color);
    void drawSegment(Point from, Point to, Color color, bool skipFirstPixel);

    Bitmap& target_;
    Point origin_;
    Rect clip_;
    Scale scale_;
};

} // namespace Korvatune::Gui
