#pragma once

#include "plugin/Instrument.h"
#include "plugin/clap/ClapAbi.h"
#include "plugin/clap/EditQueue.h"
#include "plugin/clap/HostServices.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace Korvatune::Clap {

// What a build with an editor keeps while the host shows it; the instance only owns it.
class EditorSession {
public:
    virtual ~EditorSession() = default;
};

// The instrument as a CLAP plug-in: a thin layer over the instrument's face. Notes and MIDI
// reach the instrument's queue on their frames; parameter values cut the block where they fall;
// the user's edits in the editor go back to the host as gestures.
class ClapInstrument {
public:
    // The largest state the plug-in reads; its own are a few hundred kilobytes.
    static constexpr std::size_t kStateLimit = 1024 * 1024;

    ClapInstrument(const Host* host, const std::string& installFolder);
    ~ClapInstrument();
    ClapInstrument(const ClapInstrument&) = delete;
    ClapInstrument& operator=(const ClapInstrument&) = delete;

    const Plugin* plugin() const { return &plugin_; }
    static ClapInstrument& of(const Plugin* plugin) {
        return *static_cast<ClapInstrument*>(plugin->pluginData);
    }

    void init();
    bool activate(double sampleRate, std::uint32_t maxFrames);
    void deactivate();
    // Never allocates, locks or waits.
    std::int32_t process(const Process& process);
    // The face offers no reset of the sound; every voice released is the nearest to it.
    void releaseAllNotes();
    // Parameter events while the host does not run the plug-in.
    void flush(const InputEvents* in, const OutputEvents* out);

    bool save(const OutputStream& stream) const;
    bool load(const InputStream& stream);
    // A factory program, by its number as its preset's load key.
    bool loadProgram(const char* loadKey);

    Instrument& instrument() { return *instrument_; }
    const HostServices& host() const { return host_; }
    // Filled by the editor's thread.
    EditQueue& edits() { return edits_; }
    // Main thread: tells the host when the editor changed the session beyond the parameters.
    void publishStateChange();
    std::unique_ptr<EditorSession>& editorSession() { return editorSession_; }

private:
    // The part of the block not yet rendered.
    struct Block {
        float* left = nullptr;
        float* right = nullptr;
        std::uint32_t start = 0;
        std::uint32_t frames = 0;
    };

    void play(const EventHeader& event, Block& block);
    void queueMessage(const std::array<std::uint8_t, 3>& message, std::uint32_t frame,
                      Block& block);
    void renderUpTo(std::uint32_t frame, Block& block);
    void applyParameter(const EventHeader& event);
    void applyParameters(const InputEvents* in);
    void sendEdits(const OutputEvents* out);

    Plugin plugin_;
    HostServices host_;
    std::unique_ptr<Instrument> instrument_;
    EditQueue edits_;
    // Goes before the instrument whose editor it shows.
    std::unique_ptr<EditorSession> editorSession_;
};

} // namespace Korvatune::Clap
