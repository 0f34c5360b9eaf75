#include "waveforms/SharedWaveformTables.h"

#include "waveforms/BuiltinUserShapes.h"
#include "waveforms/WaveformTableBuilder.h"

#include <memory>

namespace Korvatune {

namespace {

constexpr float kBuiltinPeak = 0.988f;
constexpr float kComputedPeak = 0.9777f;
constexpr int kFirstNormalisedComputed = 5; // Triangle
constexpr int kLastNormalisedComputed = 19; // Form10

static_assert(SharedWaveformTables::kComputedCount == WaveformTableBuilder::kComputedTableCount);

std::unique_ptr<const SharedWaveformTables> buildSharedTables() {
    auto tables = std::make_unique<SharedWaveformTables>();
    WaveformTableBuilder::buildComputedTables(tables->computed,
                                              SharedWaveformTables::kComputedCount);
    for (int index = kFirstNormalisedComputed; index <= kLastNormalisedComputed; ++index) {
        WaveformTableBuilder::normalise(tables->computed[index], kComputedPeak);
    }
    for (int slot = 0; slot < SharedWaveformTables::kBuiltinShapeCount; ++slot) {
        BuiltinUserShapes::fill(slot, tables->builtinShapes[slot]);
        WaveformTableBuilder::normalise(tables->builtinShapes[slot], kBuiltinPeak);
    }
    return tables;
}

} // namespace

const SharedWaveformTables& sharedWaveformTables() {
    static const std::unique_ptr<const SharedWaveformTables> tables = buildSharedTables();
    return *tables;
}

} // namespace Korvatune
