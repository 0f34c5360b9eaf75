#include "filters/BiquadTweakedButterworthHP.h"

namespace Korvatune {

// The voice and the waveform provider use the filter over float; instantiating both it here keeps
// the template compiled and warning-checked with the engine library.
template class BiquadTweakedButterworthHP<float>;
template class BiquadTweakedButterworthHP<float, FastCurveMaths>;

} // namespace Korvatune
