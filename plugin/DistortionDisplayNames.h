#pragma once

namespace Korvatune {

// Distortion type names shortened to the eight characters a host's parameter list shows.
const char* distortionDisplayName(int type);

} // namespace Korvatune
