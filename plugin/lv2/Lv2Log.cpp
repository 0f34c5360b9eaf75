#include "plugin/lv2/Lv2Log.h"

namespace Korvatune::Lv2 {

void Lv2Log::warning(const std::string& text) const {
    if (log_ != nullptr && log_->printf != nullptr) {
        log_->printf(log_->handle, warningType_, "Ombrafell: %s\n", text.c_str());
    }
}

} // namespace Korvatune::Lv2
