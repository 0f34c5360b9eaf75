#include "waveforms/WaveformFileLoader.h"

#include "platform/TextPaths.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace Korvatune {

namespace {

constexpr int kWaveBytesPerSample = 2;
constexpr long kMaxFormatBytes = 16; // the fields read from a "fmt " chunk

// Closes the file when the scope ends.
class FileHandle {
public:
    explicit FileHandle(const char* path) : file(Platform::openFile(path, "rb")) {}
    ~FileHandle() {
        if (file) {
            std::fclose(file);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    std::FILE* get() const { return file; }

    // Opening succeeds for a folder on some systems, and reading then fails; a probe of one byte
    // tells such a file from an empty one before anything is changed.
    bool readable() const {
        if (!file) {
            return false;
        }
        std::fgetc(file);
        return !std::ferror(file) && std::fseek(file, 0, SEEK_SET) == 0;
    }

private:
    std::FILE* file;
};

std::uint32_t readLe32(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) |
           (static_cast<std::uint32_t>(bytes[3]) << 24);
}

std::uint16_t readLe16(const unsigned char* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

float floatFromLe(const unsigned char* bytes) {
    const std::uint32_t bits = readLe32(bytes);
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return std::isfinite(value) ? value : 0.0f;
}

// Reads up to byteCount bytes; returns how many were read.
std::size_t readBytes(std::FILE* file, unsigned char* buffer, std::size_t byteCount) {
    return std::fread(buffer, 1, byteCount, file);
}

struct WaveLayout {
    bool haveFormat = false;
    bool haveData = false;
    std::uint16_t channels = 0;
    std::uint16_t bitsPerSample = 0;
    long dataOffset = 0;
    std::uint32_t dataSize = 0;
};

// Walks the RIFF chunk list after the 12-byte "RIFF"/"WAVE" header until both the "fmt " and
// the "data" chunk are found or the file ends. The RIFF size field is not trusted.
WaveLayout walkChunks(std::FILE* file) {
    WaveLayout layout;
    long offset = 12;
    while (!(layout.haveFormat && layout.haveData)) {
        if (std::fseek(file, offset, SEEK_SET) != 0) {
            break;
        }
        unsigned char header[8];
        if (readBytes(file, header, sizeof(header)) != sizeof(header)) {
            break;
        }
        const std::uint32_t size = readLe32(header + 4);
        const long body = offset + 8;
        if (std::memcmp(header, "fmt ", 4) == 0 && !layout.haveFormat) {
            unsigned char format[kMaxFormatBytes] = {};
            const std::size_t wanted =
                size < static_cast<std::uint32_t>(kMaxFormatBytes) ? size : kMaxFormatBytes;
            if (readBytes(file, format, wanted) == wanted && wanted >= 16) {
                layout.haveFormat = true;
                layout.channels = readLe16(format + 2);
                layout.bitsPerSample = readLe16(format + 14);
            } else {
                break; // a format chunk too short to hold the fields
            }
        } else if (std::memcmp(header, "data", 4) == 0 && !layout.haveData) {
            layout.haveData = true;
            layout.dataOffset = body;
            layout.dataSize = size;
        }
        // Chunks are padded to an even length.
        const long long next = static_cast<long long>(body) + size + (size & 1u);
        if (next > 0x7FFFFFFFLL) {
            break;
        }
        offset = static_cast<long>(next);
    }
    return layout;
}

} // namespace

bool WaveformFileLoader::hasWaveExtension(const char* path) {
    if (!path) {
        return false;
    }
    const char* name = std::strrchr(path, Platform::kPathSeparator);
    name = name ? name + 1 : path;
    const char* dot = std::strrchr(name, '.');
    if (!dot || std::strlen(dot) != 4) {
        return false;
    }
    auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return lower(dot[1]) == 'w' && lower(dot[2]) == 'a' && lower(dot[3]) == 'v';
}

bool WaveformFileLoader::loadFile(const char* path, float* table, float* scratch) {
    if (!path || !table || !scratch) {
        return false;
    }
    if (hasWaveExtension(path)) {
        return loadWave(path, table, scratch);
    }
    return loadRaw(path, table, scratch);
}

void WaveformFileLoader::resample(const float* source, float* table, int count) {
    if (!source || !table || count >= kTableSize) {
        return;
    }
    for (int i = 0; i < kTableSize; ++i) {
        const double x = static_cast<double>(i) / 4096.0 * static_cast<double>(count);
        const double r = std::floor(x + 0.5);
        if (r < static_cast<double>(count)) {
            const int lower = static_cast<int>(x); // truncation toward zero
            table[i] = (source[lower] + source[static_cast<int>(r)]) * 0.5f;
        }
    }
}

bool WaveformFileLoader::loadRaw(const char* path, float* table, float* scratch) {
    if (!path || !table || !scratch) {
        return false;
    }
    FileHandle file(path);
    if (!file.readable()) {
        return false;
    }
    std::memset(scratch, 0, sizeof(float) * kTableSize);
    if (std::fseek(file.get(), 0, SEEK_END) != 0) {
        return false;
    }
    const long size = std::ftell(file.get());
    if (size < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) {
        return false;
    }
    const long count = size / 4; // whole floats; trailing bytes are ignored
    const int wanted = count >= kTableSize ? kTableSize : static_cast<int>(count);

    // The scratch table doubles as the byte buffer; each float is decoded in its own place.
    auto* bytes = reinterpret_cast<unsigned char*>(scratch);
    const std::size_t got = readBytes(file.get(), bytes, static_cast<std::size_t>(wanted) * 4);
    if (std::ferror(file.get())) {
        return false; // a folder, or a failing device: the slot keeps what it had
    }
    const int floatsRead = static_cast<int>(got / 4);
    for (int k = 0; k < floatsRead; ++k) {
        scratch[k] = floatFromLe(bytes + 4 * k);
    }
    for (int k = floatsRead; k < kTableSize; ++k) {
        scratch[k] = 0.0f; // a short read leaves no partial float behind
    }
    if (wanted == kTableSize) {
        std::memcpy(table, scratch, sizeof(float) * kTableSize);
    } else {
        resample(scratch, table, wanted);
    }
    return true;
}

bool WaveformFileLoader::loadWave(const char* path, float* table, float* scratch) {
    if (!path || !table || !scratch) {
        return false;
    }
    FileHandle file(path);
    if (!file.readable()) {
        return false;
    }
    unsigned char riff[12];
    if (readBytes(file.get(), riff, sizeof(riff)) != sizeof(riff) ||
        std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) {
        return false;
    }
    const WaveLayout layout = walkChunks(file.get());
    if (!layout.haveFormat || !layout.haveData || layout.channels != 1 ||
        layout.bitsPerSample != 16) {
        return false;
    }

    std::uint32_t samples = layout.dataSize / kWaveBytesPerSample;
    if (samples > static_cast<std::uint32_t>(kTableSize)) {
        samples = kTableSize;
    }
    const int n = static_cast<int>(samples);

    // The scratch table doubles as the byte buffer; bytes past the end of the file read as zero.
    std::memset(scratch, 0, sizeof(float) * kTableSize);
    const auto* bytes = reinterpret_cast<unsigned char*>(scratch);
    if (std::fseek(file.get(), layout.dataOffset, SEEK_SET) != 0) {
        return false;
    }
    readBytes(file.get(), reinterpret_cast<unsigned char*>(scratch),
              static_cast<std::size_t>(n) * kWaveBytesPerSample);
    if (std::ferror(file.get())) {
        return false;
    }
    for (int k = 0; k < n; ++k) {
        const auto sample = static_cast<std::int16_t>(readLe16(bytes + 2 * k));
        table[k] = static_cast<float>(static_cast<double>(sample) / 32767.0);
    }
    if (n < kTableSize) {
        std::memcpy(scratch, table, sizeof(float) * kTableSize);
        resample(scratch, table, n);
    }
    return true;
}

} // namespace Korvatune
