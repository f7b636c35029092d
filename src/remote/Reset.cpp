#include "remote/Reset.h"

#include <algorithm>
#include <initializer_list>

#include "cli/Actions.h"
#include "platform/NoUsbBackend.h"
#include "ports/Canvas.h"
#include "ports/Clock.h"
#include "ports/HeadlessUi.h"
#include "remote/Panel.h"

namespace tunx::remote {

namespace {

bool isEntry(const Control& c) {
    return c.kind == ControlKind::TextBox || c.kind == ControlKind::ComboBox ||
           c.kind == ControlKind::CheckBox;
}

// Puts each entry of `window` that differs from the same control of `built` back, in the
// window's control order, except the controls in `keep`.
void restoreEntries(Program& program, Window& window, const Window& built,
                    std::initializer_list<const Control*> keep) {
    const auto& now = window.controls();
    const auto& initial = built.controls();
    for (std::size_t i = 0; i < now.size() && i < initial.size(); ++i) {
        Control& c = *now[i];
        const Control& d = *initial[i];
        if (!isEntry(c) || std::find(keep.begin(), keep.end(), &c) != keep.end()) {
            continue;
        }
        if (c.kind == ControlKind::CheckBox) {
            if (c.value != d.value) {
                cli::checkBox(program, window, c, d.value);
            }
        } else if (c.text != d.text) {
            if (c.kind == ControlKind::ComboBox) {
                cli::chooseIn(program, window, c, d.text);
            } else {
                cli::typeInto(program, window, c, d.text);
            }
        }
    }
}

}  // namespace

void resetPanels(Program& program) {
    frmMain& gen = program.generator();
    Form1& mon = program.monitor();
    press(program, gen, *gen.STOP);
    if (monitorRunning(mon)) {
        press(program, mon, *mon.cmdstop);
    }
    // The two windows as they are built, before anything ran: the defaults.
    NoUsbBackend noDevice;
    VirtualClock clock;
    HeadlessUi ui;
    BlankCanvas canvas;
    Program built(noDevice, clock, ui, canvas, program.state().host.installDir,
                  program.state().host.groupSeparator);
    restoreEntries(program, gen, built.generator(),
                   {gen.cmbDevice.get(), gen.description.get(), gen.tcali.get()});
    restoreEntries(
        program, mon, built.monitor(),
        {mon.textstatus.get(), mon.textfr.get(), mon.Textpower.get(), mon.frcountertxt.get()});
    cli::chooseIn(program, gen, *gen.ModeSelect, built.generator().ModeSelect->text);
}

}  // namespace tunx::remote
