// The generator: its function, frequency, amplitude and offset, and the output. Settings go
// into the generator window's fields as typing would; while the output runs continuously a new
// frequency, amplitude or offset is applied at once with the window's Refresh.
#include <array>
#include <cmath>

#include "cli/Actions.h"
#include "common/Numbers.h"
#include "dds/AmplitudeEntry.h"
#include "dds/Units.h"
#include "generator/Limits.h"
#include "generator/OutputMode.h"
#include "remote/CommandTable.h"
#include "remote/Panel.h"
#include "remote/Params.h"
#include "remote/Reply.h"

namespace tunx::remote {

namespace {

constexpr const char* kNoFunction = "NONE";

constexpr double kMilli = 1000.0;
constexpr std::string_view kHz = "HZ";
constexpr std::string_view kVolt = "V";

const OutputMode* currentMode(frmMain& gen) {
    return outputModeOf(gen.ModeSelect->text);
}

std::string modeName(frmMain& gen) {
    return gen.ModeSelect->text;
}

// The frequencies the panel accepts in the mode; without a mode, what the generator can put out.
param::Bounds frequencyBounds(const OutputMode* mode) {
    const FrequencyRange range =
        mode != nullptr ? mode->frequencyHz : FrequencyRange{0, limits::kMaxFrequencyHz};
    return {range.lowest, range.highest, {}};
}

param::Bounds amplitudeBounds() {
    return {limits::kMinAmplitudeMv / kMilli, limits::kMaxAmplitudeMv / kMilli, {}};
}

param::Bounds offsetBounds() {
    return {limits::kMinOffsetMv / kMilli, limits::kMaxOffsetMv / kMilli, 0.0};
}

// A number for a field and the unit beside it: the largest unit that leaves a number of at least
// 1 whose text gives back exactly the same value.
struct Entry {
    std::string text;
    const char* unit;
};
Entry frequencyEntry(double hz) {
    for (const char* u : {unit::kMHz, unit::kKHz}) {
        const double factor = hzPerUnit(u);
        const std::string text = fieldText(hz / factor);
        const std::optional<double> back = parseNumber(text);
        if (hz >= factor && back && *back * factor == hz) {
            return {text, u};
        }
    }
    return {fieldText(hz), unit::kHz};
}

// A running output takes the new setting at once, as Refresh after typing would.
void applyIfRunning(Call& c) {
    frmMain& gen = c.program.generator();
    if (outputRunning(gen)) {
        press(c.program, gen, *gen.RefreshBtn);
    }
}

void setFunction(Call& c) {
    const Param& p = c.params[0];
    for (const OutputMode* mode : outputModes()) {
        if (p.kind == Param::Kind::Character && mnemonicMatches(mode->remoteName, p.text)) {
            frmMain& gen = c.program.generator();
            requireEnabled(*gen.ModeSelect, "the mode list");
            cli::chooseIn(c.program, gen, *gen.ModeSelect, mode->text());
            return;
        }
    }
    throw ScpiError(error::kIllegalValue, "an output function is needed");
}

void queryFunction(Call& c) {
    const OutputMode* mode = currentMode(c.program.generator());
    c.reply = reply::word(mode != nullptr ? mnemonicShortForm(mode->remoteName) : kNoFunction);
}

void setFrequency(Call& c) {
    frmMain& gen = c.program.generator();
    const param::Bounds bounds = frequencyBounds(currentMode(gen));
    const double hz = param::numberWithin(
        c.params[0], kHz, bounds,
        reply::number(bounds.min) + " to " + reply::number(bounds.max) + " Hz in " + modeName(gen));
    requireEnabled(*gen.Frek, "the frequency of " + modeName(gen));
    const Entry e = frequencyEntry(hz);
    chooseEntry(c.program, gen, *gen.frequnit, e.unit);
    typeText(c.program, gen, *gen.Frek, e.text);
    applyIfRunning(c);
}

void queryFrequency(Call& c) {
    frmMain& gen = c.program.generator();
    if (!c.params.empty()) {
        c.reply = reply::number(param::number(c.params[0], kHz, frequencyBounds(currentMode(gen))));
        return;
    }
    const std::string& u = gen.frequnit->text;
    const std::optional<double> n = fieldNumber(*gen.Frek);
    const bool known = u == unit::kHz || u == unit::kKHz || u == unit::kMHz;
    c.reply = reply::number(n && known ? *n * hzPerUnit(u) : kNotKnown);
}

void setAmplitude(Call& c) {
    frmMain& gen = c.program.generator();
    const param::Bounds bounds = amplitudeBounds();
    const double vpp = param::numberWithin(
        c.params[0], kVolt, bounds,
        reply::number(bounds.min) + " to " + reply::number(bounds.max) + " Vpp");
    requireEnabled(*gen.Vpp, "the amplitude of " + modeName(gen));
    chooseEntry(c.program, gen, *gen.VppUnit, unit::kVpp);
    typeText(c.program, gen, *gen.Vpp, fieldText(vpp));
    applyIfRunning(c);
}

// The amplitude field in Vpp, converted as the generator converts its units.
std::optional<double> amplitudeVpp(frmMain& gen) {
    const std::optional<double> n = fieldNumber(*gen.Vpp);
    if (!n) {
        return std::nullopt;
    }
    const std::string& u = gen.VppUnit->text;
    using namespace amplitude;
    if (u == unit::kVpp) {
        return *n;
    }
    if (u == unit::kMVpp) {
        return *n / kMilliPerVolt;
    }
    if (u == unit::kMVrms) {
        return 2 * *n * kSqrt2 / kMilliPerVolt;
    }
    if (u == unit::kDBmV) {
        return 2 * std::pow(10.0, *n / kDbPerDecade) * kSqrt2 / kMilliPerVolt;
    }
    return std::nullopt;
}

void queryAmplitude(Call& c) {
    if (!c.params.empty()) {
        c.reply = reply::number(param::number(c.params[0], kVolt, amplitudeBounds()));
        return;
    }
    c.reply = reply::number(amplitudeVpp(c.program.generator()).value_or(kNotKnown));
}

void setOffset(Call& c) {
    frmMain& gen = c.program.generator();
    const param::Bounds bounds = offsetBounds();
    const double v =
        param::numberWithin(c.params[0], kVolt, bounds,
                            reply::number(bounds.min) + " to " + reply::number(bounds.max) + " V");
    requireEnabled(*gen.VBias, "the offset of " + modeName(gen));
    chooseEntry(c.program, gen, *gen.BiasMode, amplitude::kBiasManual);
    chooseEntry(c.program, gen, *gen.BiasUnit, unit::kV);
    typeText(c.program, gen, *gen.VBias, fieldText(v));
    applyIfRunning(c);
}

// The offset as the generator takes it: the field in its unit, none for "0.00V", half the
// amplitude for "Vpp/2".
void queryOffset(Call& c) {
    if (!c.params.empty()) {
        c.reply = reply::number(param::number(c.params[0], kVolt, offsetBounds()));
        return;
    }
    frmMain& gen = c.program.generator();
    const std::string& mode = gen.BiasMode->text;
    std::optional<double> v;
    if (mode == amplitude::kBiasZero) {
        v = 0.0;
    } else if (mode == amplitude::kBiasHalfVpp) {
        if (const std::optional<double> a = amplitudeVpp(gen)) {
            v = *a / 2;
        }
    } else if (mode == amplitude::kBiasManual) {
        const std::optional<double> n = fieldNumber(*gen.VBias);
        const std::string& u = gen.BiasUnit->text;
        if (n && u == unit::kV) {
            v = *n;
        } else if (n && u == unit::kMV) {
            v = *n / kMilli;
        }
    }
    c.reply = reply::number(v.value_or(kNotKnown));
}

void setOutput(Call& c) {
    frmMain& gen = c.program.generator();
    press(c.program, gen, param::boolean(c.params[0]) ? *gen.RUN : *gen.STOP);
}

}  // namespace

std::vector<Command> generatorCommands() {
    const Count oneOptional{0, 1};
    return {
        {.pattern = "[SOURce]:FUNCtion[:SHAPe]", .set = setFunction, .query = queryFunction},
        {.pattern = "[SOURce]:FREQuency[:CW]",
         .set = setFrequency,
         .query = queryFrequency,
         .queryParams = oneOptional},
        {.pattern = "[SOURce]:VOLTage[:LEVel][:IMMediate][:AMPLitude]",
         .set = setAmplitude,
         .query = queryAmplitude,
         .queryParams = oneOptional},
        {.pattern = "[SOURce]:VOLTage[:LEVel][:IMMediate]:OFFSet",
         .set = setOffset,
         .query = queryOffset,
         .queryParams = oneOptional},
        {.pattern = "OUTPut[:STATe]",
         .set = setOutput,
         .query = [](Call& c) { c.reply = reply::flag(outputOn(c.program.generator())); }},
    };
}

}  // namespace tunx::remote
