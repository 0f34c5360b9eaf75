#include "engine/DistortionTables.h"

namespace Korvatune {

DistortionTables buildDistortionTables() {
    return {};
}

} // namespace Korvatune
