#include "filters/DspButterworth.h"
#include "filters/DspChebyshevI.h"
#include "filters/DspDirectFormII.h"
#include "filters/DspRbj.h"
#include "filters/DspSmoothedFilterDesign.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace {

using Dsp::DirectFormII;
template <class Design> using Smoothed = Dsp::SmoothedFilterDesign<Design, 2, DirectFormII>;

using ButterLow = Smoothed<Dsp::Butterworth::Design::LowPass<4>>;
using ButterHigh = Smoothed<Dsp::Butterworth::Design::HighPass<4>>;
using ButterBand = Smoothed<Dsp::Butterworth::Design::BandPass<4>>;
using ChebyLow = Smoothed<Dsp::ChebyshevI::Design::LowPass<2>>;
using ChebyHigh = Smoothed<Dsp::ChebyshevI::Design::HighPass<2>>;
using RbjLow = Smoothed<Dsp::RBJ::Design::LowPass>;
using RbjHigh = Smoothed<Dsp::RBJ::Design::HighPass>;

constexpr double kRate = 44100.0;
const double kHalfPower = 1.0 / std::sqrt(2.0);

double gainAt(const Dsp::Filter& filter, double hertz) {
    return std::abs(filter.response(hertz / kRate));
}

TEST(DspDesign, ButterworthReferenceGainsAreExactlyOne) {
    ButterLow low;
    low.setParameters({kRate, 4, 440});
    ButterHigh high;
    high.setParameters({kRate, 4, 2777});
    EXPECT_NEAR(gainAt(low, 0.0), 1.0, 1e-12);
    EXPECT_NEAR(gainAt(low, 440.0), kHalfPower, 1e-9);
    EXPECT_NEAR(gainAt(high, kRate / 2), 1.0, 1e-12);
    EXPECT_NEAR(gainAt(high, 2777.0), kHalfPower, 1e-9);
    EXPECT_LT(gainAt(low, 4400.0), 1e-3);
    EXPECT_LT(gainAt(high, 277.7), 1e-3);
}

TEST(DspDesign, ButterworthBandPassPeaksAtReferenceAndHalvesPowerAtItsEdges) {
    ButterBand band;
    band.setParameters({kRate, 4, 1000, 1777});
    const double lowerEdge = 2 * Dsp::kPi * 111.5 / kRate;
    const double upperEdge = 2 * Dsp::kPi * 1888.5 / kRate;
    const double reference =
        2 * std::atan(std::sqrt(std::tan(upperEdge / 2) * std::tan(lowerEdge / 2)));
    EXPECT_NEAR(std::abs(band.response(reference / (2 * Dsp::kPi))), 1.0, 1e-12);
    EXPECT_NEAR(gainAt(band, 111.5), kHalfPower, 1e-9);
    EXPECT_NEAR(gainAt(band, 1888.5), kHalfPower, 1e-9);
    EXPECT_LT(gainAt(band, 10.0), 1e-3);
    EXPECT_LT(gainAt(band, 15000.0), 1e-3);
    EXPECT_EQ(band.poleZeroPairs().size(), 4u);
}

TEST(DspDesign, BandPassSectionsHaveZerosAtDcAndNyquist) {
    ButterBand band;
    band.setParameters({kRate, 4, 1000, 1777});
    for (const Dsp::PoleZeroPair& pair : band.poleZeroPairs()) {
        EXPECT_EQ(pair.zero1, Dsp::Complex(-1.0));
        EXPECT_EQ(pair.zero2, Dsp::Complex(1.0));
        EXPECT_LT(std::abs(pair.pole1), 1.0);
        EXPECT_EQ(pair.pole2, std::conj(pair.pole1));
    }
}

TEST(DspDesign, ChebyshevEvenOrderReferencesTheRippleFloor) {
    const double floor = std::pow(10.0, -0.1 / 20.0);
    ChebyLow low;
    low.setParameters({kRate, 2, 1000, 0.1});
    ChebyHigh high;
    high.setParameters({kRate, 2, 1000, 0.1});
    EXPECT_NEAR(floor, 0.98855, 1e-5);
    EXPECT_NEAR(gainAt(low, 0.0), floor, 1e-12);
    EXPECT_NEAR(gainAt(high, kRate / 2), floor, 1e-12);
    // The ripple band ends at the cutoff on the same floor.
    EXPECT_NEAR(gainAt(low, 1000.0), floor, 1e-9);
    EXPECT_NEAR(gainAt(high, 1000.0), floor, 1e-9);
}

TEST(DspDesign, RbjGainIsOneInThePassBandAndQAtTheCutoff) {
    RbjLow low;
    low.setParameters({kRate, 1000, 4});
    RbjHigh high;
    high.setParameters({kRate, 1000, 0.5});
    EXPECT_NEAR(gainAt(low, 0.0), 1.0, 1e-12);
    EXPECT_NEAR(gainAt(low, 1000.0), 4.0, 1e-9);
    EXPECT_NEAR(gainAt(high, kRate / 2), 1.0, 1e-12);
    EXPECT_NEAR(gainAt(high, 1000.0), 0.5, 1e-9);
    ASSERT_EQ(low.poleZeroPairs().size(), 1u);
    EXPECT_NEAR(std::abs(low.poleZeroPairs()[0].zero1 + 1.0), 0.0, 1e-6);
}

TEST(DspDesign, ParameterDescriptionsFollowEachDesignsParameterOrder) {
    EXPECT_EQ(ButterLow().parameterCount(), 3);
    EXPECT_EQ(ButterBand().parameterCount(), 4);
    EXPECT_EQ(ChebyLow().parameterCount(), 4);
    EXPECT_EQ(RbjHigh().parameterCount(), 3);
    EXPECT_STREQ(RbjHigh().parameterInfo(2).name, "Resonance");
    EXPECT_STREQ(ButterBand().parameterInfo(3).name, "Bandwidth (Hz)");
    EXPECT_STREQ(ChebyLow().parameterInfo(3).label, "Ripple");
}

TEST(DspDesign, ParamInfoBeyondTheCountIsALogicError) {
    RbjLow low;
    try {
        low.parameterInfo(3);
        FAIL() << "no exception";
    } catch (const std::logic_error& error) {
        EXPECT_STREQ(error.what(), "invalid usage of ParamInfo");
    }
    EXPECT_THROW(ButterBand().parameterInfo(4), std::logic_error);
    EXPECT_THROW(ButterBand().parameterInfo(-1), std::logic_error);
}

TEST(DspDesign, ParamInfoConversions) {
    const Dsp::ParamInfo& q = Dsp::Params::resonance;
    EXPECT_DOUBLE_EQ(q.toNativeValue(0.5), 1.0);
    EXPECT_DOUBLE_EQ(q.toNativeValue(1.0), 16.0);
    EXPECT_DOUBLE_EQ(q.toControlValue(0.0625), 0.0);
    const Dsp::ParamInfo& cutoff = Dsp::Params::cutoffFrequency;
    EXPECT_NEAR(cutoff.toNativeValue(0.0), 10.0, 1e-9);
    EXPECT_NEAR(cutoff.toNativeValue(1.0), 22040.0, 1e-6);
    EXPECT_NEAR(cutoff.toControlValue(cutoff.toNativeValue(0.3)), 0.3, 1e-12);
    EXPECT_EQ(Dsp::Params::butterworthOrder.toNativeValue(0.5), 3.0);
    EXPECT_EQ(Dsp::Params::chebyshevOrder.toNativeValue(0.4), 1.0);
    EXPECT_NEAR(Dsp::Params::rippleDb.toNativeValue(1.0), 12.0, 1e-12);
    EXPECT_EQ(cutoff.toString(440.0), "440 Hz");
    EXPECT_EQ(Dsp::Params::butterworthOrder.toString(4.0), "4");
}

} // namespace
