#pragma once

#include <cstdint>

#include "controls/frmMainControls.h"
#include "dds/OutputTraits.h"
#include "link/Link.h"

namespace tunx {

inline constexpr const char* kMsgAmplitudeError = "Error calculating Amplitude!";
inline constexpr const char* kMsgAmplitudeUnit = "Invalid Amplitude unit selection!";
inline constexpr const char* kMsgAmplitudeTooHigh = "Amplitude Entry is too high!";
inline constexpr const char* kMsgAmplitudeClamped =
    "Amplitude is too Hi for Frequency Entered! Amplitude will be set to Maximum.";
inline constexpr const char* kMsgOffsetError = "Error calculating Offset!";
inline constexpr const char* kMsgStopError = " SG STOP Error";
inline constexpr const char* kLabelAmplitude = "Set_Amplitude_";

// The largest amplitude scale factor: the register takes 14 bits.
inline constexpr std::int32_t kAsfMax = 16383;
// The amplitude scale factor of `mv` millivolts peak to peak against the calibrated full scale,
// times the flatness `gain`; not yet limited to the register.
std::int32_t amplitudeScale(double mv, double fullScaleMv, double gain);
// The amplitude scale factor command (code 3): bits 15-8 and 7-0 of `asf`.
Command amplitudeCommand(std::int32_t asf);

// Amplitude scale factor from Vpp (or, for the comparator's square wave, the output level
// sgaten), as the output mode scales it.
void SetVpp(frmMainControls& panel, Link& link, const OutputTraits& mode);
// Output stage, offset DAC command (the entry shifted as the output mode asks), output stage
// again, and the offset read-back.
void SetBias(frmMainControls& panel, Link& link, const OutputTraits& mode);
// Amplitude from the bare Vpp number, sent when the generator stops.
void sgstop(frmMainControls& panel, Link& link);

}  // namespace tunx
