#pragma once

#include <cstddef>

namespace Korvatune {

inline constexpr const char* kEffectName = "Ombrafell";
inline constexpr const char* kVendorName = "Korvatune";
inline constexpr const char* kProductName = "Ombrafell";
inline constexpr int kVendorVersion = 1000;

inline constexpr std::size_t kEffectNameLimit = 32;
inline constexpr std::size_t kVendorNameLimit = 64;
inline constexpr std::size_t kParameterTextLimit = 8;
inline constexpr std::size_t kMidiNameLimit = 63;

} // namespace Korvatune
