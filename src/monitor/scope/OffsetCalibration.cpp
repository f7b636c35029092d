// "Cal. Offset": the channel offsets measured from one free-running record and corrected.
#include "monitor/scope/OffsetCalibration.h"

#include "common/Numbers.h"
#include "common/RuntimeError.h"
#include "link/Relay.h"
#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/RunLoop.h"
#include "monitor/scope/Ranges.h"
#include "monitor/scope/ScopeReadout.h"
#include "monitor/scope/ScopeSetup.h"

namespace tunx {

namespace {

constexpr double kScreenUnits = 512;
constexpr const char* kFailedStart = "Cal. Offset failed: ";
constexpr const char* kFailedEnd = ". The calibration was not changed.";
constexpr const char* kNotSetUp = "the scope could not be set up";
constexpr const char* kNoRecord = "no whole record came from the scope";
constexpr const char* kNotAnswered = "the scope did not answer";
constexpr const char* kNotTaken = "the instrument did not take the new offset";

bool voltRange(const std::string& text) {
    const VoltsRange* r = findRange(text);
    return r != nullptr && r->group != RangeGroup::MilliVolt;
}

// Corrects one channel and re-sends its offset DAC; false when the command failed.
bool correct(Form1& w, Channel ch) {
    MonitorState& m = w.mon();
    const bool one = ch == Channel::CH1;
    std::int16_t& offcal = one ? m.ch1offcal : m.ch2offcal;
    const std::optional<OffsetCorrection> c =
        offsetCorrection(one ? m.ch1pos : m.ch2pos, one ? m.scopeavg1 : m.scopeavg2,
                         one ? m.ch1span : m.ch2span, offcal, one ? m.ch1offslope : m.ch2offslope);
    if (!c) {
        return true;
    }
    offcal = c->offcal;
    return w.link().send(dacCommand(offsetDacChannel(ch), c->dacValue), kRelayStep);
}

}  // namespace

std::optional<OffsetCorrection> offsetCorrection(std::int16_t pos, std::int16_t average,
                                                 std::int16_t span, std::int16_t offcal,
                                                 float slope) {
    const int d = pos - average;
    if (d == 0 || average == 0) {
        return std::nullopt;
    }
    const std::int32_t e = CLng(d / kScreenUnits * span);
    OffsetCorrection c;
    c.offcal = CInt(offcal - divide(e, slope));
    c.dacValue = offsetDacValue(pos, span, c.offcal, slope);
    return c;
}

void calscopeoffset(Form1& w) {
    MonitorState& m = w.mon();
    const std::string statusBefore = w.textstatus->text;
    // A calibration that fails says why and keeps the calibration it found.
    const auto fail = [&](const char* why) {
        w.ui().MsgBox(std::string(kFailedStart) + why + kFailedEnd);
        if (measuring(m)) {
            showRunState(w);
        } else {
            showFailed(w);
        }
    };
    if (!setscopeforcalb(w)) {
        fail(kNotSetUp);
        return;
    }
    // A channel the record does not carry keeps no average from an earlier record: it would
    // be corrected again by an error already corrected.
    m.scopeavg1 = 0;
    m.scopeavg2 = 0;
    const Averaged averaged = getscopeavg(w);
    if (averaged != Averaged::Taken) {
        fail(averaged == Averaged::NoRecord ? kNoRecord : kNotAnswered);
        return;
    }
    const std::int16_t ch1offcal = m.ch1offcal, ch2offcal = m.ch2offcal;
    if (!correct(w, Channel::CH1) || !correct(w, Channel::CH2)) {
        m.ch1offcal = ch1offcal;
        m.ch2offcal = ch2offcal;
        fail(kNotTaken);
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
    // The set-up said "Running"; once nothing runs the status says so again.
    if (measuring(m) || statusBefore != status::kIdleAtStart) {
        showRunState(w);
    } else {
        w.textstatus->text = statusBefore;
    }
}

void Form1::Command2_Click() {
    calscopeoffset(*this);
}

}  // namespace tunx
