// "Cal. Offset": the channel offsets measured from one free-running record and corrected.
#include "common/Numbers.h"
#include "common/RuntimeError.h"
#include "link/Relay.h"
#include "monitor/Form1.h"
#include "monitor/Ranges.h"
#include "monitor/ScopeReadout.h"
#include "monitor/ScopeSetup.h"

namespace tunx {

namespace {

constexpr double kScreenUnits = 512;

bool voltRange(const std::string& text) {
    const VoltsRange* r = findRange(text);
    return r != nullptr && r->group != RangeGroup::MilliVolt;
}

// Moves one channel's offset calibration by the error of its average and re-sends the
// offset DAC; false when the command failed.
bool correct(Form1& w, Channel ch) {
    MonitorState& m = w.mon();
    const bool one = ch == Channel::CH1;
    const std::int16_t pos = one ? m.ch1pos : m.ch2pos;
    const std::int16_t average = one ? m.scopeavg1 : m.scopeavg2;
    const std::int16_t span = one ? m.ch1span : m.ch2span;
    std::int16_t& offcal = one ? m.ch1offcal : m.ch2offcal;
    const float slope = one ? m.ch1offslope : m.ch2offslope;
    const int d = pos - average;
    if (d == 0 || average == 0) {
        return true;
    }
    const std::int32_t e = CLng(d / kScreenUnits * span);
    offcal = CInt(offcal - divide(e, slope));
    const std::int32_t value = offsetDacValue(pos, span, offcal, slope);
    return w.link().send(dacCommand(offsetDacChannel(ch), value), kRelayStep);
}

}  // namespace

void calscopeoffset(Form1& w) {
    MonitorState& m = w.mon();
    setscopeforcalb(w);
    getscopeavg(w);
    if (!correct(w, Channel::CH1) || !correct(w, Channel::CH2)) {
        return;
    }
    Calibration& cal = w.state().cal;
    if (voltRange(w.ch1vdiv->text)) {
        cal.ch1offv = m.ch1offcal;
    } else {
        cal.ch1offmv = m.ch1offcal;
    }
    if (voltRange(w.ch2vdiv->text)) {
        cal.ch2offv = m.ch2offcal;
    } else {
        cal.ch2offmv = m.ch2offcal;
    }
}

void Form1::Command2_Click() {
    calscopeoffset(*this);
}

}  // namespace tunx
