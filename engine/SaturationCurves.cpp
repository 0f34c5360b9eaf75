#include "engine/SaturationCurves.h"

#include "engine/SampleFunctions.h"

namespace Korvatune {

void SaturationCurves::attach(VoiceFrameSettings& settings, std::uint32_t tablesRevision) {
    for (std::size_t k = 0; k < curves.size(); ++k) {
        const auto lane = static_cast<int>(k);
        settings.saturationCurves[k] = settings.saturated[lane] != 0
                                           ? curveFor(curves[k], settings.tables[k],
                                                      settings.inverted[lane] != 0, tablesRevision)
                                           : nullptr;
    }
    settings.curvesReady = true;
}

const float* SaturationCurves::curveFor(Curve& curve, const float* table, bool inverted,
                                        std::uint32_t revision) {
    if (curve.known && curve.table == table && curve.inverted == inverted &&
        curve.revision == revision) {
        return curve.values.data();
    }
    for (std::size_t i = 0; i < curve.values.size(); ++i) {
        const float x = inverted ? invertSample(table[i]) : table[i];
        curve.values[i] = saturationArc(x);
    }
    curve.known = true;
    curve.table = table;
    curve.inverted = inverted;
    curve.revision = revision;
    return curve.values.data();
}

} // namespace Korvatune
