#pragma once

#include "controls/frmMainControls.h"
#include "dds/Units.h"
#include "window/CheckBox.h"

namespace tunx::amplitude {

// The offset modes of BiasMode.
inline constexpr const char* kBiasManual = "Manual";
inline constexpr const char* kBiasZero = "0.00V";
inline constexpr const char* kBiasHalfVpp = "Vpp/2";

inline constexpr double kMilliPerVolt = 1000.0;
// Peak-to-peak of a sine is twice its peak, the peak 1.4142 times its rms value.
inline constexpr double kSqrt2 = 1.4142;
inline constexpr double kDbPerDecade = 20.0;

// The "50 ohm term." box is ticked.
inline bool terminated(const frmMainControls& panel) {
    return ticked(*panel.termination);
}

}  // namespace tunx::amplitude
