#include "app/Shortcuts.h"

#include <QAction>
#include <QKeySequence>
#include <QShortcut>

#include "app/App.h"

namespace tunx::app {

namespace {

// Menu entries of the generator window and their keys.
struct MenuKey {
    const char* entry;
    QKeySequence::StandardKey key;
};
constexpr MenuKey kMenuKeys[] = {
    {"MenuBar_LoadCfg", QKeySequence::Open},
    {"MenuBar_SaveCfg", QKeySequence::Save},
    {"MenuBar_UsersGuide", QKeySequence::HelpContents},
};

// The picture buttons' tooltips.
struct Tip {
    const char* button;
    const char* text;
};
constexpr Tip kTips[] = {
    {"RUN", "Run: send the panel's settings and switch the output on"},
    {"STOP", "Stop: switch the output off"},
    {"RefreshBtn", "Refresh: send the panel's settings again (F5)"},
};

constexpr const char* kRefreshHandler = "RefreshBtn_Click";

}  // namespace

void addShortcuts(App& app) {
    WindowView& generator = app.generatorView();
    for (const MenuKey& k : kMenuKeys) {
        if (QAction* action = generator.actionFor(k.entry)) {
            action->setShortcut(k.key);
        }
    }
    for (const Tip& t : kTips) {
        if (QWidget* button = generator.widgetFor(t.button)) {
            button->setToolTip(QString::fromUtf8(t.text));
        }
    }
    // F5 and Ctrl+Q work from either window.
    for (WindowView* view : {&app.generatorView(), &app.monitorView()}) {
        auto* refresh = new QShortcut(QKeySequence::Refresh, view);
        QObject::connect(refresh, &QShortcut::activated, view,
                         [&app] { app.post(app.program().generator(), kRefreshHandler); });
        auto* quit = new QShortcut(QKeySequence::Quit, view);
        QObject::connect(quit, &QShortcut::activated, view,
                         [&app] { app.generatorView().close(); });
    }
}

}  // namespace tunx::app
