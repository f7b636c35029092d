#include <cmath>
#include <cstdint>
#include <string>

#include "common/Numbers.h"
#include "common/RegisterBytes.h"
#include "dds/Amplitude.h"
#include "dds/AmplitudeEntry.h"
#include "dds/Calibration.h"
#include "dds/Failure.h"
#include "dds/Profile.h"
#include "link/Relay.h"

namespace tunx {

namespace {

constexpr const char* kLabelOffset = "Set_Offset_";
constexpr std::int32_t kOffsetTimeoutMs = 3000;
constexpr std::int16_t kOffsetAttempts = 2;
constexpr int kSettleMs = 50;  // before the offset is measured

// BiasUnit entries.
constexpr const char* kZeroVBias = "0.00";

constexpr std::int32_t kMinOffsetMv = -2000;
constexpr std::int32_t kMaxOffsetMv = 5000;
constexpr double kRampFullScaleMv = 5000.0;  // the amplitude rampoffset is calibrated for

// Offset DAC: code 3120 gives 0 V; a code splits into a coarse value on the 1023-per-5000
// scale and a fine value carrying the remainder of the code modulo 5, 20 fine steps each.
constexpr double kZeroCode = 3120.0;
constexpr std::int32_t kFineSpan = 5;
constexpr double kCoarseFullScale = 1023.0;
constexpr double kCodeFullScale = 5000.0;
constexpr double kFinePerCode = 20.0;

double number(Ctl field) {
    return CDbl(field->text);
}

// Half the peak-to-peak amplitude entered in Vpp, in millivolts (termination not applied).
double halfVpp(const frmMainControls& panel) {
    const std::string& unit = panel.VppUnit->text;
    if (unit == unit::kMVpp) {
        return number(panel.Vpp) / 2.0;
    }
    if (unit == unit::kVpp) {
        return number(panel.Vpp) * amplitude::kMilliPerVolt / 2.0;
    }
    if (unit == unit::kMVrms) {
        return number(panel.Vpp) * amplitude::kSqrt2;
    }
    if (unit == unit::kDBmV) {
        const double p = std::pow(10.0, number(panel.Vpp) / amplitude::kDbPerDecade);
        return (2.0 * p * amplitude::kSqrt2) / 2.0;
    }
    return 0.0;
}

double enteredOffsetMv(frmMainControls& panel) {
    const std::string& biasMode = panel.BiasMode->text;
    if (biasMode == amplitude::kBiasManual) {
        const std::string& unit = panel.BiasUnit->text;
        if (unit == unit::kMV) {
            return number(panel.VBias);
        }
        if (unit == unit::kV) {
            return number(panel.VBias) * amplitude::kMilliPerVolt;
        }
        return 0.0;
    }
    if (biasMode == amplitude::kBiasZero) {
        panel.VBias->text = kZeroVBias;
        return 0.0;
    }
    if (biasMode == amplitude::kBiasHalfVpp) {
        return halfVpp(panel);
    }
    return 0.0;
}

// A ramp or triangle sits off centre by rampoffset at full scale, in proportion to its
// amplitude; the 50 ohm termination halves it.
double rampCorrectionMv(const frmMainControls& panel, const Calibration& c) {
    const std::string& unit = panel.VppUnit->text;
    double amp = 0.0;
    if (unit == unit::kVpp) {
        amp = number(panel.Vpp) * amplitude::kMilliPerVolt;
    } else if (unit == unit::kMVpp) {
        amp = number(panel.Vpp);
    }
    const double correction = amp / kRampFullScaleMv * c.rampoffset;
    return amplitude::terminated(panel) ? correction / 2.0 : correction;
}

struct OffsetCode {
    std::int16_t coarse;
    std::int16_t fine;
};

OffsetCode offsetCode(const Calibration& c, std::int32_t mv) {
    const std::int32_t code =
        CLng(kZeroCode - divide(static_cast<double>(c.offzero) + mv, c.offgain));
    const std::int32_t r = code % kFineSpan;  // the sign of code, as Mod gives it
    const std::int16_t coarse =
        CInt(static_cast<double>(code - r) * kCoarseFullScale / kCodeFullScale);
    const std::int16_t fine = CInt(coarse + r * kFinePerCode);
    return {coarse, fine};
}

// False when the offset cannot be set ("Error calculating Offset!" is due).
bool applyBias(frmMainControls& panel, Link& link, const OutputTraits& mode) {
    SharedState& s = link.state();
    sgrelayon(link);
    std::int32_t mv = CLng(enteredOffsetMv(panel));
    switch (mode.offset) {
        case OffsetShift::None:
            break;
        case OffsetShift::Ramp:
            mv = CLng(mv + rampCorrectionMv(panel, s.cal));
            break;
        case OffsetShift::ArbitraryVoltage:
            if (panel.arbit->text == kTargetVoltage) {
                mv = CLng(static_cast<double>(s.cal.arbvoffset) + mv);
            }
            break;
        case OffsetShift::Square2:
            mv = s.cal.sq2offset;
            break;
    }
    if (mv < kMinOffsetMv || mv > kMaxOffsetMv) {
        return false;
    }
    const OffsetCode oc = offsetCode(s.cal, mv);
    const BytePair coarse = lowBytes(oc.coarse);
    const BytePair fine = lowBytes(oc.fine);
    if (!link.send({code::kOffset, coarse.high, coarse.low, fine.high, fine.low, 0}, kLabelOffset,
                   kOffsetTimeoutMs, kOffsetAttempts)) {
        return false;
    }
    s.gen.sgaten = 0;
    sgrelayon(link);
    link.clock().Sleep(kSettleMs);
    readsgbias1(link);
    return true;
}

}  // namespace

void SetBias(frmMainControls& panel, Link& link, const OutputTraits& mode) {
    runOrFail(link, kMsgOffsetError, [&] { return applyBias(panel, link, mode); });
}

}  // namespace tunx
