// The command buttons: Refresh sends the whole configuration of the mode, RUN also fires the
// trigger in single-shot modes, STOP closes the output stage.
#include "generator/RunStop.h"

#include <functional>
#include <vector>

#include "common/RuntimeError.h"
#include "dds/Amplitude.h"
#include "dds/Frequency.h"
#include "dds/Profile.h"
#include "dds/Pulse.h"
#include "dds/Ramp.h"
#include "dds/Sweep.h"
#include "dds/WaveRam.h"
#include "generator/Layout.h"
#include "generator/Validation.h"
#include "generator/frmMain.h"
#include "link/Relay.h"

namespace tunx {

namespace {

constexpr const char* kSingle = "Single";
constexpr int kArbitraryPauseMs = 1;

// One call of a mode's set-up sequence; `checked` stops the sequence after it on sgerror.
struct Step {
    std::function<void()> call;
    bool checked;
};

}  // namespace

bool singleShotRequested(const frmMainControls& panel) {
    const Control& arbmode = *panel.arbmode;
    const Control& outmode = *panel.outmode;
    const Control& singlesw = *panel.singlesw;
    return (arbmode.enabled && arbmode.text == kSingle) ||
           (outmode.enabled && outmode.text == kSingle) ||
           (singlesw.enabled && singlesw.value == 1);
}

namespace {

std::vector<Step> setupSequence(frmMain& w, std::optional<Mode> m) {
    if (!m) {
        return {};
    }
    Link& link = w.link();
    GeneratorState& g = w.state().gen;
    auto bias = [&w, &link] { SetBias(w, link); };
    auto vpp = [&w, &link] { SetVpp(w, link); };
    auto frequency = [&w, &link] { SetFrequency(w, link); };
    auto relayOn = [&link] { sgrelayon(link); };
    switch (*m) {
        case Mode::Sine:
            return {{bias, true}, {frequency, true}, {vpp, false}};
        case Mode::SineModulated:
            return {{bias, true},
                    {vpp, true},
                    {frequency, true},
                    {relayOn, false},
                    {[&w, &link] { SetModulation(w, link); }, false}};
        case Mode::Pulse:
            return {{bias, true}, {[&w, &link] { SetPulse(w, link); }, true}, {vpp, false}};
        case Mode::Ramp:
        case Mode::Triangle: {
            const bool triangle = *m == Mode::Triangle;
            std::vector<Step> steps = {{[&g, triangle] { g.triangle = triangle; }, false},
                                       {bias, true},
                                       {[&w, &link] { SetRampUp(w, link); }, true},
                                       {vpp, false}};
            if (!triangle) {
                steps.push_back({relayOn, false});
            }
            return steps;
        }
        case Mode::Arbitrary:
            return {{bias, true},
                    {[&w, &link] { loadfile_Click(w, link); }, false},
                    {[&link] { link.clock().Sleep(kArbitraryPauseMs); }, true},
                    {bias, true},
                    {[&w, frequency] {
                         if (w.arbit->text == kTargetPhase) {
                             frequency();
                         }
                     },
                     true},
                    {[&w, &link] { setarb(w, link); }, false},
                    {vpp, false}};
        case Mode::Sweep:
            return {{bias, true}, {vpp, true}, {[&w, &link] { SetSweepGen(w, link); }, false}};
        case Mode::Square:
            return {
                {bias, true}, {[&w, &link] { SetSquareFrequency(w, link); }, true}, {vpp, false}};
        case Mode::Square2:
            return {
                {bias, true}, {[&w, &link] { SetSquare2Frequency(w, link); }, true}, {vpp, false}};
        case Mode::Sine2:
            return {{bias, true}, {[&w, &link] { SetSine2Frequency(w, link); }, false}};
    }
    return {};
}

void showStatusBar(frmMain& w, const std::string& text) {
    w.StatusBar->text = text;
    w.ui().Repaint(*w.StatusBar);
}

void showIdleRunButton(frmMain& w) {
    Control& run = *w.RUN;
    run.back = colour::kActiveBorder;
    run.text.clear();
    run.picture = w.installFile(runstop::kRunPicture);
}

void showLitRunButton(frmMain& w, const char* caption) {
    Control& run = *w.RUN;
    run.back = colour::kGreen;
    run.picture.clear();
    run.text = caption;
}

// Validates and sends the configuration of the mode; true when the device now runs it.
bool refresh(frmMain& w) {
    SharedState& s = w.state();
    Link& link = w.link();
    const std::string modeText = w.ModeSelect->text;
    const std::optional<Mode> m = modeOf(modeText);
    // Any command of the refresh that failed leaves the output other than asked for, also one
    // whose procedure goes on without setting sgerror (a switch-on, the final one included).
    const int failuresBefore = link.failures();
    const auto failed = [&] { return s.gen.sgerror || link.failures() != failuresBefore; };
    try {
        showStatusBar(w, runstop::kConfiguring);
        sgrelayoff(link);
        showStatusBar(w, runstop::kBusy);
        const std::string verdict = InputValidation(w, link, m);
        if (verdict != kValidationOk) {
            showStatusBar(w, runstop::kError + modeText);
            showIdleRunButton(w);  // the output stage is closed
            w.ui().MsgBox(verdict, MsgIcon::Exclamation);
            return false;
        }
        // A command that failed already (the close, an offset sent by the validation) leaves
        // nothing to set up.
        const bool failedBefore = link.failures() != failuresBefore;
        s.gen.sgerror = false;
        for (const Step& step : failedBefore ? std::vector<Step>{} : setupSequence(w, m)) {
            step.call();
            if (step.checked && failed()) {
                break;
            }
        }
        if (!failed() && m != Mode::SineModulated) {
            sgrelayon(link);
        }
        // The running look only once the last command, the switch-on, was taken.
        if (!failed()) {
            showStatusBar(w, runstop::kRunning + modeText);
            w.STOP->back = colour::kActiveBorder;
            showLitRunButton(w, runstop::kRunningCaption);
            return true;
        }
        s.gen.sgerror = true;
        showIdleRunButton(w);
        sgrelayoff(link);
        showStatusBar(w, runstop::kError + modeText);
        return false;
    } catch (const RuntimeError&) {
        w.STOP->back = colour::kActiveBorder;
        return false;
    }
}

// Refreshes, then arms single-shot output. Only a configuration the device took is armed: after
// a failed refresh no trigger may fire the old one, and the next RUN refreshes again.
bool refreshAndArm(frmMain& w) {
    const bool ok = refresh(w);
    w.state().gen.singlemode = ok && singleShotRequested(w);
    return ok;
}

}  // namespace

void outputTakenBy(frmMain& w, const std::string& measurement) {
    w.state().gen.singlemode = false;
    showIdleRunButton(w);
    showStatusBar(w, runstop::kTakenByMonitor + measurement);
}

void frmMain::RefreshBtn_Click() {
    if (refreshAndArm(*this) && s_.gen.singlemode) {
        RUN_Click();
    }
}

void frmMain::RUN_Click() {
    if (!s_.gen.singlemode) {
        if (!refreshAndArm(*this)) {
            return;
        }
        if (s_.gen.singlemode) {
            RUN_Click();  // the refresh's own last step, which sends the first trigger
        }
    }
    s_.gen.singlemode = singleShotRequested(*this);
    if (!s_.gen.singlemode) {
        return;
    }
    if (!link_.send({code::kTrigger, 0, 0, 0, 0, 0}, runstop::kTriggerLabel, 1000, 1)) {
        ui_.MsgBox(runstop::kRunError);
        return;
    }
    showStatusBar(*this, runstop::kRunning + ModeSelect->text + runstop::kSingleSuffix);
    showLitRunButton(*this, runstop::kTriggerCaption);
}

void frmMain::STOP_Click() {
    // Stopped output is not armed: the next RUN sends the configuration again before it fires.
    s_.gen.singlemode = false;
    s_.gen.sgerror = false;
    const int failuresBefore = link_.failures();
    sgrelayoff(link_);
    sgstop(*this, link_);
    showIdleRunButton(*this);
    // The stopped look only once the output stage took its commands: a close that was not
    // acknowledged may have left the output on.
    if (link_.failures() != failuresBefore || s_.gen.sgerror) {
        s_.gen.sgerror = true;
        STOP->back = colour::kActiveBorder;
        showStatusBar(*this, runstop::kError + ModeSelect->text);
        return;
    }
    STOP->back = colour::kRed;
    showStatusBar(*this, runstop::kStopped);
}

}  // namespace tunx
