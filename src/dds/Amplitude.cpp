#include "dds/Amplitude.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "common/Numbers.h"
#include "common/RegisterBytes.h"
#include "common/RuntimeError.h"
#include "dds/AmplitudeEntry.h"
#include "dds/Failure.h"
#include "dds/Flatness.h"

namespace tunx {

namespace {

// "Square-Wave2" output level: the level falls from `base` by `slope` per volt in each segment.
constexpr double kSquare2TopLevel = 1500.0;
constexpr double kSquare2SegmentMv = 1000.0;

constexpr const char* kLabelStopAmplitude = "SGSTOP_Amplitude_";

constexpr float kMinEntryMv = 1.0F;
constexpr float kMaxEntryMv = 5500.0F;
constexpr float kMaxMv = 5000.0F;
constexpr double kRampGain = 1.2;

double levelSlope(std::int16_t from, std::int16_t to) {
    return CInt(static_cast<double>(from) - to);
}

// The output level DAC setting for a "Square-Wave2" amplitude; of the overlapping segments
// the last one that holds wins.
std::int16_t square2Level(const Calibration& c, float a) {
    struct Segment {
        double base;
        double slope;
        double x;
    };
    Segment s{};
    if (a < 1001) {
        s = {kSquare2TopLevel, static_cast<double>(c.sq2level1), a};
    }
    if (a > 999 && a < 2001) {
        s = {static_cast<double>(c.sq2level1), levelSlope(c.sq2level1, c.sq2level2), a - 1000.0};
    }
    if (a > 2000 && a < 3001) {
        s = {static_cast<double>(c.sq2level2), levelSlope(c.sq2level2, c.sq2level3), a - 2000.0};
    }
    if (a > 3000 && a < 4001) {
        s = {static_cast<double>(c.sq2level3), levelSlope(c.sq2level3, c.sq2level4), a - 3000.0};
    }
    if (a > 4000) {
        s = {static_cast<double>(c.sq2level4), levelSlope(c.sq2level4, c.sq2level5), a - 4000.0};
    }
    const std::int16_t x = CInt(s.x);
    return CInt(s.base - (x / kSquare2SegmentMv) * s.slope);
}

// The amplitude in mVpp as the entry and its unit give it; an unknown unit gives 1 mV.
float enteredMv(const frmMainControls& panel) {
    const std::string& unit = panel.VppUnit->text;
    if (unit == unit::kMVpp || unit == unit::kMVrms || unit == unit::kDBmV) {
        return CSng(CDbl(panel.Vpp->text));
    }
    if (unit == unit::kVpp) {
        return CSng(CDbl(panel.Vpp->text) * amplitude::kMilliPerVolt);
    }
    return 1.0F;
}

// False when the amplitude cannot be set ("Error calculating Amplitude!" is due).
bool applyVpp(frmMainControls& panel, Link& link, const OutputTraits& mode) {
    SharedState& s = link.state();
    const std::string& unit = panel.VppUnit->text;
    float a = enteredMv(panel);
    if (amplitude::terminated(panel)) {
        a = CSng(static_cast<double>(a) + a);  // the number itself doubles, dBmV included
    }
    if (a > kMaxEntryMv || a < kMinEntryMv) {
        return false;
    }
    const bool sine = mode.amplitude == AmplitudeScale::SineFlatness;
    if (unit == unit::kMVrms || unit == unit::kDBmV) {
        if (!sine) {
            failWith(link, kMsgAmplitudeUnit);
            return true;
        }
        if (unit == unit::kMVrms) {
            a = CSng((static_cast<double>(a) + a) * amplitude::kSqrt2);
        } else {
            const double p = std::pow(10.0, a / amplitude::kDbPerDecade);
            a = CSng((p + p) * amplitude::kSqrt2);
        }
    }
    if (a > kMaxMv) {
        failWith(link, kMsgAmplitudeTooHigh);
        return true;
    }
    float gain = s.cal.flat1M;
    if (sine) {
        gain = flatness(s.cal, s.gen.sgfreq);
    } else if (mode.amplitude == AmplitudeScale::Ramp) {
        gain = CSng(kRampGain);
    }
    gain = boosted(gain, a);
    s.gen.sgaten = 0;
    if (mode.amplitude == AmplitudeScale::Square2Level) {
        // The level reaches the device with the output-stage commands.
        s.gen.sgaten = square2Level(s.cal, a);
        return true;
    }
    std::int32_t asf = amplitudeScale(a, s.cal.ampfullscale, gain);
    if (asf < 0) {
        throw RuntimeError(kOverflow);
    }
    if (asf > kAsfMax) {
        asf = kAsfMax;
        link.ui().MsgBox(kMsgAmplitudeClamped);
    }
    return link.send(amplitudeCommand(asf), kLabelAmplitude);
}

}  // namespace

std::int32_t amplitudeScale(double mv, double fullScaleMv, double gain) {
    return CLng(divide(mv * kAsfMax, fullScaleMv) * gain);
}

Command amplitudeCommand(std::int32_t asf) {
    const BytePair bytes = lowBytes(asf);
    return {code::kAmplitude, bytes.high, bytes.low, 0, 0, 0};
}

void SetVpp(frmMainControls& panel, Link& link, const OutputTraits& mode) {
    runOrFail(link, kMsgAmplitudeError, [&] { return applyVpp(panel, link, mode); });
}

void sgstop(frmMainControls& panel, Link& link) {
    runOrFail(link, kMsgStopError, [&] {
        const double n = CDbl(panel.Vpp->text);
        const std::int32_t asf = amplitudeScale(n, link.state().cal.ampfullscale, 1);
        // Only a 14-bit scale factor fits the amplitude register.
        if (asf < 0 || asf > kAsfMax) {
            throw RuntimeError(kOverflow);
        }
        return link.send(amplitudeCommand(asf), kLabelStopAmplitude);
    });
}

}  // namespace tunx
