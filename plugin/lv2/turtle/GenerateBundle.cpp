// Writes the LV2 bundle's Turtle files into a folder; the build runs it.
//   ombrafell_lv2_turtle BUNDLE_FOLDER

#include "plugin/lv2/turtle/BundleDescription.h"

#include <fstream>
#include <iostream>
#include <string>

namespace {

bool writeFile(const std::string& path, void (*write)(std::ostream&)) {
    std::ofstream out(path, std::ios::binary);
    write(out);
    out.close();
    if (!out) {
        std::cerr << "ombrafell_lv2_turtle: cannot write " << path << '\n';
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: ombrafell_lv2_turtle BUNDLE_FOLDER\n";
        return 2;
    }
    const std::string folder = argv[1];
    using namespace Korvatune::Lv2;
    const bool written = writeFile(folder + "/manifest.ttl", writeManifest) &&
                         writeFile(folder + "/ombrafell.ttl", writePluginDescription) &&
                         writeFile(folder + "/presets.ttl", writePresets);
    return written ? 0 : 1;
}
