#pragma once

#include "filters/DspButterworth.h"
#include "filters/DspDirectFormII.h"
#include "filters/DspQuadDirectFormII.h"
#include "filters/DspSmoothedFilterDesign.h"

// The settled tone bands of the output chain: a low-pass, a band-pass and a high-pass of the
// clipped signal, each added on top by its amount.
namespace Korvatune::ToneBands {

template <class Design> using Stereo = Dsp::SmoothedFilterDesign<Design, 2, Dsp::DirectFormII>;
using Bass = Stereo<Dsp::Butterworth::Design::LowPass<4>>;
using Mid = Stereo<Dsp::Butterworth::Design::BandPass<4>>;
using High = Stereo<Dsp::Butterworth::Design::HighPass<4>>;

struct Amounts {
    float bass;
    float mid;
    float high;
};

// For filters that are not gliding; a band is added only when its amount is above zero.
void runSettled(Dsp::VectorPath path, Bass& bass, Mid& mid, High& high, float* left, float* right,
                int frames, const Amounts& amounts);

} // namespace Korvatune::ToneBands
