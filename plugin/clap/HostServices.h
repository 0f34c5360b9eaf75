#pragma once

#include "plugin/clap/ClapAbi.h"
#include "plugin/clap/ClapExtensions.h"

#include <cstdint>
#include <optional>
#include <string>

namespace Korvatune::Clap {

// What the plug-in asks of its host, through the extensions the host offers; without one, the
// request does nothing.
class HostServices {
public:
    explicit HostServices(const Host* host) : host_(host) {}

    // The host's extensions may be asked for only once the instance is initialised.
    void findExtensions();

    void warn(const std::string& text) const;
    // The values changed otherwise than by the host's own events (a program, a state).
    void rescanValues() const;
    void requestFlush() const;
    // The session holds something new that no parameter shows (a user waveform, a name).
    void markDirty() const;
    void presetLoaded(const char* loadKey) const;
    bool requestResize(int width, int height) const;
    std::optional<std::uint32_t> registerTimer(std::uint32_t periodMilliseconds) const;
    void unregisterTimer(std::uint32_t timerId) const;

private:
    template <class Extension> const Extension* extension(const char* id) const {
        return host_->getExtension != nullptr
                   ? static_cast<const Extension*>(host_->getExtension(host_, id))
                   : nullptr;
    }

    const Host* host_;
    const HostLog* log_ = nullptr;
    const HostParams* params_ = nullptr;
    const HostPresetLoad* presetLoad_ = nullptr;
    const HostGui* gui_ = nullptr;
    const HostTimerSupport* timers_ = nullptr;
    const HostState* state_ = nullptr;
};

} // namespace Korvatune::Clap
