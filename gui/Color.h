#pragma once

#include <cstdint>

namespace Korvatune::Gui {

// Straight (not premultiplied) RGBA, laid out in memory in that order so that bitmaps pass to
// and from PNG without conversion.
struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 255;

    friend bool operator==(Color, Color) = default;
};

inline constexpr Color kBlack{0, 0, 0, 255};
inline constexpr Color kWhite{255, 255, 255, 255};
inline constexpr Color kGrey{127, 127, 127, 255};
inline constexpr Color kTransparent{0, 0, 0, 0};

// Source over destination.
inline Color blendOver(Color destination, Color source) {
    const unsigned a = source.alpha;
    if (a == 255) {
        return source;
    }
    const unsigned inverse = 255 - a;
    auto mix = [&](unsigned s, unsigned d) {
        return static_cast<std::uint8_t>((s * a + d * inverse + 127) / 255);
    };
    return {mix(source.red, destination.red), mix(source.green, destination.green),
            mix(source.blue, destination.blue),
            static_cast<std::uint8_t>(a + (destination.alpha * inverse + 127) / 255)};
}

} // namespace Korvatune::Gui
