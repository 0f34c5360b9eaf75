#pragma once

#include <lv2/log/log.h>

#include <string>

namespace Korvatune::Lv2 {

// Warnings for the host's log, when the host offers one; without one they go nowhere.
class Lv2Log {
public:
    Lv2Log() = default;
    Lv2Log(const LV2_Log_Log* log, LV2_URID warningType) : log_(log), warningType_(warningType) {}

    void warning(const std::string& text) const;

private:
    const LV2_Log_Log* log_ = nullptr;
    LV2_URID warningType_ = 0;
};

} // namespace Korvatune::Lv2
