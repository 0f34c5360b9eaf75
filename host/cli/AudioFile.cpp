#include "host/cli/AudioFile.h"

#include <sndfile.h>

#include <cstdio>
#include <vector>

namespace Korvatune {

namespace {

int fileFormatOf(SampleFormat format) {
    switch (format) {
    case SampleFormat::Pcm16:
        return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    case SampleFormat::Pcm24:
        return SF_FORMAT_WAV | SF_FORMAT_PCM_24;
    case SampleFormat::Flac:
        return SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
    default:
        return SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    }
}

std::vector<float> interleave(std::span<const float> left, std::span<const float> right) {
    std::vector<float> frames(left.size() * 2);
    for (std::size_t i = 0; i < left.size(); ++i) {
        frames[2 * i] = left[i];
        frames[2 * i + 1] = right[i];
    }
    return frames;
}

} // namespace

bool parseSampleFormat(const std::string& text, SampleFormat& format) {
    if (text == "float") {
        format = SampleFormat::Float;
    } else if (text == "pcm16") {
        format = SampleFormat::Pcm16;
    } else if (text == "pcm24") {
        format = SampleFormat::Pcm24;
    } else if (text == "flac") {
        format = SampleFormat::Flac;
    } else {
        return false;
    }
    return true;
}

const char* fileExtensionOf(SampleFormat format) {
    return format == SampleFormat::Flac ? ".flac" : ".wav";
}

bool writeStereoFile(const std::string& path, std::span<const float> left,
                     std::span<const float> right, int sampleRate, SampleFormat format,
                     std::string& error) {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 2;
    info.format = fileFormatOf(format);
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        error = sf_strerror(nullptr);
        return false;
    }
    // Integer formats clip rather than wrap around on overs.
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    // The peak chunk records the time of writing, so the same sound would not give the same file.
    sf_command(file, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
    const std::vector<float> frames = interleave(left, right);
    const auto frameCount = static_cast<sf_count_t>(left.size());
    const bool complete = sf_writef_float(file, frames.data(), frameCount) == frameCount;
    if (!complete) {
        error = sf_strerror(file);
    }
    if (sf_close(file) != 0 || !complete) {
        if (error.empty()) {
            error = "cannot finish writing the file";
        }
        std::remove(path.c_str());
        return false;
    }
    return true;
}

} // namespace Korvatune
