#include "host/cli/SfzInstrument.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>

namespace Korvatune {

namespace {

int softerVelocityBelow(const std::vector<SfzSample>& samples, const SfzSample& sample) {
    int softer = 0;
    for (const SfzSample& other : samples) {
        if (other.note == sample.note && other.velocity < sample.velocity) {
            softer = std::max(softer, other.velocity);
        }
    }
    return softer;
}

bool isLoudest(const std::vector<SfzSample>& samples, const SfzSample& sample) {
    return std::none_of(samples.begin(), samples.end(), [&](const SfzSample& other) {
        return other.note == sample.note && other.velocity > sample.velocity;
    });
}

// The title is a comment on one line: a line break or other control character in it becomes
// a blank.
std::string commentLine(std::string title) {
    for (char& c : title) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = ' ';
        }
    }
    return "// " + title + "\n";
}

} // namespace

std::string sfzInstrumentText(const std::string& title, const std::vector<SfzSample>& samples) {
    std::set<int> velocities;
    for (const SfzSample& sample : samples) {
        velocities.insert(sample.velocity);
    }
    std::string text = commentLine(title) + "\n<group>\nloop_mode=one_shot\n";
    // Layers already carry their loudness; a single layer follows the played velocity.
    if (velocities.size() > 1) {
        text += "amp_veltrack=0\n";
    }
    for (const SfzSample& sample : samples) {
        const int lowest = softerVelocityBelow(samples, sample) + 1;
        const int highest = isLoudest(samples, sample) ? 127 : sample.velocity;
        const std::string key = std::to_string(sample.note);
        text += "\n<region>\nlokey=" + key + "\nhikey=" + key + "\npitch_keycenter=" + key +
                "\nlovel=" + std::to_string(lowest) + "\nhivel=" + std::to_string(highest) +
                "\nsample=" + sample.path + "\n";
    }
    return text;
}

bool writeTextFile(const std::string& path, const std::string& text, std::string& error) {
    std::ofstream stream(path, std::ios::binary);
    if (!stream) {
        error = std::strerror(errno);
        return false;
    }
    stream << text;
    stream.close();
    if (!stream) {
        error = "cannot finish writing the file";
        std::remove(path.c_str());
        return false;
    }
    return true;
}

} // namespace Korvatune
