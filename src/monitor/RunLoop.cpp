// The monitor's first activation, START and STOP, and the timer that steps the measurements.
#include "monitor/RunLoop.h"

#include <algorithm>
#include <array>

#include "common/RuntimeError.h"
#include "link/Relay.h"
#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/counter/CounterDisplay.h"
#include "monitor/plot/Layers.h"
#include "monitor/scope/AcquisitionDisplay.h"
#include "monitor/sweep/SweepProgress.h"

namespace tunx {

namespace {

constexpr const char* kSyncFailed = "Error Synhronizing adc clok";
constexpr std::uint32_t kSyncTimeoutMs = 5000;
constexpr std::size_t kSyncReply = 20;
constexpr std::uint8_t kSyncByte = 0x85;
constexpr int kSyncSettleMs = 10;
constexpr int kSyncAnswerMs = 1000;
constexpr int kStoppedPauseMs = 1;

// Display settings of the first activation.
constexpr Colour kCh1Colour = colour::kRed;
constexpr Colour kCh2Colour = colour::kYellow;
constexpr Colour kCursorColour = colour::kWhite;
constexpr std::int16_t kOrigin = 32;
constexpr std::int16_t kPlotScale = 2;
constexpr double kCh1TextTop = 281;
constexpr double kCh2TextTop = 409;

}  // namespace

void setStatus(Form1& w, std::string_view text, bool repaint) {
    w.textstatus->text = std::string(text);
    if (repaint) {
        w.ui().Repaint(*w.textstatus);
    }
}

bool measuring(const MonitorState& m) {
    return stepOf(m.monstate) != nullptr;
}

void showRunState(Form1& w) {
    setStatus(w, measuring(w.mon()) ? status::kRunning : status::kStopped, true);
}

void showFailed(Form1& w) {
    setStatus(w, status::kError, true);
}

void Form1::Form_Activate() {
    MonitorState& m = mon();
    if (m.moninit) {
        return;
    }
    m.moninit = true;
    m.ch1colour = kCh1Colour;
    m.ch2colour = kCh2Colour;
    m.cursor1colour = kCursorColour;
    m.cursor2colour = kCursorColour;
    m.originx = kOrigin;
    m.originy = kOrigin;
    m.plotscale = kPlotScale;
    m.vcur1 = m.vcur1drawn = 400;
    m.vcur2 = m.vcur2drawn = 100;
    m.hcur1 = m.hcur1drawn = 100;
    m.hcur2 = m.hcur2drawn = 300;
    m.ch1pos = 256;
    m.ch2pos = 128;
    m.triglevel = 320;
    m.adcclk = 0;
    m.adcclkset = 0;
    m.cursorsel = 0;
    ch1text->top = kCh1TextTop;
    ch2text->top = kCh2TextTop;
    selmonmode_Click();
    ch1vdiv_Click();
    ch2vdiv_Click();
}

void Form1::cmdstartsweep_Click() {
    MonitorState& m = mon();
    m.fftflag = false;
    fftmaxfrequency->enabled = false;
    fftmaxfrequency->visible = false;
    selmonmode_Click();
    s_.gen.sgerror = false;
    const int failuresBefore = link_.failures();
    if (const MonitorMode* mode = monitorModeOf(selmonmode->text)) {
        mode->start(*this);
    }
    // A command of the start that was not taken (the output stage, the detector's calibration):
    // the measurement does not run, and says so.
    if (link_.failures() != failuresBefore || s_.gen.sgerror) {
        s_.gen.sgerror = true;
        m.monstate = RunState::Stopped;
        setStatus(*this, status::kError);
        return;
    }
    setStatus(*this, status::kRunning);
}

void Form1::cmdstop_Click() {
    mon().monstate = RunState::Stopped;
    setStatus(*this, status::kStopped);
    const MonitorMode* mode = monitorModeOf(selmonmode->text);
    if (mode != nullptr && mode->sweep) {
        sgrelayoff(link_);
    }
}

void Form1::Timer1_Timer() {
    MonitorState& m = mon();
    if (s_.gen.sgerror) {
        setStatus(*this, status::kError);
        m.monstate = RunState::Stopped;
    }
    const RunState state = m.monstate;
    bool ok = true;
    // A run-time error inside a step counts as a failed command: the next tick shows
    // "TUNX ERROR".
    try {
        if (const RunStep* step = stepOf(state)) {
            ok = step->tick(*this);
        } else if (state == RunState::Stopped) {
            clock().Sleep(kStoppedPauseMs);
        }
    } catch (const RuntimeError& e) {
        // An entry the step cannot read ("Type mismatch"): said once, then the error state.
        ui().MsgBox(e.description(), MsgIcon::Critical, kRunTimeErrorTitle);
        ok = false;
    }
    if (!ok) {
        s_.gen.sgerror = true;
    }
}

void Form1::selmonmode_Click() {
    const MonitorMode* mode = monitorModeOf(selmonmode->text);
    if (mode == nullptr) {
        return;
    }
    showProgressIn(*this, mode->sweep.has_value());
    mode->layout(*this);
    showCounterLines(*this);
    showPlotExtras(*this);
    drawReferences(*this);
    showAcquisition(*this);
}

void Form1::fastsweep_Click() {
    syncadcclock(*this);
}

void syncadcclock(Form1& w) {
    UsbApi& usb = w.usb();
    const DeviceHandle device = w.state().link.devhandle;
    usb.SI_SetTimeouts(kSyncTimeoutMs, kSyncTimeoutMs);
    usb.SI_FlushBuffers(device, 1, 1);
    w.clock().Sleep(kSyncSettleMs);
    w.link().setCommand({code::kAdcSync, 0, 0, w.mon().adcclk, 0, 0});
    w.link().CommSendString2();
    w.clock().Sleep(kSyncAnswerMs);
    // The answer goes to positions 0..19 of a 21-byte buffer; positions 1..20 are searched.
    std::array<std::uint8_t, kSyncReply + 1> reply{};
    std::uint32_t got = 0;
    usb.SI_Read(device, std::span(reply).first(kSyncReply), got);
    if (std::find(reply.begin() + 1, reply.end(), kSyncByte) == reply.end()) {
        w.ui().MsgBox(kSyncFailed);
    }
}

}  // namespace tunx
