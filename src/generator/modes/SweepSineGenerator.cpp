#include "common/Numbers.h"
#include "dds/Sweep.h"
#include "dds/Units.h"
#include "generator/OutputMode.h"
#include "generator/SetUpSteps.h"
#include "generator/Validation.h"

namespace tunx::modes {

namespace {

constexpr const char* kStartNumeric =
    "Start frequency must be a numeric value between 10 Hz and 100 MHz";
constexpr const char* kStopNumeric =
    "Stop frequency must be a numeric value between 10 Hz and 100 MHz";
constexpr const char* kStepsNumeric =
    "Number of steps range must be a numeric value between 2 and 1000";
constexpr const char* kStepTimeNumeric =
    "Step time must be in range 1 - 10000 where freq 10Hz - 20kHz,\r\n"
    "OR, 1 - 650 where freq 20kHz - 200MHz";
constexpr const char* kFrequencyRange = "Frequency must be between 10 Hz and 200 MHz";
constexpr const char* kStepTimeLow = "Step time must be 1 - 10000 when frequency 10 Hz - 20 kHz";
constexpr const char* kStepTimeHigh = "Step time must be 1 - 650 when frequency 20 kHz - 100 MHz";
constexpr const char* kStepsRange = "Number of steps must be between 2 and 1000";

constexpr double kMinHz = 10;
constexpr double kMaxHz = 200'000'000;
constexpr double kSplitHz = 20'000;
constexpr double kMinStepTimeUs = 1;
constexpr double kMaxStepTimeLowUs = 10'000;
constexpr double kMaxStepTimeHighUs = 650;
constexpr double kMinSteps = 2;
constexpr double kMaxSteps = 1000;

// Hertz per unit of a sweep unit field, trimmed first: Hz, kHz, MHz, anything else 0.
double sweepFactor(Ctl unitField) {
    const std::string unit = trim(unitField->text);
    if (unit == unit::kHz) {
        return 1;
    }
    if (unit == unit::kKHz) {
        return 1000;
    }
    if (unit == unit::kMHz) {
        return 1'000'000;
    }
    return 0;
}

// The step time limit depends on the band the sweep lies in; a sweep across 20 kHz has none.
bool stepTimeFits(double start, double stop, double stepTime, bool lowBand) {
    const bool startLow = start <= kSplitHz;
    const bool stopLow = stop <= kSplitHz;
    if (lowBand) {
        return !(startLow && stopLow) || rules::within(stepTime, kMinStepTimeUs, kMaxStepTimeLowUs);
    }
    return startLow || stopLow || rules::within(stepTime, kMinStepTimeUs, kMaxStepTimeHighUs);
}

std::string validate(frmMainControls& panel, Link&, const OutputMode&) {
    using namespace rules;
    const Entry s1 = read(panel.startf, sweepFactor(panel.startfunit));
    const Entry s2 = read(panel.stopf, sweepFactor(panel.stopfunit));
    const Entry a = read(panel.Vpp, amplitudeFactorOther(panel));
    const Entry o = offset(panel);
    const Entry n = read(panel.stepcnt, 1);
    const Entry t = read(panel.steptime, 1);
    return firstFailure(
        {{s1.numeric, kStartNumeric},
         {s2.numeric, kStopNumeric},
         {a.numeric, kAmplitudeNumeric},
         {o.numeric, kOffsetNumeric},
         {n.numeric, kStepsNumeric},
         {t.numeric, kStepTimeNumeric},
         {within(s1.value, kMinHz, kMaxHz) && within(s2.value, kMinHz, kMaxHz), kFrequencyRange},
         {stepTimeFits(s1.value, s2.value, t.value, true), kStepTimeLow},
         {stepTimeFits(s1.value, s2.value, t.value, false), kStepTimeHigh},
         {amplitudeInRange(a), kAmplitudeRange},
         {offsetInRange(o), kOffsetRange},
         {within(n.value, kMinSteps, kMaxSteps), kStepsRange}});
}

}  // namespace

extern const OutputMode kSweepSineGenerator = {
    .name = "Sweep Sine Generator",
    .layout = {.sweep = true, .amplitude = true, .offset = true},
    .limitations = {"Frequency Range: 10 Hz -- 100MHz  (200Mhz)", "Amplitude Range:  10mV-5000mV",
                    "Offset Range:   -1V-+4V", "Steps range: 2-1000",
                    "Step time range: 1-10000 us for Frequency 10Hz-20kHz",
                    "Step time range: 1-650 us for Frequency 20kHz-200Mhz"},
    .limitationsEndInBreak = true,
    .validate = validate,
    .setUp = {{step::bias, kStopOnError}, {step::vpp, kStopOnError}, {step::run<SetSweepGen>}},
    // 10 kHz to 20 kHz in 1000 steps of 100 us.
    .example = {{&frmMainControls::Vpp, "1"}, {&frmMainControls::steptime, "100"}},
    .remoteName = "SWEep",
};

}  // namespace tunx::modes
