#include "filters/Filter_MoogVCF_variant1.h"

namespace Korvatune {

void Filter_MoogVCF_variant1::reset() {
    f = 0.0f;
    p = 0.0f;
    k = 0.0f;
    b0 = 0.0f;
    b1 = 0.0f;
    b2 = 0.0f;
    b3 = 0.0f;
    b4 = 0.0f;
    t1 = 0.0f;
    t2 = 0.0f;
}

float Filter_MoogVCF_variant1::getStage(int index) const {
    switch (index) {
    case 0:
        return b0;
    case 1:
        return b1;
    case 2:
        return b2;
    case 3:
        return b3;
    case 4:
        return b4;
    default:
        return 0.0f;
    }
}

} // namespace Korvatune
