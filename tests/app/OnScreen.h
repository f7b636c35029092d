#pragma once

#include <QtWidgets>
#include <string>

#include "app/App.h"
#include "generator/frmMain.h"
#include "sim/VirtualInstrument.h"

namespace tunx::app {

// The program on screen against the virtual instrument with the virtual clock, and what the
// tests ask of it: a generator widget by name, the panel, a control's value as the program has
// it once everything handed over has run.
struct OnScreen {
    // With `keep`, the run keeps the monitor's settings and the windows' places as the program
    // does (under the application's organisation name, which a test sets first).
    explicit OnScreen(bool keep = false)
        : app({.simulate = true, .fast = true, .installDir = TUNX_SHARE_DIR}, keep) {}

    template <typename W>
    W* widget(const char* name) {
        return qobject_cast<W*>(app.generatorView().widgetFor(name));
    }
    frmMain& panel() { return app.program().generator(); }
    std::string modelText(const Ctl& control) {
        return app.query<std::string>([&] { return control->text; });
    }
    int modelValue(const Ctl& control) {
        return app.query<int>([&] { return control->value; });
    }
    sim::VirtualInstrument& sim() { return app.wiring().instrument(); }

    App app;
};

}  // namespace tunx::app
