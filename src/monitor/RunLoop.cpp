// The monitor's first activation, START and STOP, and the timer that steps the measurements.
#include "monitor/RunLoop.h"

#include <algorithm>
#include <array>

#include "common/RuntimeError.h"
#include "link/Relay.h"
#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/counter/Counter.h"
#include "monitor/counter/CounterDisplay.h"
#include "monitor/scope/ScopeReadout.h"
#include "monitor/scope/ScopeSetup.h"
#include "monitor/spectrum/SpectrumAverage.h"
#include "monitor/sweep/Sweep.h"

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
constexpr const char* kCh1Colour = "255";
constexpr const char* kCh2Colour = "65535";
constexpr const char* kCursorColour = "16777215";
constexpr std::int16_t kOrigin = 32;
constexpr std::int16_t kPlotScale = 2;
constexpr double kCh1TextTop = 281;
constexpr double kCh2TextTop = 409;

void setStatus(Form1& w, std::string_view text, bool repaint = false) {
    w.textstatus->text = std::string(text);
    if (repaint) {
        w.ui().Repaint(*w.textstatus);
    }
}

}  // namespace

bool measuring(const MonitorState& m) {
    const std::string& s = m.monstate;
    return s == runstate::kStartFrequencySweep || s == runstate::kFrequencySweeping ||
           s == runstate::kStartAmplitudeSweep || s == runstate::kAmplitudeSweeping ||
           s == runstate::kStartScope || s == runstate::kScope || s == runstate::kCounter;
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
    const std::optional<MonitorMode> mode = monitorMode(selmonmode->text);
    if (mode == MonitorMode::FrequencySweep || mode == MonitorMode::AmplitudeSweep) {
        const bool frequency = mode == MonitorMode::FrequencySweep;
        takeGeneratorForSweep(*this, frequency ? SweepKind::Frequency : SweepKind::Amplitude);
        m.monstate = std::string(frequency ? runstate::kStartFrequencySweep
                                           : runstate::kStartAmplitudeSweep);
        s_.gen.sgaten = 0;
        sgrelayon(link_);
        setStatus(*this, status::kCalibrating, true);
        if (!frequency) {
            rfcal_Click(*this);
        }
    } else if (mode && isScope(*mode)) {
        m.monstate = std::string(runstate::kStartScope);
    } else if (mode == MonitorMode::FrequencyCounter) {
        m.monstate = std::string(runstate::kCounter);
        counterHistoryCleared(*this);
    }
    // A command of the start that was not taken (the output stage, the detector's calibration):
    // the measurement does not run, and says so.
    if (link_.failures() != failuresBefore || s_.gen.sgerror) {
        s_.gen.sgerror = true;
        m.monstate = std::string(runstate::kStopped);
        setStatus(*this, status::kError);
        return;
    }
    setStatus(*this, status::kRunning);
}

void Form1::cmdstop_Click() {
    mon().monstate = std::string(runstate::kStopped);
    setStatus(*this, status::kStopped);
    const std::optional<MonitorMode> mode = monitorMode(selmonmode->text);
    if (mode && isSweep(*mode)) {
        sgrelayoff(link_);
    }
}

void Form1::Timer1_Timer() {
    MonitorState& m = mon();
    if (s_.gen.sgerror) {
        setStatus(*this, status::kError);
        m.monstate = std::string(runstate::kStopped);
    }
    const std::string state = m.monstate;
    bool ok = true;
    // A run-time error inside a step counts as a failed command: the next tick shows
    // "TUNX ERROR".
    try {
        if (state == runstate::kStartFrequencySweep) {
            ok = frequencySweepSetup(*this);
        } else if (state == runstate::kFrequencySweeping) {
            ok = frequencySweepPoint(*this);
        } else if (state == runstate::kStartAmplitudeSweep) {
            ok = amplitudeSweepSetup(*this);
        } else if (state == runstate::kAmplitudeSweeping) {
            ok = amplitudeSweepPoint(*this);
        } else if (state == runstate::kStartScope) {
            ok = setscope2t(*this) && channelVoltsPerDiv(*this, Channel::CH1) &&
                 channelVoltsPerDiv(*this, Channel::CH2) && setscope2t(*this);
            if (ok) {
                m.monstate = std::string(runstate::kScope);
            }
        } else if (state == runstate::kScope) {
            const std::uint64_t kept = m.recordsKept;
            ok = m.vslowtb ? scopedisplayslow(*this) : scopedisplay2t(*this);
            if (m.recordsKept != kept) {
                stackSpectrum(*this);  // for the spectrum's average and max hold
            }
        } else if (state == runstate::kCounter) {
            ok = counterReading(*this);
        } else if (state == runstate::kStopped) {
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
