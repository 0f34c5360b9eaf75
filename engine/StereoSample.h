#pragma once

namespace Korvatune {

// One frame of the two output channels.
struct StereoSample {
    float left = 0.0f;
    float right = 0.0f;
};

} // namespace Korvatune
