#include "dds/StepClock.h"

#include "common/Numbers.h"
#include "common/RuntimeError.h"
#include "dds/RateTable.h"
#include "link/Relay.h"

namespace tunx {

namespace {
constexpr int kClockSettingByte3 = 1;  // RAM step clock, not the fixed main clock
constexpr int kRegister2Byte2 = 2;
constexpr int kMax16 = 0xFFFF;
}  // namespace

bool sendRamOutputPath(Link& link) {
    return link.send(switchCommand(line::kSquare2Path, false), kLabelOutputPath);
}

BytePair split16(double value) {
    const std::int32_t v = CLng(value);
    if (v < 0 || v > kMax16) {
        throw RuntimeError(kOverflow);
    }
    return {v >> 8, v & 0xFF};
}

BytePair low16(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return {static_cast<int>((bits >> 8) & 0xFF), static_cast<int>(bits & 0xFF)};
}

std::string stepClockLabel(double hertz, char groupSeparator) {
    return formatGrouped(hertz, 0, groupSeparator) + kClockUnitHz;
}

std::optional<bool> sendClockSetting(Window& panel, Link& link, const std::string& label,
                                     const Command& setting, bool everyTime) {
    GeneratorState& g = link.state().gen;
    const bool changed = label != g.clklabel;
    panel["lmainclk"].text = label;
    if (changed || everyTime) {
        if (!link.send(setting, kLabelClockSetting)) {
            return std::nullopt;
        }
        link.clock().Sleep(kClockSettingPauseMs);
        if (changed) {
            g.clklabel = label;
        }
    }
    return changed;
}

bool sendStepClock(Window& panel, Link& link, const StepClock& clock, SettingSend when,
                   RegisterCode code) {
    const BytePair s = split16(clock.setting);
    const std::string label = stepClockLabel(clock.hertz, link.state().host.groupSeparator);
    const auto changed = sendClockSetting(
        panel, link, label, {code::kClockSetting, s.high, s.low, kClockSettingByte3, 0, 0},
        when == SettingSend::EveryTime);
    if (!changed) {
        return false;
    }
    const int registerCode =
        (*changed && code == RegisterCode::Cfr2Or24OnLabelChange) ? code::kClock20MHz : code::kCfr2;
    if (!link.send({registerCode, 0, kRegister2Byte2, cfr2MultiplierByte(clock.multiplier), 0, 0},
                   kLabelStepClockRegister, kStepClockRegisterTimeoutMs)) {
        return false;
    }
    link.clock().Sleep(kStepClockPauseMs);
    return true;
}

}  // namespace tunx
