#include "plugin/DistortionDisplayNames.h"

#include <array>

namespace Korvatune {

namespace {

constexpr std::array<const char*, 25> kShortNames = {
    "Linear",  "Compress", "HardOvld", "Sigmoid1", "Sigmoid2", "Sigmoid3", "Gusterra",
    "Vortle",  "QRT 1",    "QRT 2",    "SoftTube", "Tube",     "FullClip", "FuzzDrv",
    "KorvDrv", "Skradl 1", "Skradl 2", "Skradl 3", "InvDrive", "BigBad",   "BigFat",
    "Viper",   "AssKick",  "Tigers",   "MadDog",
};

} // namespace

const char* distortionDisplayName(int type) {
    return kShortNames[static_cast<unsigned>(type) < kShortNames.size() ? type : 0];
}

} // namespace Korvatune
