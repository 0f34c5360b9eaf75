#pragma once

namespace Korvatune {

// The ten built-in user shapes that fill User1..User10 before any user file is
// read. Each is one irregular cycle of 4096 floats that starts and ends at zero, with peak
// magnitude 0.997. A shape is described by a few control points joined by a monotone cubic
// (Fritsch-Carlson) curve, so the extremes lie exactly on control points and every span between
// two points of opposite sign crosses zero once. User2 and User5 are then held in runs of equal
// entries (User2: 1053 runs of 4 and some 3; User5: 1297 runs of 3 and some 4), each run
// starting on a control point or between two, and taking the curve's value at its start.
class BuiltinUserShapes {
public:
    static constexpr int kTableSize = 4096;
    static constexpr int kShapeCount = 10;
    static constexpr float kPeak = 0.997f;

    // Writes shape slot (0 for User1 .. 9 for User10) into table; other slots leave it as it is.
    static void fill(int slot, float* table);

    // Number of runs of equal entries the shape is held in; 0 for a smooth shape.
    static int runCount(int slot);
};

} // namespace Korvatune
