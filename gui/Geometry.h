#pragma once

#include <algorithm>

namespace Korvatune::Gui {

struct Point {
    int x = 0;
    int y = 0;

    friend bool operator==(Point, Point) = default;
    constexpr Point operator+(Point other) const { return {x + other.x, y + other.y}; }
    constexpr Point operator-(Point other) const { return {x - other.x, y - other.y}; }
};

// Half-open: covers left <= x < right and top <= y < bottom.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static constexpr Rect fromSize(Point topLeft, int width, int height) {
        return {topLeft.x, topLeft.y, topLeft.x + width, topLeft.y + height};
    }

    friend bool operator==(const Rect&, const Rect&) = default;

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr Point topLeft() const { return {left, top}; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }

    constexpr bool contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }

    constexpr bool encloses(const Rect& other) const {
        return other.left >= left && other.right <= right && other.top >= top &&
               other.bottom <= bottom;
    }

    constexpr bool intersects(const Rect& other) const { return !intersection(other).isEmpty(); }

    constexpr Rect intersection(const Rect& other) const {
        return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom)};
    }

    constexpr Rect unionWith(const Rect& other) const {
        if (isEmpty()) {
            return other;
        }
        if (other.isEmpty()) {
            return *this;
        }
        return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                std::max(bottom, other.bottom)};
    }

    constexpr Rect offsetBy(Point delta) const {
        return {left + delta.x, top + delta.y, right + delta.x, bottom + delta.y};
    }
};

} // namespace Korvatune::Gui
