#include "monitor/scope/RecordVolts.h"

#include <string>

#include "monitor/Form1.h"
#include "monitor/scope/Measurements.h"
#include "monitor/scope/Ranges.h"
#include "monitor/scope/TimeBase.h"

namespace tunx {

namespace {

constexpr double kUnitsPerDivision = 64;

// Volts per division of the range a channel's label shows; 0 when it shows none.
double voltsPerDivision(const Ctl& label) {
    const VoltsRange* range = findRange(label->text);
    return range == nullptr ? 0 : voltsPerDivision(*range);
}

std::vector<double> volts(const Samples& s, std::size_t count, bool twelveBit, double vdiv,
                          double pos, double scale) {
    std::vector<double> out;
    out.reserve(count);
    for (std::size_t n = 1; n <= count && n < s.size(); ++n) {
        const double units = twelveBit ? s[n] * scale : 2.0 * s[n];
        out.push_back((units - pos) * vdiv / kUnitsPerDivision);
    }
    return out;
}

}  // namespace

void keepRecord(Form1& w, const Samples* ch1, const Samples* ch2, std::size_t samples,
                bool twelveBit) {
    MonitorState& m = w.mon();
    ScopeRecord& r = m.scopeRecord;
    const TimeBase* tb = findTimeBase(w.tdivtext->text + "/div");
    r.interval = tb == nullptr ? 0 : secondsPerDivision(*tb) * m.hexpand / kUnitsPerDivision;
    r.ch1 = ch1 == nullptr ? std::vector<double>{}
                           : volts(*ch1, samples, twelveBit, voltsPerDivision(w.ch1vdivtext),
                                   m.ch1pos, m.ch1scale);
    r.ch2 = ch2 == nullptr ? std::vector<double>{}
                           : volts(*ch2, samples, twelveBit, voltsPerDivision(w.ch2vdivtext),
                                   m.ch2pos, m.ch2scale);
    ++m.recordsKept;
    for (const auto& [label, values, name] :
         {std::tuple{w.measch1, &r.ch1, "CH1"}, std::tuple{w.measch2, &r.ch2, "CH2"}}) {
        label->visible = !values->empty();
        label->text =
            values->empty() ? std::string() : measurementText(name, measure(*values, r.interval));
    }
}

void hideMeasurements(Form1& w) {
    w.measch1->visible = false;
    w.measch2->visible = false;
}

}  // namespace tunx
