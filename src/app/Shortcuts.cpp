#include "app/Shortcuts.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMessageBox>
#include <QShortcut>

#include "app/App.h"

namespace tunx::app {

namespace {

// Menu entries and their keys, in either window.
struct MenuKey {
    const char* entry;
    QKeySequence::StandardKey key;
};
constexpr MenuKey kMenuKeys[] = {
    {"MenuBar_LoadCfg", QKeySequence::Open},
    {"MenuBar_SaveCfg", QKeySequence::Save},
    {"MenuBar_UsersGuide", QKeySequence::HelpContents},
};

// The keys of both windows, as the Help menu lists them (each with its key as the desktop
// names it).
struct KeyUse {
    QKeySequence::StandardKey key;
    const char* use;
};
constexpr KeyUse kKeyUses[] = {
    {QKeySequence::HelpContents, "the user's guide"},
    {QKeySequence::Refresh, "Refresh: send the generator panel's settings again"},
    {QKeySequence::Open, "load a configuration (generator window)"},
    {QKeySequence::Save, "save a configuration (generator window)"},
    {QKeySequence::Quit, "quit the program"},
};
constexpr const char* kShortcutsEntry = "Keyboard shortcuts";
constexpr const char* kHelpMenu = "MenuBar_Help";

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

QString shortcutsText() {
    QString text;
    for (const KeyUse& k : kKeyUses) {
        const QString key = QKeySequence(k.key).toString(QKeySequence::NativeText);
        text += key + QStringLiteral("\t") + QString::fromUtf8(k.use) + u'\n';
    }
    return text.trimmed();
}

void addShortcuts(App& app) {
    for (WindowView* view : {&app.generatorView(), &app.monitorView()}) {
        for (const MenuKey& k : kMenuKeys) {
            if (QAction* action = view->actionFor(k.entry)) {
                action->setShortcut(k.key);
            }
        }
        // The Help menu lists the keys.
        if (QAction* help = view->actionFor(kHelpMenu); help != nullptr && help->menu()) {
            QAction* entry = help->menu()->addAction(QString::fromUtf8(kShortcutsEntry));
            QObject::connect(entry, &QAction::triggered, view, [view] {
                QMessageBox::information(view, QString::fromUtf8(kShortcutsEntry), shortcutsText());
            });
        }
    }
    WindowView& generator = app.generatorView();
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
