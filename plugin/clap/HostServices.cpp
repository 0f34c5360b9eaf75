#include "plugin/clap/HostServices.h"

namespace Korvatune::Clap {

void HostServices::findExtensions() {
    log_ = extension<HostLog>(kLogExtension);
    params_ = extension<HostParams>(kParamsExtension);
    presetLoad_ = extension<HostPresetLoad>(kPresetLoadExtension);
    if (presetLoad_ == nullptr) {
        presetLoad_ = extension<HostPresetLoad>(kPresetLoadDraftExtension);
    }
    gui_ = extension<HostGui>(kGuiExtension);
    timers_ = extension<HostTimerSupport>(kTimerSupportExtension);
    state_ = extension<HostState>(kStateExtension);
}

void HostServices::markDirty() const {
    if (state_ != nullptr && state_->markDirty != nullptr) {
        state_->markDirty(host_);
    }
}

void HostServices::warn(const std::string& text) const {
    if (log_ != nullptr && log_->log != nullptr) {
        log_->log(host_, kLogWarning, ("Ombrafell: " + text).c_str());
    }
}

void HostServices::rescanValues() const {
    if (params_ != nullptr && params_->rescan != nullptr) {
        params_->rescan(host_, kParamRescanValues | kParamRescanText);
    }
}

void HostServices::requestFlush() const {
    if (params_ != nullptr && params_->requestFlush != nullptr) {
        params_->requestFlush(host_);
    }
}

void HostServices::presetLoaded(const char* loadKey) const {
    if (presetLoad_ != nullptr && presetLoad_->loaded != nullptr) {
        presetLoad_->loaded(host_, kPresetLocationPlugin, nullptr, loadKey);
    }
}

bool HostServices::requestResize(int width, int height) const {
    return gui_ != nullptr && gui_->requestResize != nullptr && width > 0 && height > 0 &&
           gui_->requestResize(host_, static_cast<std::uint32_t>(width),
                               static_cast<std::uint32_t>(height));
}

std::optional<std::uint32_t> HostServices::registerTimer(std::uint32_t periodMilliseconds) const {
    std::uint32_t id = kInvalidId;
    if (timers_ == nullptr || timers_->registerTimer == nullptr ||
        !timers_->registerTimer(host_, periodMilliseconds, &id)) {
        return std::nullopt;
    }
    return id;
}

void HostServices::unregisterTimer(std::uint32_t timerId) const {
    if (timers_ != nullptr && timers_->unregisterTimer != nullptr) {
        timers_->unregisterTimer(host_, timerId);
    }
}

} // namespace Korvatune::Clap
