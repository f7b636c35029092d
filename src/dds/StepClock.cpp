#include "dds/StepClock.h"

#include "common/Numbers.h"
#include "common/RegisterBytes.h"
#include "dds/RateTable.h"
#include "dds/Units.h"
#include "link/Relay.h"

namespace tunx {

namespace {
constexpr int kClockSettingByte3 = 1;  // RAM step clock, not the fixed main clock
constexpr int kRegister2Byte2 = 2;
}  // namespace

bool sendRamOutputPath(Link& link) {
    return link.send(switchCommand(line::kSquare2Path, false), kLabelOutputPath);
}

std::string stepClockLabel(double hertz, char groupSeparator) {
    return formatGrouped(hertz, 0, groupSeparator) + unit::kHz;
}

Command stepClockSetting(double setting) {
    const BytePair s = split16(setting);
    return {code::kClockSetting, s.high, s.low, kClockSettingByte3, 0, 0};
}

Command stepClockRegister(int registerCode, int multiplier) {
    return {registerCode, 0, kRegister2Byte2, cfr2MultiplierByte(multiplier), 0, 0};
}

std::optional<bool> sendClockSetting(frmMainControls& panel, Link& link, const std::string& label,
                                     const Command& setting, bool everyTime) {
    GeneratorState& g = link.state().gen;
    const bool changed = label != g.clklabel;
    panel.lmainclk->text = label;
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

bool sendStepClock(frmMainControls& panel, Link& link, const StepClock& clock, SettingSend when,
                   RegisterCode code) {
    const Command setting = stepClockSetting(clock.setting);
    const std::string label = stepClockLabel(clock.hertz, link.state().host.groupSeparator);
    const auto changed =
        sendClockSetting(panel, link, label, setting, when == SettingSend::EveryTime);
    if (!changed) {
        return false;
    }
    const int registerCode =
        (*changed && code == RegisterCode::Cfr2Or24OnLabelChange) ? code::kClock20MHz : code::kCfr2;
    if (!link.send(stepClockRegister(registerCode, clock.multiplier), kLabelStepClockRegister,
                   kCfr2TimeoutMs)) {
        return false;
    }
    link.clock().Sleep(kStepClockPauseMs);
    return true;
}

}  // namespace tunx
