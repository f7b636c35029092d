#include "monitor/Modes.h"

namespace tunx {

std::optional<MonitorMode> monitorMode(std::string_view text) {
    for (std::size_t i = 0; i < kMonitorModeTexts.size(); ++i) {
        if (kMonitorModeTexts[i] == text) {
            return static_cast<MonitorMode>(i);
        }
    }
    return std::nullopt;
}

std::string_view textOf(MonitorMode mode) {
    return kMonitorModeTexts[static_cast<std::size_t>(mode)];
}

}  // namespace tunx
