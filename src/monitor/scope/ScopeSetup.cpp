// The oscilloscope's set-up: time base, volts per division, and the commands that arm an
// acquisition.
#include "monitor/scope/ScopeSetup.h"

#include <optional>

#include "common/Numbers.h"
#include "common/RegisterBytes.h"
#include "common/RuntimeError.h"
#include "dds/Frequency.h"
#include "link/Relay.h"
#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/RunLoop.h"
#include "monitor/plot/Plot.h"
#include "monitor/scope/AcquisitionDisplay.h"
#include "monitor/scope/Capture.h"
#include "monitor/scope/TimeBase.h"
#include "window/CheckBox.h"

namespace tunx {

namespace {

constexpr const char* kBadAdcTimeBase =
    "Invalid time base for ADC Mode! 8 bit 40Ms mode will be selected";
constexpr const char* kBadUnderTimeBase = "Invalid time base for Undersampling mode!";
constexpr const char* kBadRealTimeBase = "Invalid time base for Real time Mode!";
constexpr const char* kTenMvNeedsTwelveBit = "10mV/div works only with 12bit ADC";
constexpr const char* kVoltsFailed = "Error Vold/div set";
constexpr const char* kSetupFailed = "Error setting scope";
constexpr const char* kHertz = " Hz";
constexpr const char* kSlowestLongRecord = "100ms/div";

constexpr Command kResetRecord{code::kRecordReset, 3, 2, 0, 0, 0};

constexpr int kModeFree = 2;
constexpr int kModeNormal = 3;
constexpr int kModeLong = 4;
constexpr int kModeTwelveBit = 64;
constexpr int kModeStreaming = 128;
constexpr int kModeFastSweep = 2 + 64 + 16;

constexpr int kEdgePositive = 1, kEdgeNegative = 2;
constexpr int kEdgeCh2Offset = 20;  // CH2 with the 8-bit converter: 21 and 22
constexpr int kSourceCh1 = 2, kSourceCh2 = 3;

constexpr std::int16_t kClock40 = 40, kClock20 = 20;
constexpr std::uint32_t kScopeTimeoutMs = 3000;
constexpr std::uint32_t kStreamTimeoutMs = 30;
constexpr int kCalibrationSettleMs = 50;

// Fast sweep: the detector recorded slowly on the 12-bit converter.
constexpr std::int32_t kFastSweepDivider = 31250;
constexpr Command kFastSweepTrigger{code::kScopeTrigger, 1, 1, 0, 1, 0};

bool twelveBit(Form1& w) {
    return w.adcselect->text == adc::k12Bit;
}

// The time base now in force, with the rate its records are really taken at for the spectrum.
void takeTimeBase(Form1& w, const TimeBase& tb, bool twelveBit, bool undersampling) {
    MonitorState& m = w.mon();
    const std::optional<RecordTiming> timing = timingOf(tb, twelveBit, undersampling);
    m.fftrate = timing ? timing->spectrumRate : 0;
    m.sampleInterval = timing ? timing->interval : 0;
    m.equivalentTime = undersampling;
    m.timeBaseInForce = std::string(tb.text);
    w.tdivtext->text = std::string(tb.perDiv);
}

void applySampling(Form1& w, const TimeBase& tb, const Sampling& s, bool twelveBit) {
    MonitorState& m = w.mon();
    m.adcdiv = s.adcdiv;
    m.slowtb = s.slowtb;
    m.vslowtb = s.vslowtb;
    if (s.hexpand) {
        m.hexpand = *s.hexpand;
    }
    takeTimeBase(w, tb, twelveBit, false);
}

// Sends the commands in order; false at the first failed transaction.
bool sendAll(Form1& w, std::initializer_list<Command> commands) {
    for (const Command& c : commands) {
        if (!w.link().send(c, kRelayStep)) {
            return false;
        }
    }
    return true;
}

// The record command with the time base's divider, or `divider`.
Command recordCommand(Form1& w, int modeByte, std::optional<std::int32_t> divider = std::nullopt) {
    const MonitorState& m = w.mon();
    const std::array<int, 4> div = registerBytes(divider.value_or(m.adcdiv));
    return {m.slowtb ? code::kSlowRecord : code::kRecord, div[0], div[1], div[2], div[3], modeByte};
}

enum class Variant { Scope, Calibration };

// Step 1 to 3 of every set-up: the long record where it is offered, the plotting state, the
// status text.
void prepare(Form1& w) {
    MonitorState& m = w.mon();
    if (tickedOrGreyed(*w.reclenght) && (m.vslowtb || w.seltimediv->text == kSlowestLongRecord)) {
        w.reclenght->value = 0;
    }
    m.sweepx = 34;
    m.prevx = 2;
    m.prevy = 2;
    m.rolling = RollingState{};
    w.textstatus->text = std::string(status::kRunning);
    w.ui().Repaint(*w.textstatus);
}

bool armScope(Form1& w, Variant variant) {
    MonitorState& m = w.mon();
    const bool calibration = variant == Variant::Calibration;
    prepare(w);
    const bool wide = twelveBit(w);
    if (!wide) {
        const TimeBase* tb = findTimeBase(w.seltimediv->text);
        const bool fastest = tb != nullptr && onConverterClock(*tb);
        m.adcclk = w.scopemode->text == sampling::kRealTime && fastest ? kClock40 : kClock20;
        if (m.adcclk != m.adcclkset) {
            syncadcclock(w);
        }
        m.adcclkset = m.adcclk;
    }
    try {
        if (!sendAll(w, {switchCommand(line::kAnalyserPath, false),
                         switchCommand(line::kCounterRange2, false)})) {
            throw RuntimeError(kSetupFailed);
        }
        if (calibration) {
            w.clock().Sleep(kCalibrationSettleMs);
        }
        const double level = wide ? m.triglevel / 512.0 * m.spanadc : m.triglevel / 2.0;
        const BytePair levelBytes = lowBytes(CLng(level));
        int edge = 0;
        if (!calibration && w.trigmode->text != trigger::kFreeRunning &&
            w.trigmode->text != trigger::kAuto) {
            edge = w.trigeredge->text == trigger::kPositive   ? kEdgePositive
                   : w.trigeredge->text == trigger::kNegative ? kEdgeNegative
                                                              : 0;
            if (edge != 0 && !wide && w.trigsource->text != trigger::kCH1) {
                edge += kEdgeCh2Offset;
            }
        }
        const MonitorMode* chosen = chosenMode(w);
        const bool ch2Only = chosen != nullptr && chosen->ch2 && !chosen->ch1;
        const int source = ch2Only ? kSourceCh2 : kSourceCh1;
        int mode = kModeFree;
        if (!calibration && w.trigmode->text == trigger::kNormal) {
            mode = kModeNormal;
        }
        if (tickedOrGreyed(*w.reclenght)) {
            mode = kModeLong;
        }
        if (wide) {
            mode += kModeTwelveBit;
        }
        if (!calibration && m.vslowtb) {
            mode += kModeStreaming;
        }
        // Peak detect streams faster than the time base alone needs.
        Command record = recordCommand(w, mode, calibration ? m.adcdiv : recordDivider(w));
        if (calibration) {
            record.code = code::kRecord;
        }
        if (!sendAll(w, {switchCommand(line::kScopeConverter, wide),
                         switchCommand(line::kScopeClock, m.adcclk == kClock40),
                         {code::kScopeTrigger, levelBytes.high, levelBytes.low, edge, 1, source},
                         kResetRecord,
                         record})) {
            throw RuntimeError(kSetupFailed);
        }
    } catch (const RuntimeError&) {
        w.ui().MsgBox(kSetupFailed);
        showFailed(w);
        return false;
    }
    const std::uint32_t timeout = !calibration && m.vslowtb ? kStreamTimeoutMs : kScopeTimeoutMs;
    w.usb().SI_SetTimeouts(timeout, timeout);
    w.canvas().Clear();
    forgetShownCapture(w);
    mgrid1(w.canvas());
    if (!calibration) {
        restartAcquisition(w);
        showAcquisition(w);
    }
    return true;
}

}  // namespace

void Form1::seltimediv_Click() {
    MonitorState& m = mon();
    const TimeBase* tb = findTimeBase(seltimediv->text);
    const char* refused = nullptr;
    if (adcselect->text == adc::k12Bit) {
        if (tb != nullptr && tb->twelveBit) {
            applySampling(*this, *tb, *tb->twelveBit, true);
        } else {
            refused = kBadAdcTimeBase;
            adcselect->text = std::string(adc::k8Bit);
        }
    } else {
        if (scopemode->text == sampling::kUndersampling) {
            if (tb != nullptr && tb->under) {
                m.adcdiv = kUndersamplingDivider;
                s_.gen.undersdiv = tb->under->undersdiv;
                SetFreqFTW(link_);
                m.slowtb = false;
                m.vslowtb = false;
                takeTimeBase(*this, *tb, false, true);
            } else {
                refused = kBadUnderTimeBase;
            }
        }
        if (scopemode->text == sampling::kRealTime) {
            if (tb != nullptr && tb->realTime) {
                applySampling(*this, *tb, *tb->realTime, false);
            } else {
                refused = kBadRealTimeBase;
            }
        }
    }
    if (refused != nullptr) {
        ui().MsgBox(refused);
        // The list shows the time base that is still in force.
        if (!m.timeBaseInForce.empty()) {
            seltimediv->text = m.timeBaseInForce;
        }
    }
    fftmaxfrequency->text = formatGrouped(m.fftrate / 2, 0, s_.host.groupSeparator) + kHertz;
    scopeSettingChanged();
}

void Form1::scopemode_Click() {
    s_.gen.undersmonflag = false;
    if (scopemode->text == sampling::kUndersampling) {
        s_.gen.undersmonflag = true;
        mon().hexpand = 1;
    }
    seltimediv_Click();
}

void Form1::adcselect_Click() {
    seltimediv_Click();
}

void Form1::ch1vdiv_Click() {
    channelVoltsPerDiv(*this, Channel::CH1);
    scopeSettingChanged();
}

void Form1::ch2vdiv_Click() {
    channelVoltsPerDiv(*this, Channel::CH2);
    scopeSettingChanged();
}

bool channelVoltsPerDiv(Form1& w, Channel ch) {
    MonitorState& m = w.mon();
    const bool one = ch == Channel::CH1;
    const MonitorMode* mode = chosenMode(w);
    if (mode != nullptr && (one ? mode->ch1 : mode->ch2)) {
        w.Slider1_Scroll();
    }
    Control& list = *(one ? w.ch1vdiv : w.ch2vdiv);
    Control& inForce = *(one ? w.ch1vdivtext : w.ch2vdivtext);
    const std::string text = list.text;
    // A range not taken leaves the one in force, which the list shows again.
    const auto refuse = [&] {
        if (!inForce.text.empty()) {
            list.text = inForce.text;
        }
        return true;
    };
    if (text == kRange10mV && w.adcselect->text == adc::k8Bit) {
        w.ui().MsgBox(kTenMvNeedsTwelveBit);
        return refuse();
    }
    const VoltsRange* range = findRange(text);
    if (range == nullptr) {
        return refuse();
    }
    inForce.text = text;
    try {
        const RangeSetting r = computeRange(ch, *range, w.state().cal);
        m.spanadc = r.spanadc;
        (one ? m.ch1scale : m.ch2scale) = r.scale;
        (one ? m.ch1span : m.ch2span) = r.span;
        (one ? m.ch1offcal : m.ch2offcal) = r.offcal;
        (one ? m.ch1offslope : m.ch2offslope) = r.offslope;
        const auto switches = rangeSwitches(ch, range->group);
        const std::int32_t offset =
            offsetDacValue(one ? m.ch1pos : m.ch2pos, r.positionSpan, r.offsetBase, r.offslope);
        if (!sendAll(w, {switches[0], switches[1], dacCommand(rangeDacChannel(ch), r.rangeDac),
                         dacCommand(offsetDacChannel(ch), offset)})) {
            throw RuntimeError(kVoltsFailed);
        }
    } catch (const RuntimeError&) {
        w.ui().MsgBox(kVoltsFailed);
        return false;
    }
    return true;
}

bool setscope2t(Form1& w) {
    return armScope(w, Variant::Scope);
}

bool setscopeforcalb(Form1& w) {
    return armScope(w, Variant::Calibration);
}

bool setscopeforrf(Form1& w) {
    MonitorState& m = w.mon();
    prepare(w);
    m.adcdiv = kFastSweepDivider;
    m.slowtb = true;
    m.hexpand = 1;
    m.vslowtb = false;
    try {
        if (!sendAll(w, {switchCommand(line::kAnalyserPath, true),
                         switchCommand(line::kCounterRange2, false),
                         switchCommand(line::kScopeConverter, true), kFastSweepTrigger,
                         kResetRecord, recordCommand(w, kModeFastSweep)})) {
            throw RuntimeError(kSetupFailed);
        }
    } catch (const RuntimeError&) {
        w.ui().MsgBox(kSetupFailed);
        showFailed(w);
        return false;
    }
    w.usb().SI_SetTimeouts(kScopeTimeoutMs, kScopeTimeoutMs);
    w.canvas().Clear();
    forgetShownCapture(w);
    mgrid1(w.canvas());
    return true;
}

int rearmModeByte(Form1& w, bool triggered) {
    int mode = kModeFree;
    if (triggered) {
        mode = kModeNormal;
    }
    if (tickedOrGreyed(*w.reclenght)) {
        mode = kModeLong;
    }
    if (twelveBit(w)) {
        mode += kModeTwelveBit;
    }
    return mode;
}

bool sendRecordCommand(Form1& w, int modeByte, const char* stepLabel) {
    return w.link().send(recordCommand(w, modeByte), stepLabel);
}

}  // namespace tunx
