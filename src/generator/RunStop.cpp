// The command buttons: Refresh sends the whole configuration of the mode, RUN also fires the
// trigger in single-shot modes, STOP closes the output stage.
#include "generator/RunStop.h"

#include "common/RuntimeError.h"
#include "dds/Amplitude.h"
#include "generator/OutputMode.h"
#include "generator/Validation.h"
#include "generator/frmMain.h"
#include "link/Relay.h"
#include "window/CheckBox.h"

namespace tunx {

namespace {

constexpr const char* kSingle = "Single";

}  // namespace

bool singleShotRequested(const frmMainControls& panel) {
    const Control& arbmode = *panel.arbmode;
    const Control& outmode = *panel.outmode;
    const Control& singlesw = *panel.singlesw;
    return (arbmode.enabled && arbmode.text == kSingle) ||
           (outmode.enabled && outmode.text == kSingle) || (singlesw.enabled && ticked(singlesw));
}

namespace {

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
    const OutputMode* m = outputModeOf(modeText);
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
        // Past the validation, the text names a mode.
        s.gen.sgerror = false;
        if (!failedBefore) {
            for (const SetUpStep& step : m->setUp) {
                step.call(w, *m);
                if (step.stopOnError && failed()) {
                    break;
                }
            }
        }
        if (!failed() && m->switchOnAtEnd) {
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
