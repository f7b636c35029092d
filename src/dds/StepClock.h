#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "controls/frmMainControls.h"
#include "dds/MainClock.h"
#include "link/Link.h"

namespace tunx {

// Labels and pauses of the commands every RAM-played mode sends before its pattern.
inline constexpr const char* kLabelStepClockRegister = "Set_Pulse_CFR2";
inline constexpr int kStepClockPauseMs = 100;
// A profile's RAM step clock is N times this (N from the profile's rate).
inline constexpr double kStepClockUnitHz = 5'000'000;

// The output path of the RAM-played modes: switch line 4/6 cleared.
bool sendRamOutputPath(Link& link);

// The clock label shown in lmainclk and kept in clklabel: whole hertz, digits grouped.
std::string stepClockLabel(double hertz, char groupSeparator);

// The clock-setting command of the RAM step clock: code 26 with S, 1, 0, 0. Raises "Overflow"
// for a setting outside 16 unsigned bits.
Command stepClockSetting(double setting);
// Control register 2 with the multiplier M: `registerCode` (2, or 24 for a clock change)
// with 0, 2, 8 x M + 4, 0, 0.
Command stepClockRegister(int registerCode, int multiplier);

// Shows `label` in lmainclk. When it differs from clklabel, or every time when `everyTime`,
// sends the clock-setting command and pauses 300 ms; on a change clklabel takes the label.
// Returns whether the label changed, or nullopt when the command failed.
std::optional<bool> sendClockSetting(frmMainControls& panel, Link& link, const std::string& label,
                                     const Command& setting, bool everyTime);

// The RAM step clock: multiplier M (1..20), reference setting S and the resulting clock in Hz.
struct StepClock {
    int multiplier = 0;
    std::int16_t setting = 0;
    double hertz = 0;  // B x M / 4, what lmainclk shows
};

enum class SettingSend { OnLabelChange, EveryTime };
enum class RegisterCode { Cfr2, Cfr2Or24OnLabelChange };

// The clock sequence of the RAM-played modes: clock setting (code 26: S, 1, 0, 0) as
// `when` says, then the control register 2 with the multiplier (code 2, or 24 when the label
// changed and `code` allows it), then a 100 ms pause. False when a command failed.
bool sendStepClock(frmMainControls& panel, Link& link, const StepClock& clock, SettingSend when,
                   RegisterCode code);

}  // namespace tunx
