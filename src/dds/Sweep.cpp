#include "dds/Sweep.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "common/Numbers.h"
#include "common/RegisterBytes.h"
#include "common/RuntimeError.h"
#include "dds/Failure.h"
#include "dds/MainClock.h"
#include "dds/Units.h"
#include "dds/WaveRam.h"
#include "window/CheckBox.h"

namespace tunx {

namespace {

// Messages of the sweep fields.
constexpr const char* kMsgStartRange = "Sart Frequency Out Of Range! Valid range is 10Hz to 200Mhz";
constexpr const char* kMsgStopRange = "Stop Frequency Out Of Range! Valid range is 10Hz to 200Mhz";
constexpr const char* kMsgEnterSteps = "Enter Steps Count";
constexpr const char* kMsgStepsRange = "Steps Count Out of range!,Valid range is 2 to 1000";
constexpr const char* kMsgEnterStepTime = "Enter Step time";
constexpr const char* kMsgStepTimeFast = "Step time Out of range!,Valid range is 1 to 650";
constexpr const char* kMsgStepTimeSlow = "Step time Out of range!,Valid range is 1 to 10000";
constexpr const char* kMsgSweepError = "Error Seting SweepGen!";
// Messages of the modulation fields.
constexpr const char* kMsgAmFactorNumber = "Input V. for 100% AM must be a number";
constexpr const char* kMsgAmFactorSmall = "Input V. for 100% AM is too close to 0";
constexpr const char* kMsgFmRangeNumber = "FM Range @4VPP must be a number";
constexpr const char* kMsgFmRangeLarge = "FM Range @4VPP is out of range";

constexpr const char* kLabelSweepMultipliers = "Set_Sweep_CMD23_";
constexpr const char* kLabelSweepControl1 = "Set_Sweep_CFR1_";
constexpr const char* kLabelSweepControl2 = "Set_Sweep_CFR2_";
constexpr const char* kLabelSweepStart = "Set_Sweep_CMD20_";
constexpr const char* kLabelModControl1 = "Set_Modulation_CFR1_";
constexpr const char* kLabelModControl2 = "Set_Modulation_CFR2_";
constexpr const char* kLabelModStart = "Set_Modulation_CMD20_";
constexpr const char* kLabelModStartAm = "Set_Modulation_Cmd20_";
constexpr const char* kLabelModMultipliers = "Set_Modulation_CMD23_";

constexpr float kSlowClockTop = 20000;  // stop frequencies up to here use the 20 MHz clock
// RAM steps of 10 ns at 400 MHz and 200 ns at 20 MHz: multiplier per microsecond.
constexpr std::int32_t kFastStepsPerUs = 100;
constexpr std::int32_t kSlowStepsPerUs = 5;
constexpr std::int32_t kFastStepTimeMax = 650;
constexpr std::int32_t kSlowStepTimeMax = 10000;
constexpr std::int32_t kStepTimeMin = 1;
constexpr std::int32_t kStepsMin = 2;
constexpr std::int32_t kStepsMax = 1000;
constexpr float kFrequencyMin = 10;
constexpr float kFrequencyMax = 200'000'000;
// The sweep's own tuning scale (not 2^32, and without the clock correction).
constexpr double kSweepWordScale = 4'294'722'500.0;

constexpr int kRamSettleMs = 1;
constexpr int kModulationSettleMs = 100;

constexpr int kSweepContinuous = 130;
constexpr int kSweepSingle = 138;
constexpr Command kModulationControl1{code::kCfr1, 2, 0, 2, 64, 0};
constexpr Command kInternalFmStart{code::kStart, 4, 1, 0, 0, 0};
constexpr Command kSingleSweepStart{code::kStart, 3, 1, 0, 0, 0};

// A sweep frequency in hertz, single precision as the fields are kept. The unit text is
// trimmed, as the panel's validation reads it.
float sweepFrequency(Ctl field, Ctl unitField) {
    const float value = CSng(CDbl(field->text));
    return CSng(value * hzPerUnit(trim(unitField->text)));
}

struct SweepList {
    bool fastClock = false;
    std::int32_t multiplier = 0;  // RAM steps per list entry
    std::vector<std::int32_t> words;
};

// Reads and checks the sweep fields and computes the frequency list, from the stop frequency
// down. The first failed check shows its message and gives nothing; a field that is not a
// number raises RuntimeError.
std::optional<SweepList> readSweepList(frmMainControls& panel, Link& link) {
    Ui& ui = link.ui();
    const float start = sweepFrequency(panel.startf, panel.startfunit);
    if (start < kFrequencyMin || start > kFrequencyMax) {
        ui.MsgBox(kMsgStartRange);
        return std::nullopt;
    }
    const float stop = sweepFrequency(panel.stopf, panel.stopfunit);
    if (stop < kFrequencyMin || stop > kFrequencyMax) {
        ui.MsgBox(kMsgStopRange);
        return std::nullopt;
    }
    SweepList list;
    list.fastClock = stop > kSlowClockTop;
    panel.lmainclk->text = list.fastClock ? kClockLabel400MHz : kClockLabel20MHz;
    const double clock = list.fastClock ? kSystemClockHz : kLowClockHz;

    if (panel.stepcnt->text.empty()) {
        ui.MsgBox(kMsgEnterSteps);
        return std::nullopt;
    }
    const std::int32_t steps = CLng(CDbl(panel.stepcnt->text));
    if (steps < kStepsMin || steps > kStepsMax) {
        ui.MsgBox(kMsgStepsRange);
        return std::nullopt;
    }
    if (panel.steptime->text.empty()) {
        ui.MsgBox(kMsgEnterStepTime);
        return std::nullopt;
    }
    const std::int32_t stepTime = CLng(CDbl(panel.steptime->text));
    const std::int32_t stepTimeMax = list.fastClock ? kFastStepTimeMax : kSlowStepTimeMax;
    if (stepTime < kStepTimeMin || stepTime > stepTimeMax) {
        ui.MsgBox(list.fastClock ? kMsgStepTimeFast : kMsgStepTimeSlow);
        return std::nullopt;
    }
    list.multiplier = stepTime * (list.fastClock ? kFastStepsPerUs : kSlowStepsPerUs);

    const float step = CSng((stop - start) / static_cast<double>(steps));
    float f = stop;
    list.words.reserve(static_cast<std::size_t>(steps));
    for (std::int32_t i = 0; i < steps; ++i) {
        list.words.push_back(CLng(f * kSweepWordScale / clock));
        f = f - step;
    }
    return list;
}

// RAM write command, then the list's words raw.
bool writeSweepList(Link& link, const SweepList& list, bool settle) {
    if (!ramwrinit(link, 0, static_cast<std::int32_t>(list.words.size()))) {
        return false;
    }
    if (settle) {
        link.clock().Sleep(kRamSettleMs);
    }
    for (std::int32_t w : list.words) {
        writeram32(link, w);
    }
    return true;
}

// Step multiplier and the second profile's multiplier (multi2).
Command multipliersCommand(const frmMainControls& panel, const SweepList& list) {
    const BytePair step = lowBytes(list.multiplier);
    const BytePair m2 = split16(CDbl(panel.multi2->text));
    return {code::kMultipliers, step.high, step.low, m2.high, m2.low, 0};
}

Command control2Command(const SweepList& list) {
    return list.fastClock ? kCfr2At400MHz : cfr2At20MHz(code::kCfr2);
}

bool programSweep(frmMainControls& panel, Link& link) {
    const auto list = readSweepList(panel, link);
    if (!list || !writeSweepList(link, *list, true)) {
        return false;
    }
    if (!link.rxver(kLabelRamAck)) {
        return false;
    }
    if (!link.send(multipliersCommand(panel, *list), kLabelSweepMultipliers)) {
        return false;
    }
    const bool single = ticked(*panel.singlesw);
    if (!link.send({code::kCfr1, single ? kSweepSingle : kSweepContinuous, 0, 2, 64, 0},
                   kLabelSweepControl1)) {
        return false;
    }
    if (!link.send(control2Command(*list), kLabelSweepControl2, kCfr2TimeoutMs)) {
        return false;
    }
    return !single || link.send(kSingleSweepStart, kLabelSweepStart);
}

// The internal FM: the sweep list played continuously. The device's acknowledgement of the
// words is not read; the next command's flush discards it.
bool programInternalFm(frmMainControls& panel, Link& link) {
    if (!link.send(kInternalFmStart, kLabelModStart)) {
        return false;
    }
    panel.lmainclk->text = kClockLabel400MHz;
    const auto list = readSweepList(panel, link);
    if (!list || !writeSweepList(link, *list, false)) {
        return false;
    }
    if (!link.send(multipliersCommand(panel, *list), kLabelModMultipliers)) {
        return false;
    }
    link.clock().Sleep(kModulationSettleMs);
    if (!link.send({code::kCfr1, kSweepContinuous, 0, 2, 64, 0}, kLabelModControl1)) {
        return false;
    }
    return link.send(control2Command(*list), kLabelModControl2);
}

// A value as a 16-bit command byte; nullopt after `message` when it does not fit 16 bits. A
// value that fits 16 bits but not a byte goes to the link, which refuses to build the frame
// and says so in its own message.
std::optional<int> commandByte(Ui& ui, double value, const char* message) {
    const double whole = roundHalfEven(value);
    if (!(whole >= std::numeric_limits<std::int16_t>::min() &&
          whole <= std::numeric_limits<std::int16_t>::max())) {
        ui.MsgBox(message);
        return std::nullopt;
    }
    return static_cast<int>(whole);
}

bool programModulation(frmMainControls& panel, Link& link) {
    if (!link.send(kModulationControl1, kLabelModControl1)) {
        return false;
    }
    Ui& ui = link.ui();
    const std::string& type = panel.modtype->text;
    if (type == kModExternalFm) {
        // The FM range for a 4 Vpp input travels in one byte.
        const auto number = parseNumber(panel.fmdrange->text);
        if (!number) {
            ui.MsgBox(kMsgFmRangeNumber);
            return false;
        }
        const auto range = commandByte(ui, *number, kMsgFmRangeLarge);
        return range && link.send({code::kStart, 2, *range, 2, 0, 0}, kLabelModStart);
    }
    if (type == kModExternalAm) {
        // The input voltage for 100% AM, as the device's gain step 4 / V.
        const auto volts = parseNumber(panel.amfactor->text);
        if (!volts) {
            ui.MsgBox(kMsgAmFactorNumber);
            return false;
        }
        if (*volts == 0) {
            ui.MsgBox(kMsgAmFactorSmall);
            return false;
        }
        const auto gain = commandByte(ui, 4 / *volts, kMsgAmFactorSmall);
        return gain && link.send({code::kStart, 1, *gain, 2, 0, 0}, kLabelModStartAm);
    }
    if (type == kModInternalFm) {
        return programInternalFm(panel, link);
    }
    return true;
}

}  // namespace

void SetSweepGen(frmMainControls& panel, Link& link) {
    runOrFail(link, kMsgSweepError, [&] { return programSweep(panel, link); });
}

void SetModulation(frmMainControls& panel, Link& link) {
    // The failed step has shown what went wrong (the link's messages or a field's message); a
    // run-time error that no field check foresaw is shown as such. Either way the refresh must
    // learn that the output is not set.
    try {
        if (programModulation(panel, link)) {
            return;
        }
    } catch (const RuntimeError& e) {
        link.ui().MsgBox(e.description(), MsgIcon::Critical, kRunTimeErrorTitle);
    }
    link.state().gen.sgerror = true;
}

}  // namespace tunx
