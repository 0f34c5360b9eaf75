#include "waveforms/BuiltinUserShapes.h"

#include <cmath>

namespace Korvatune {

namespace {

struct ControlPoint {
    int index;   // table entry, 0..4095, strictly increasing; first 0, last 4095
    float value; // entry value at that index
};

// Control points. Chosen so that the shapes show their documented telling values: the number of
// sign changes, the largest and smallest entry with their indices, and the entries 1024, 2048,
// 3072.
constexpr ControlPoint kUser1[] = {
    {0, 0.000f},     {225, 0.997f},   {416, 0.657f},   {1024, -0.373f},
    {1263, -0.622f}, {1917, 0.349f},  {2048, -0.951f}, {2094, -0.969f},
    {3072, 0.059f},  {3648, -0.698f}, {4095, 0.000f},
};

constexpr ControlPoint kUser2[] = {
    {0, 0.000f},     {415, 0.997f},   {670, 0.111f},  {812, 0.386f},   {1024, -0.072f},
    {1175, -0.474f}, {1674, 0.304f},  {2048, 0.185f}, {2522, -0.529f}, {2916, 0.708f},
    {3072, -0.854f}, {3080, -0.857f}, {3369, 0.232f}, {3689, -0.107f}, {3980, -0.638f},
    {4050, -0.040f}, {4095, 0.000f},
};

constexpr ControlPoint kUser3[] = {
    {0, 0.000f},     {123, -0.304f},  {303, 0.170f},   {389, -0.654f},  {479, -0.784f},
    {585, 0.370f},   {741, -0.526f},  {814, 0.455f},   {913, -0.221f},  {1024, -0.069f},
    {1101, -0.137f}, {1250, -0.665f}, {1335, 0.499f},  {1490, -0.354f}, {1563, 0.525f},
    {1745, -0.261f}, {1835, 0.470f},  {1914, -0.170f}, {2048, -0.523f}, {2091, -0.914f},
    {2179, 0.566f},  {2311, -0.517f}, {2412, 0.558f},  {2551, -0.396f}, {2621, 0.481f},
    {2711, 0.389f},  {2809, -0.645f}, {3072, 0.034f},  {3181, -0.220f}, {3284, 0.151f},
    {3355, 0.159f},  {3426, -0.516f}, {3521, 0.537f},  {3744, -0.434f}, {3842, 0.997f},
    {3913, -0.414f}, {4095, 0.000f},
};

constexpr ControlPoint kUser4[] = {
    {0, 0.000f},     {243, 0.624f},  {795, 0.764f},  {1024, 0.709f},
    {1607, 0.456f},  {2048, 0.170f}, {2611, 0.469f}, {2756, -0.997f},
    {3072, -0.710f}, {3590, 0.426f}, {4095, 0.000f},
};

constexpr ControlPoint kUser5[] = {
    {0, 0.000f},     {99, 0.443f},    {219, -0.254f},  {307, -0.724f},  {471, -0.366f},
    {658, 0.837f},   {728, -0.492f},  {834, 0.351f},   {921, -0.583f},  {1024, 0.848f},
    {1098, -0.723f}, {1206, 0.815f},  {1304, 0.356f},  {1433, 0.969f},  {1624, -0.653f},
    {1714, -0.854f}, {1857, 0.712f},  {1953, 0.734f},  {2048, -0.502f}, {2192, 0.421f},
    {2279, -0.356f}, {2419, 0.847f},  {2490, -0.715f}, {2597, 0.764f},  {2727, -0.997f},
    {2803, 0.320f},  {2905, 0.709f},  {2983, -0.503f}, {3072, -0.429f}, {3144, 0.530f},
    {3327, -0.754f}, {3452, 0.512f},  {3569, 0.614f},  {3656, -0.343f}, {3795, -0.204f},
    {3880, 0.604f},  {3964, -0.165f}, {4095, 0.000f},
};

constexpr ControlPoint kUser6[] = {
    {0, 0.000f},    {312, -0.548f},  {454, -0.237f},  {847, 0.727f},
    {1024, 0.672f}, {1473, -0.395f}, {1692, -0.429f}, {1778, -0.274f},
    {1915, 0.491f}, {2048, -0.245f}, {2240, -0.181f}, {3072, -0.204f},
    {3159, 0.593f}, {3362, -0.997f}, {3623, -0.418f}, {4095, 0.000f},
};

constexpr ControlPoint kUser7[] = {
    {0, 0.000f},     {297, 0.948f},   {374, 0.695f},   {544, 0.555f},   {657, 0.770f},
    {861, 0.125f},   {1024, -0.065f}, {1096, -0.802f}, {1651, 0.688f},  {1972, -0.997f},
    {2048, -0.785f}, {2262, -0.450f}, {2370, 0.663f},  {2673, -0.267f}, {2907, -0.118f},
    {3072, 0.133f},  {3309, -0.577f}, {3447, 0.263f},  {3708, 0.671f},  {3937, -0.355f},
    {4022, 0.735f},  {4095, 0.000f},
};

constexpr ControlPoint kUser8[] = {
    {0, 0.000f},     {197, 0.422f},   {588, 0.844f},   {786, -0.176f},
    {1024, 0.651f},  {1802, -0.181f}, {2048, -0.362f}, {2472, -0.716f},
    {2938, -0.997f}, {3072, -0.545f}, {3448, -0.722f}, {4095, 0.000f},
};

constexpr ControlPoint kUser9[] = {
    {0, 0.000f},     {76, 0.178f},    {618, -0.118f},  {1024, 0.272f},  {1437, 0.780f},
    {2048, -0.385f}, {2363, -0.588f}, {3072, -0.426f}, {3659, -0.997f}, {4095, 0.000f},
};

constexpr ControlPoint kUser10[] = {
    {0, 0.000f},     {311, -0.127f},  {412, -0.692f}, {506, 0.614f},   {738, -0.236f},
    {865, -0.331f},  {1024, 0.183f},  {1345, 0.516f}, {1535, -0.569f}, {1790, 0.473f},
    {1946, -0.505f}, {2048, 0.308f},  {2348, 0.505f}, {2672, 0.769f},  {3072, -0.767f},
    {3245, -0.997f}, {3543, -0.249f}, {3862, 0.232f}, {4095, 0.000f},
};

struct ShapeDescription {
    const ControlPoint* points;
    int count;
    int runs; // 0: smooth; otherwise the number of held runs of equal entries
};

template <int N>
constexpr ShapeDescription describe(const ControlPoint (&points)[N], int runs = 0) {
    return ShapeDescription{points, N, runs};
}

constexpr ShapeDescription kShapes[BuiltinUserShapes::kShapeCount] = {
    describe(kUser1),       describe(kUser2, 1053), describe(kUser3), describe(kUser4),
    describe(kUser5, 1297), describe(kUser6),       describe(kUser7), describe(kUser8),
    describe(kUser9),       describe(kUser10),
};

// Fritsch-Carlson slopes: zero at a local extremum or a flat span, otherwise the weighted
// harmonic mean of the neighbouring secants (so the curve never overshoots a control point);
// the end slopes equal the end secants.
double slopeAt(const ShapeDescription& shape, int k) {
    const ControlPoint* p = shape.points;
    const int last = shape.count - 1;
    auto secant = [p](int j) {
        return (static_cast<double>(p[j + 1].value) - p[j].value) / (p[j + 1].index - p[j].index);
    };
    if (k == 0) {
        return secant(0);
    }
    if (k == last) {
        return secant(last - 1);
    }
    const double before = secant(k - 1);
    const double after = secant(k);
    if (before * after <= 0.0) {
        return 0.0;
    }
    const double hBefore = p[k].index - p[k - 1].index;
    const double hAfter = p[k + 1].index - p[k].index;
    const double w1 = 2.0 * hAfter + hBefore;
    const double w2 = hAfter + 2.0 * hBefore;
    return (w1 + w2) / (w1 / before + w2 / after);
}

// Evaluates the curve at every entry in double precision and stores each entry rounded once.
void drawCurve(const ShapeDescription& shape, float* table) {
    int segment = 0;
    for (int i = 0; i < BuiltinUserShapes::kTableSize; ++i) {
        while (segment < shape.count - 2 && i >= shape.points[segment + 1].index) {
            ++segment;
        }
        const ControlPoint& a = shape.points[segment];
        const ControlPoint& b = shape.points[segment + 1];
        const double h = b.index - a.index;
        const double t = (i - a.index) / h;
        const double t2 = t * t;
        const double t3 = t2 * t;
        const double h00 = 2.0 * t3 - 3.0 * t2 + 1.0;
        const double h10 = t3 - 2.0 * t2 + t;
        const double h01 = -2.0 * t3 + 3.0 * t2;
        const double h11 = t3 - t2;
        table[i] = static_cast<float>(h00 * a.value + h10 * h * slopeAt(shape, segment) +
                                      h01 * b.value + h11 * h * slopeAt(shape, segment + 1));
    }
}

// Holds the curve in runs: the control points (all but the last) split the table into pieces;
// each piece gets its share of the runs (largest remainder, so the shares add up to the total),
// spread evenly over the piece; a run takes the curve's value at its first entry.
void holdInRuns(const ShapeDescription& shape, float* table) {
    constexpr int kMaxPieces = 64;
    int starts[kMaxPieces + 1];
    int pieces = 0;
    for (int k = 0; k < shape.count - 1 && pieces < kMaxPieces; ++k) {
        starts[pieces++] = shape.points[k].index;
    }
    starts[pieces] = BuiltinUserShapes::kTableSize;

    int runs[kMaxPieces];
    double remainder[kMaxPieces];
    int total = 0;
    for (int j = 0; j < pieces; ++j) {
        const double ideal = static_cast<double>(starts[j + 1] - starts[j]) * shape.runs /
                             BuiltinUserShapes::kTableSize;
        runs[j] = static_cast<int>(std::floor(ideal));
        if (runs[j] < 1) {
            runs[j] = 1;
        }
        remainder[j] = ideal - runs[j];
        total += runs[j];
    }
    while (total < shape.runs) {
        int best = 0;
        for (int j = 1; j < pieces; ++j) {
            if (remainder[j] > remainder[best]) {
                best = j;
            }
        }
        ++runs[best];
        remainder[best] -= 1.0;
        ++total;
    }

    for (int j = 0; j < pieces; ++j) {
        const int length = starts[j + 1] - starts[j];
        for (int r = 0; r < runs[j]; ++r) {
            const int begin = starts[j] + r * length / runs[j];
            const int end = starts[j] + (r + 1) * length / runs[j];
            const float value = table[begin];
            for (int i = begin + 1; i < end; ++i) {
                table[i] = value;
            }
        }
    }
}

} // namespace

void BuiltinUserShapes::fill(int slot, float* table) {
    if (!table || slot < 0 || slot >= kShapeCount) {
        return;
    }
    const ShapeDescription& shape = kShapes[slot];
    drawCurve(shape, table);
    if (shape.runs > 0) {
        holdInRuns(shape, table);
    }
}

int BuiltinUserShapes::runCount(int slot) {
    return (slot >= 0 && slot < kShapeCount) ? kShapes[slot].runs : 0;
}

} // namespace Korvatune
