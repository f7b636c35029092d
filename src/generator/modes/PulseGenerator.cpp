#include "dds/Pulse.h"
#include "dds/Units.h"
#include "generator/OutputMode.h"
#include "generator/SetUpSteps.h"
#include "generator/Validation.h"

namespace tunx::modes {

namespace {

constexpr const char* kAmplitudeRangeVpp = "Amplitude range must be between 10 mVpp and 5000 mVpp";
constexpr const char* kPulseNumeric = "Pulse range must be a numeric value between 10 ns and 10 s";
constexpr const char* kPulseRange = "Pulse range must be between 10 ns and 10 s";
constexpr double kMinPulseNs = 10;
constexpr double kMaxPulseNs = 10'000'000'000;

// Nanoseconds per unit of PulseUnit: ms, us, anything else ns.
double pulseFactor(const frmMainControls& panel) {
    const std::string& unit = panel.PulseUnit->text;
    if (unit == unit::kMs) {
        return 1'000'000;
    }
    if (unit == unit::kUs) {
        return 1000;
    }
    return 1;
}

// The pause is not checked.
std::string validate(frmMainControls& panel, Link&, const OutputMode&) {
    using namespace rules;
    const Entry a = read(panel.Vpp, amplitudeFactorOther(panel));
    const Entry o = offset(panel);
    const Entry p = read(panel.Pulse, pulseFactor(panel));
    return firstFailure({{a.numeric, kAmplitudeNumeric},
                         {o.numeric, kOffsetNumeric},
                         {p.numeric, kPulseNumeric},
                         {amplitudeInRange(a), kAmplitudeRangeVpp},
                         {offsetInRange(o), kOffsetRange},
                         {within(p.value, kMinPulseNs, kMaxPulseNs), kPulseRange}});
}

}  // namespace

extern const OutputMode kPulseGenerator = {
    .name = "Pulse Generator",
    .layout = {.pulse = true,
               .invert = true,
               .outmode = true,
               .loutmode = true,
               .amplitude = true,
               .offset = true},
    .limitations = {"Minimum pulse: 10ns", "Maximum Pulse 5s", "Amplitude Range:  10mV - 5000mV",
                    "Offset Range:       -1V   - +4V"},
    .limitationsEndInBreak = true,
    .validate = validate,
    .setUp = {{step::bias, kStopOnError}, {step::run<SetPulse>, kStopOnError}, {step::vpp}},
    .example = {{&frmMainControls::Vpp, "1"},
                {&frmMainControls::Pulse, "10"},
                {&frmMainControls::Pause, "15"}},
    .remoteName = "PULSe",
};

}  // namespace tunx::modes
