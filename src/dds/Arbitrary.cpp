// The Arbitrary mode's set-up: clock, the two profiles, multipliers and control register 1.
#include "common/Numbers.h"
#include "common/RegisterBytes.h"
#include "dds/Failure.h"
#include "dds/MainClock.h"
#include "dds/Profile.h"
#include "dds/RateTable.h"
#include "dds/StepClock.h"
#include "dds/WaveRam.h"
#include "window/CheckBox.h"

namespace tunx {

namespace {

constexpr const char* kMsgArbitraryError = "Error Seting Arbitrary!";
constexpr const char* kMsgMinTimeRange = "Min t(ns) is out of range!Valid Range is 10-66ns";
constexpr const char* kLabelCfr2 = "Set_Arbitrary_CFR2_";
constexpr const char* kLabelProfile1 = "Set_Arbitrary_CMD21_";
constexpr const char* kLabelProfile2 = "Set_Arbitrary_CMD22_";
constexpr const char* kLabelMultipliers = "Set_Arbitrary_CMD23_";
constexpr const char* kLabelCfr1 = "Set_Arbitrary_PROFILE_CFR1_";
constexpr const char* kLabelStart = "Set_Arbitrary_CMD20_";
constexpr std::int32_t kStartTimeoutMs = 2000;

constexpr const char* kSystemClockMinTime = "10.00";
constexpr double kMinTimeLowNs = 10;
constexpr double kMinTimeHighNs = 66;
constexpr double kSettingUnitHz = 5000;   // the reference setting counts 5 kHz steps
constexpr int kBelowTableMultiplier = 1;  // step rates under the table's first row
constexpr int kProfilePause = 1;

// Control register 1 byte 1 by play mode and profile 2, for Voltage, Freq and Phase.
struct Cfr1Row {
    int voltage, freq, phase;
};
constexpr Cfr1Row kContinuousTwoProfiles{224, 162, 226};
constexpr Cfr1Row kSingleTwoProfiles{200, 138, 202};
constexpr Cfr1Row kOneProfile{192, 130, 194};
constexpr int kCfr1VoltageByte3 = 34;
constexpr int kCfr1OtherByte3 = 2;

constexpr int kStartByte1 = 3;
constexpr int kStartByte2 = 1;

int cfr1Byte(ArbTarget target, bool single, bool twoProfiles) {
    const Cfr1Row& row = !twoProfiles ? kOneProfile
                         : single     ? kSingleTwoProfiles
                                      : kContinuousTwoProfiles;
    switch (target) {
        case ArbTarget::Freq:
            return row.freq;
        case ArbTarget::Phase:
            return row.phase;
        case ArbTarget::Voltage:
            break;
    }
    return row.voltage;
}

// Freq and Phase run the RAM at the 400 MHz system clock.
bool systemClock(frmMainControls& panel, Link& link) {
    Control& mintimen = *panel.mintimen;
    mintimen.text = kSystemClockMinTime;
    mintimen.enabled = false;
    link.state().gen.ramclk = kSystemClockHz;
    if (!sendClockSetting(panel, link, kClockLabel400MHz, kClockSetting400MHz, false)) {
        return false;
    }
    return link.send(kCfr2At400MHz, kLabelCfr2);
}

// Voltage runs the RAM at the step clock that comes closest to the minimum sample time.
bool voltageClock(frmMainControls& panel, Link& link) {
    Control& mintimen = *panel.mintimen;
    mintimen.enabled = true;
    const double t = CDbl(mintimen.text);
    if (t < kMinTimeLowNs || t > kMinTimeHighNs) {
        link.ui().MsgBox(kMsgMinTimeRange);
        return false;
    }
    link.state().gen.ramclk = CLng(CInt(divide(1000.0, 5.0 * t)) * kStepClockUnitHz);
    const std::int32_t rate = CLng(divide(1.0, t * 1e-9));
    int m = clockMultiplier(rate);
    if (m == 0) {
        m = kBelowTableMultiplier;
    }
    const double quarterM = m / 4.0;
    const std::int16_t setting = CInt(rate / quarterM / kSettingUnitHz);
    const std::int32_t actual = CLng(setting * kSettingUnitHz * quarterM);
    mintimen.text = formatFixed(divide(1e9, actual), 2);
    const double hertz = roundHalfEven(rate / quarterM) * quarterM;
    return sendStepClock(panel, link, {m, setting, hertz}, SettingSend::OnLabelChange,
                         RegisterCode::Cfr2);
}

double field(Ctl box) {
    return CDbl(box->text);
}

bool programArbitrary(frmMainControls& panel, Link& link) {
    if (!sendRamOutputPath(link)) {
        return false;
    }
    const ArbTarget target = arbTarget(panel.arbit->text);
    if (!(target == ArbTarget::Voltage ? voltageClock(panel, link) : systemClock(panel, link))) {
        return false;
    }
    link.clock().Sleep(kProfilePause);

    const double count1 = CInt(field(panel.endpt1)) - CInt(field(panel.startpt1)) + 1.0;
    const double count2 = CInt(field(panel.endpt2)) - CInt(field(panel.startpt2)) + 1.0;
    const BytePair c1 = split16(count1);
    const BytePair a1 = split16(field(panel.startpt1));
    if (!link.send({code::kProfile1, c1.high, c1.low, a1.high, a1.low, 0}, kLabelProfile1)) {
        return false;
    }
    const BytePair c2 = split16(count2);
    const BytePair a2 = split16(field(panel.startpt2));
    if (!link.send({code::kProfile2, c2.high, c2.low, a2.high, a2.low, 0}, kLabelProfile2)) {
        return false;
    }
    const BytePair m1 = split16(field(panel.multi1));
    const BytePair m2 = split16(field(panel.multi2));
    if (!link.send({code::kMultipliers, m1.high, m1.low, m2.high, m2.low, 0}, kLabelMultipliers)) {
        return false;
    }
    const bool single = panel.arbmode->text == kPlaySingle;
    const bool twoProfiles = ticked(*panel.enpr2);
    const int byte3 = target == ArbTarget::Voltage ? kCfr1VoltageByte3 : kCfr1OtherByte3;
    if (!link.send({code::kCfr1, cfr1Byte(target, single, twoProfiles), 0, byte3, 0, 0},
                   kLabelCfr1)) {
        return false;
    }

    const double minTime = CDbl(panel.mintimen->text);
    panel.samplet1->text = formatFixed(minTime * field(panel.multi1), 2);
    panel.samplet2->text = formatFixed(minTime * field(panel.multi2), 2);
    panel.profilet1->text = formatFixed(count1 * CDbl(panel.samplet1->text), 2);
    panel.profilet2->text = formatFixed(count2 * CDbl(panel.samplet2->text), 2);

    if (single) {
        return link.send({code::kStart, kStartByte1, kStartByte2, twoProfiles ? 1 : 0, 0, 0},
                         kLabelStart, kStartTimeoutMs);
    }
    return true;
}

}  // namespace

void setarb(frmMainControls& panel, Link& link) {
    runOrFail(link, kMsgArbitraryError, [&] { return programArbitrary(panel, link); });
}

}  // namespace tunx
