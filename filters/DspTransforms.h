#pragma once

#include "filters/DspLayout.h"

namespace Dsp {

// Bilinear transforms of an analog low-pass prototype into a digital layout. Frequencies are
// normalised (cycles per sample).

void lowPassTransform(double cutoff, const LayoutBase& analog, LayoutBase& digital);
void highPassTransform(double cutoff, const LayoutBase& analog, LayoutBase& digital);
// Each prototype pole becomes two, so the digital layout has twice as many pairs.
void bandPassTransform(double center, double bandwidth, const LayoutBase& analog,
                       LayoutBase& digital);

} // namespace Dsp
