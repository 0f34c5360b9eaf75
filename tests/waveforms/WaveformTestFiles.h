#pragma once

// Helpers for the waveform tests: a temporary directory removed at the end of the test, and
// writers for raw float files and WAVE files with any chunk layout.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace Korvatune::testfiles {

class TemporaryDirectory {
public:
    TemporaryDirectory() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "ombrafell-waveforms-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (char* made = mkdtemp(buffer.data())) {
            path = made;
        }
    }
    ~TemporaryDirectory() {
        std::error_code error;
        std::filesystem::remove_all(path, error);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& get() const { return path; }
    std::string file(const std::string& name) const { return (path / name).string(); }

private:
    std::filesystem::path path;
};

inline void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline void appendLe32(std::vector<unsigned char>& bytes, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) {
        bytes.push_back(static_cast<unsigned char>((value >> (8 * k)) & 0xFF));
    }
}

inline void appendLe16(std::vector<unsigned char>& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<unsigned char>(value & 0xFF));
    bytes.push_back(static_cast<unsigned char>(value >> 8));
}

inline void appendText(std::vector<unsigned char>& bytes, const char* text) {
    for (const char* c = text; *c; ++c) {
        bytes.push_back(static_cast<unsigned char>(*c));
    }
}

inline void appendFloat(std::vector<unsigned char>& bytes, float value) {
    std::uint32_t bits;
    static_assert(sizeof(bits) == sizeof(value));
    std::memcpy(&bits, &value, sizeof(bits));
    appendLe32(bytes, bits);
}

inline std::vector<unsigned char> rawFloats(const std::vector<float>& values) {
    std::vector<unsigned char> bytes;
    for (float v : values) {
        appendFloat(bytes, v);
    }
    return bytes;
}

// A chunk: four-character id, body; padded to even length when written.
inline void appendChunk(std::vector<unsigned char>& bytes, const char* id,
                        const std::vector<unsigned char>& body) {
    appendText(bytes, id);
    appendLe32(bytes, static_cast<std::uint32_t>(body.size()));
    bytes.insert(bytes.end(), body.begin(), body.end());
    if (body.size() % 2) {
        bytes.push_back(0);
    }
}

inline std::vector<unsigned char> formatBody(std::uint16_t channels, std::uint16_t bits,
                                             std::uint16_t extraBytes = 0) {
    std::vector<unsigned char> body;
    appendLe16(body, extraBytes ? 0xFFFE : 1); // PCM, or extensible with a longer chunk
    appendLe16(body, channels);
    appendLe32(body, 44100);
    appendLe32(body, 44100u * channels * bits / 8);
    appendLe16(body, static_cast<std::uint16_t>(channels * bits / 8));
    appendLe16(body, bits);
    if (extraBytes) {
        appendLe16(body, static_cast<std::uint16_t>(extraBytes - 2));
        for (int k = 2; k < extraBytes; ++k) {
            body.push_back(0);
        }
    }
    return body;
}

inline std::vector<unsigned char> pcm16(const std::vector<std::int16_t>& samples) {
    std::vector<unsigned char> body;
    for (std::int16_t s : samples) {
        appendLe16(body, static_cast<std::uint16_t>(s));
    }
    return body;
}

// The canonical 44-byte layout; dataSizeField may differ from the bytes actually written.
inline std::vector<unsigned char> canonicalWave(std::uint16_t channels, std::uint16_t bits,
                                                std::uint32_t dataSizeField,
                                                const std::vector<unsigned char>& data) {
    std::vector<unsigned char> bytes;
    appendText(bytes, "RIFF");
    appendLe32(bytes, static_cast<std::uint32_t>(36 + data.size()));
    appendText(bytes, "WAVE");
    appendChunk(bytes, "fmt ", formatBody(channels, bits));
    appendText(bytes, "data");
    appendLe32(bytes, dataSizeField);
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

// Restores an environment variable when the scope ends.
class EnvironmentGuard {
public:
    explicit EnvironmentGuard(const char* variable) : name(variable) {
        if (const char* value = std::getenv(variable)) {
            saved = value;
            wasSet = true;
        }
    }
    ~EnvironmentGuard() {
        if (wasSet) {
            setenv(name.c_str(), saved.c_str(), 1);
        } else {
            unsetenv(name.c_str());
        }
    }
    EnvironmentGuard(const EnvironmentGuard&) = delete;
    EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;

private:
    std::string name;
    std::string saved;
    bool wasSet = false;
};

} // namespace Korvatune::testfiles
