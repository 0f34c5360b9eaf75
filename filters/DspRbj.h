#pragma once

#include "filters/DspBiquad.h"
#include "filters/DspCascade.h"
#include "filters/DspParamInfo.h"
#include "filters/DspTypes.h"

#include <vector>

namespace Dsp::RBJ::Design {

class LowPass;
class HighPass;

// A single cookbook biquad. Parameters: 0 sample rate, 1 cutoff frequency, 2 Q.
class CookbookBiquad {
public:
    using CascadeType = Cascade<1>;

    static constexpr ParamInfoList<3> parameters{
        {&Params::sampleRate, &Params::cutoffFrequency, &Params::resonance}};

    const CascadeType& cascade() const { return coefficients; }
    std::vector<PoleZeroPair> poleZeroPairs() const;

protected:
    friend void setupPair(LowPass& low, HighPass& high, const Parameters& p);

    struct Angles {
        double cs;
        double alpha;
    };
    static Angles angles(const Parameters& p);
    // Divides all five by a0 and keeps a0 for reference.
    void store(double a0, double a1, double a2, double b0, double b1, double b2);

private:
    CascadeType coefficients;
};

class LowPass : public CookbookBiquad {
public:
    static constexpr Kind kind = Kind::lowPass;
    static constexpr const char* name = "RBJ Low Pass";

    void setup(const Parameters& p);
};

class HighPass : public CookbookBiquad {
public:
    static constexpr Kind kind = Kind::highPass;
    static constexpr const char* name = "RBJ High Pass";

    void setup(const Parameters& p);
};

// Both designs of the same settings, each to the bits its own setup gives: the angle and the
// divisions the two share are computed once, the others two at a time in vector lanes.
void setupPair(LowPass& low, HighPass& high, const Parameters& p);

} // namespace Dsp::RBJ::Design
