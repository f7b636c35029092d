// The sweep analyser: the generator's sine stepped in frequency or amplitude, the RF
// detector read at each step and drawn as one column.
#include "monitor/sweep/Sweep.h"

#include <cmath>
#include <string>

#include "common/Numbers.h"
#include "common/RuntimeError.h"
#include "dds/Amplitude.h"
#include "dds/Flatness.h"
#include "dds/Units.h"
#include "generator/Layout.h"
#include "generator/OutputMode.h"
#include "generator/RunStop.h"
#include "generator/frmMain.h"
#include "link/Relay.h"
#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/RunLoop.h"
#include "monitor/plot/Plot.h"
#include "monitor/scope/ScopeReadout.h"
#include "monitor/scope/ScopeSetup.h"
#include "monitor/sweep/SweepLevel.h"
#include "monitor/sweep/SweepProgress.h"

namespace tunx {

namespace {

constexpr const char* kSweepSineFailed = "Error setting sweep sine";
constexpr const char* kBelow5kHz =
    "If start or stop Frequency is below 5kHz then Stop and Start Frequency must be below 5kHz";
constexpr const char* kCalFailed = "CAL ERROR";
constexpr const char* kNegativeFrequency = "Sweep frequencies cannot be negative.";
constexpr const char* kAboveGenerator =
    "Sweep frequencies above 200 MHz cannot be generated: enter 200 MHz or less.";
constexpr const char* kNotMeasured = "\u2014";
constexpr const char* kHertz = " Hz";
constexpr const char* kFtwStep = "SetFreq_FTW_";
constexpr const char* kCfr1Step = "SetFreq_CFR1_";
constexpr const char* kCfr2Step = "SetFreq_CFR2_";

constexpr Command kSweepCfr1{code::kCfr1, 2, 0, 2, 64, 0};
constexpr Command kSweepCfr2{code::kCfr2, 0, 2, 164, 0, 0};
constexpr std::int32_t kRegisterTimeoutMs = 2000;
constexpr int kRegisterPauseMs = 100;
constexpr std::int32_t kLevelDacFull = 1023;
constexpr int kAmplitudePauseMs = 20;
constexpr int kTuningPauseMs = 20;
constexpr int kCalPauseMs = 10;
constexpr int kCalReadings = 40;
constexpr int kDetectorPauseMs = 2;
constexpr double kDetectorMvPerCode = 3300.0 / 4096.0;

constexpr double kLowFrequencyLimit = 5000;
constexpr double kHighestFrequency = 200'000'000;  // the generator's half clock
constexpr double kColumns = 640;
constexpr std::int16_t kEndColumn = 673;
constexpr std::int16_t kFirstDrawn = 35;
constexpr int kSweepWidth = 2;

// SetVppmon: limits in mVpp and the rms-at-50-ohm factor of the open-circuit amplitude.
constexpr double kMaxEntry = 5500;
constexpr double kMinEntry = -100;
constexpr double kMaxMv = 5000;
constexpr double kRmsToPp = 4 * 1.4142;

// The fast sweep: the generator's own single sweep (its sweep mode), 1000 steps of 500 us, at 10
// mVpp first.
constexpr const char* kFastSteps = "1000";
constexpr const char* kFastStepTime = "500";
constexpr const char* kFastVpp = "10";

double hertz(const Ctl& value, const Ctl& unit) {
    return CDbl(value->text) * hzPerUnit(unit->text);
}

bool sendFtw(Form1& w, double hz, SweepRule rule) {
    const MonitorState& m = w.mon();
    const auto b = sweepTuningBytes(hz, rule, m.sweepclk, w.state().cal.clkcorr);
    return w.link().send({code::kFtw, b[0], b[1], b[2], b[3], 0}, kFtwStep);
}

// A sweep frequency the generator can put out; false, with a message, for one it cannot:
// negative, or above its 200 MHz (the points would all measure the same half-clock output).
bool generatorCanSweep(Form1& w, double hz) {
    if (hz < 0) {
        w.ui().MsgBox(kNegativeFrequency);
        return false;
    }
    if (!(hz <= kHighestFrequency)) {
        w.ui().MsgBox(kAboveGenerator);
        return false;
    }
    return true;
}

// Steps 3 to 6 of the frequency-sweep set-up, shared with the fast sweep. False (with a
// message) for limits the generator cannot sweep.
bool sweepLimits(Form1& w) {
    MonitorState& m = w.mon();
    const double start = hertz(w.startf, w.startfunit);
    const double stop = hertz(w.stopf, w.stopfunit);
    if (!generatorCanSweep(w, std::min(start, stop)) ||
        !generatorCanSweep(w, std::max(start, stop))) {
        return false;
    }
    m.sweepstartf = start + 1;
    m.sweepstopf = stop + 1;
    if (start < kLowFrequencyLimit && stop > kLowFrequencyLimit) {
        w.ui().MsgBox(kBelow5kHz);
    }
    const double centre = (stop - start) / 2 + start;
    const char group = w.state().host.groupSeparator;
    w.centerfr->text = formatGrouped(centre, 0, group) + kHertz;
    w.labstartfr->text = formatGrouped(start, 0, group) + kHertz;
    m.sweepclk = static_cast<std::int32_t>(kSweepClock);
    m.sweepstep = CLng(CLng(stop - start) / kColumns);
    m.sweepfreq = CLng(start);
    w.state().gen.sgfreq = CLng(centre);
    return true;
}

bool sweepStartSwitches(Form1& w) {
    return w.link().send(switchCommand(line::kBiasReadback, false), kRelayStep) &&
           w.link().send(switchCommand(line::kBiasReadback2, false), kRelayStep);
}

// Measures the level and draws the point at sweepx, joined to the point before when both were
// measured; the point taken `at` is kept. A reading that did not come leaves a gap.
void sweepPoint(Form1& w, double at) {
    MonitorState& m = w.mon();
    const bool joined = m.sweepx > kFirstDrawn && lastPointMeasured(w);
    m.prevx = static_cast<std::int16_t>(m.sweepx - 1);
    if (readrflevel(w)) {
        float dbv = 0;
        m.sweepy = static_cast<std::int16_t>(sweepRowOf(w, &dbv));
        keepPoint(w, at, dbv);
        if (joined) {
            w.canvas().Line(m.prevx, m.prevy, m.sweepx, m.sweepy, kSweepColour, kSweepWidth,
                            LineStyle::Solid);
        }
        m.prevy = m.sweepy;
    } else {
        keepPoint(w, at, std::nullopt);
        w.Textpower->text = kNotMeasured;
    }
    ++m.sweepx;
    if (m.sweepx >= kEndColumn) {
        m.monstate = RunState::Stopped;
        showRunState(w);
    }
}

}  // namespace

bool setsweepsine(Form1& w) {
    Link& link = w.link();
    const bool ok = [&] {
        if (!link.send(kSweepCfr1, kCfr1Step, kRegisterTimeoutMs) ||
            !link.send(kSweepCfr2, kCfr2Step, kRegisterTimeoutMs)) {
            return false;
        }
        w.clock().Sleep(kRegisterPauseMs);
        for (const Command& c :
             {switchCommand(line::kOutputPath, true), switchCommand(line::kSquare2Path, false),
              dacCommand(dac::kLevelA, 0), dacCommand(dac::kLevelB, kLevelDacFull),
              switchCommand(line::kAttenuator20dB, w.state().gen.sgatten),
              switchCommand(line::kAnalyserPath, true)}) {
            if (!link.send(c, kRelayStep)) {
                return false;
            }
        }
        return true;
    }();
    if (!ok) {
        w.ui().MsgBox(kSweepSineFailed);
    }
    return ok;
}

bool SetVppmon(Form1& w) {
    SharedState& s = w.state();
    try {
        const MonitorMode* mode = chosenMode(w);
        double a = mode != nullptr && mode->sweep == SweepKind::Amplitude
                       ? double(w.mon().sweepamp)
                       : CDbl(w.textstarta->text);
        const std::string& unit = w.combstarta->text;
        if (unit == unit::kVpp) {
            a *= 1000;
        }
        if (a > kMaxEntry || a < kMinEntry) {
            s.gen.sgerror = true;
            return false;
        }
        if (unit == unit::kMVrms) {
            a = a * kRmsToPp;
        } else if (unit == unit::kDBmV) {
            a = std::pow(10.0, a / 20) * kRmsToPp;
        } else if (unit == "dBV") {
            a = std::pow(10.0, (a + 60) / 20) * kRmsToPp;
        } else if (unit == "dBm") {
            a = std::pow(10.0, (a + 60 - 13) / 20) * kRmsToPp;
        }
        a = std::min(a, kMaxMv);
        // A negative amplitude would go out as a 14-bit word near full scale: send silence.
        a = std::max(a, 0.0);
        const float gain = boosted(flatness(s.cal, s.gen.sgfreq), static_cast<float>(a));
        std::int32_t asf = amplitudeScale(a, s.cal.ampfullscale, gain);
        if (asf > kAsfMax) {
            asf = kAsfMax;
            w.ui().MsgBox(kMsgAmplitudeClamped);
        }
        if (!w.link().send(amplitudeCommand(asf), kLabelAmplitude)) {
            s.gen.sgerror = true;
        }
    } catch (const RuntimeError&) {
        s.gen.sgerror = true;
    }
    return !s.gen.sgerror;
}

bool readrflevel(Form1& w) {
    MonitorState& m = w.mon();
    bool measured = false;
    try {
        const DeviceHandle device = w.state().link.devhandle;
        w.link().setCommand({code::kBiasRead, 255, 255, 85, 85, 85});
        w.usb().SI_FlushBuffers(device, 1, 1);
        w.link().CommSendString2();
        w.clock().Sleep(kDetectorPauseMs);
        std::array<std::uint8_t, 2> reply{};
        std::uint32_t got = 0;
        const int status = w.usb().SI_Read(device, reply, got);
        // A reading that does not arrive whole keeps the previous level.
        if (status == usb::kSuccess && got == reply.size()) {
            const int code = reply[0] * 256 + reply[1];
            m.detmv = CSng(kDetectorMvPerCode * code);
            measured = true;
        }
        m.detcode = CInt(m.detmv);
    } catch (const RuntimeError&) {
        w.state().gen.sgerror = true;
    }
    return measured;
}

std::int32_t sweepRowOf(Form1& w, float* dbv) {
    MonitorState& m = w.mon();
    Level level = levelFromDetector(m.detmv, w.state().cal);
    if (dbv != nullptr) {
        *dbv = level.leveldbv;
    }
    const SweepPoint p = sweepPoint(w.selrfrange->text, level, w.state().host.groupSeparator);
    m.leveldbv = level.leveldbv;
    m.leveldbmv = level.leveldbmv;
    m.levelmv = level.levelmv;
    if (p.readout) {
        w.Textpower->text = *p.readout;
    }
    return p.row;
}

bool frequencySweepSetup(Form1& w) {
    MonitorState& m = w.mon();
    w.canvas().Clear();
    mgrid1(w.canvas());
    // A sweep whose sine or detector path was not set up would draw levels of nothing.
    if (!setsweepsine(w) || !sweepStartSwitches(w)) {
        return false;
    }
    if (!sweepLimits(w) || !SetVppmon(w)) {
        return false;
    }
    m.monstate = RunState::FrequencySweeping;
    m.sweepx = kFirstSweepColumn;
    m.prevx = 2;
    m.prevy = 2;
    startKeeping(w, SweepKind::Frequency);
    return true;
}

bool frequencySweepPoint(Form1& w) {
    MonitorState& m = w.mon();
    if (!sendFtw(w, m.sweepfreq, SweepRule::Frequency)) {
        return false;
    }
    const double at = m.sweepfreq;
    m.sweepfreq = CLng(double(m.sweepfreq) + m.sweepstep);
    w.textfr->text = formatGrouped(m.sweepfreq, 0, w.state().host.groupSeparator);
    if (m.sweepx % 10 == 0) {
        w.state().gen.sgfreq = m.sweepfreq;
    }
    sweepPoint(w, at);
    return !w.state().gen.sgerror;
}

bool amplitudeSweepSetup(Form1& w) {
    MonitorState& m = w.mon();
    mgrid1(w.canvas());
    w.canvas().Clear();
    mgrid1(w.canvas());
    if (!setsweepsine(w) || !sweepStartSwitches(w)) {
        return false;
    }
    for (const Ctl& c : {w.centerfr, w.labstartfr, w.labstopfr}) {
        c->text.clear();
    }
    m.sweepx = kFirstSweepColumn;
    const double f = hertz(w.startf, w.startfunit);
    if (!generatorCanSweep(w, f)) {
        return false;
    }
    w.textfr->text = formatGrouped(f, 0, w.state().host.groupSeparator);
    w.state().gen.sgfreq = CLng(f);
    if (!sendFtw(w, f, SweepRule::Amplitude)) {
        return false;
    }
    w.clock().Sleep(kTuningPauseMs);
    m.monstate = RunState::AmplitudeSweeping;
    const double from = CDbl(w.textstarta->text);
    m.sweepampstep = CSng((CDbl(w.textstopa->text) - from) / kColumns);
    m.sweepamp = CSng(from);
    startKeeping(w, SweepKind::Amplitude);
    return true;
}

bool amplitudeSweepPoint(Form1& w) {
    MonitorState& m = w.mon();
    if (!SetVppmon(w)) {
        return false;
    }
    w.clock().Sleep(kAmplitudePauseMs);
    sweepPoint(w, m.sweepamp);
    m.sweepamp = CSng(double(m.sweepamp) + m.sweepampstep);
    return !w.state().gen.sgerror;
}

void rfcal_Click(Form1& w) {
    try {
        const double f = hertz(w.startf, w.startfunit);
        if (!sendFtw(w, f, SweepRule::Amplitude)) {
            w.ui().MsgBox(kCalFailed);
            return;
        }
        w.clock().Sleep(kCalPauseMs);
        if (!w.link().send(amplitudeCommand(1), kLabelAmplitude)) {
            w.ui().MsgBox(kCalFailed);
            return;
        }
        for (int i = 0; i < kCalReadings; ++i) {
            w.clock().Sleep(kCalPauseMs);
            readrflevel(w);
        }
    } catch (const RuntimeError&) {
        w.ui().MsgBox(kCalFailed);
    }
}

void takeGeneratorForSweep(Form1& w, SweepKind kind) {
    const MonitorMode* mode = monitorModeFor(kind);
    outputTakenBy(w.generator(), kind == SweepKind::Fast || mode == nullptr
                                     ? w.cmdfastsweep->text
                                     : std::string(mode->text()));
}

void startSweep(Form1& w, SweepKind kind) {
    takeGeneratorForSweep(w, kind);
    w.mon().monstate = kind == SweepKind::Amplitude ? RunState::StartAmplitudeSweep
                                                    : RunState::StartFrequencySweep;
    w.state().gen.sgaten = 0;
    sgrelayon(w.link());
    setStatus(w, status::kCalibrating, true);
    if (kind == SweepKind::Amplitude) {
        rfcal_Click(w);
    }
}

bool prepareFastSweep(Form1& w) {
    MonitorState& m = w.mon();
    m.sweepx = kFirstSweepColumn;
    m.prevx = 2;
    m.prevy = 2;
    m.rolling = RollingState{};
    w.textstatus->text = std::string(status::kRunning);
    w.ui().Repaint(*w.textstatus);
    if (!sweepLimits(w)) {
        return false;
    }
    SetVppmon(w);
    frmMain& g = w.generator();
    g.ModeSelect->text = modes::kSweepSineGenerator.text();
    AdjustInterfaceOptions(g, w.state(), w.ui());
    g.stepcnt->text = kFastSteps;
    g.steptime->text = kFastStepTime;
    g.singlesw->value = 1;
    g.startfunit->text = w.startfunit->text;
    g.stopfunit->text = w.stopfunit->text;
    g.startf->text = w.startf->text;
    g.stopf->text = w.stopf->text;
    g.VppUnit->text = unit::kMVpp;
    g.Vpp->text = kFastVpp;
    g.RefreshBtn_Click();
    SetVppmon(w);
    takeGeneratorForSweep(w, SweepKind::Fast);
    return true;
}

void Form1::selrfrange_Click() {
    selmonmode_Click();
    showKeptSweep(*this);
}

void Form1::cmdfastsweep_Click() {
    mon().fftflag = false;
    if (!prepareFastSweep(*this)) {
        showRunState(*this);  // limits it cannot sweep: nothing was started
    } else if (setscopeforrf(*this) && scopedisplayrf(*this)) {
        showRunState(*this);  // the one record is drawn
    } else {
        showFailed(*this);
    }
}

}  // namespace tunx
