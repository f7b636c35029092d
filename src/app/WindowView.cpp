#include "app/WindowView.h"

#include "window/CheckBox.h"
#include "window/MenuGroups.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ControlWidgets.h"
#include "app/FrameBox.h"
#include "app/PictureCanvas.h"
#include "app/PlotPanel.h"
#include "generator/PanelTexts.h"

namespace tunx::app {

namespace {

constexpr std::string_view kSubmenuPrefix = menugroup::kEntriesPrefix;
constexpr int kFieldChars = 9;          // width of an entry field in a one-column cell
constexpr int kTitleBarAllowance = 48;  // room left on screen for the window's title bar
constexpr int kBorderAllowance = 8;     // and for its side borders
constexpr QSize kSmallestWindow{480, 320};

// The part of a menu control's name after its last '_' ("MenuBar_File" -> "File").
std::string nameSuffix(const std::string& name) {
    const auto underscore = name.rfind('_');
    return underscore == std::string::npos ? name : name.substr(underscore + 1);
}

// Picks entry `index` of a list whose entry the user saw as `entry`; by its text when the list
// changed since it was shown.
void pickEntry(Control& list, int index, const std::string& entry) {
    const auto at = static_cast<std::size_t>(index);
    if (index >= 0 && at < list.items.size() && list.items[at] == entry) {
        list.text = entry;
        list.listIndex = index;
        return;
    }
    const auto found = std::find(list.items.begin(), list.items.end(), entry);
    if (found != list.items.end()) {
        list.text = entry;
        list.listIndex = static_cast<int>(found - list.items.begin());
    }
}

}  // namespace

WindowView::WindowView(Window& model, const PanelLayout& layout, std::string installDir,
                       HandOver handOver, PictureCanvas* picture)
    : model_(model),
      installDir_(std::move(installDir)),
      handOver_(std::move(handOver)),
      picture_(picture) {
    setObjectName(QString::fromStdString(model_.name()));
    setWindowTitle(QString::fromStdString(model_.caption()));
    buildPanel(layout);
    buildMenus();
    refresh();
}

void WindowView::buildPanel(const PanelLayout& layout) {
    panel_ = new QWidget;
    auto* columns = new QHBoxLayout(panel_);
    if (layout.plot) {
        auto* stack = new QVBoxLayout;
        columns->addLayout(stack);
        stack->addWidget(buildPlot(*layout.plot));
        stack->addStretch();
    }
    for (const Column& column : layout.columns) {
        auto* stack = new QVBoxLayout;
        columns->addLayout(stack);
        for (const GroupPlacement& placement : column) {
            Box& box = boxFor(std::string(placement.group), stack, placement.titled);
            for (const Row& row : placement.rows) {
                place(box, row);
            }
        }
        stack->addStretch();
    }
    // Controls the layout does not name still appear, one to a row in their group's box.
    for (const auto& control : model_.controls()) {
        if (control->kind == ControlKind::Menu || control->kind == ControlKind::Timer ||
            byName_.find(control->name) != byName_.end()) {
            continue;
        }
        if (boxes_.find(control->group) == boxes_.end() && extraColumn_ == nullptr) {
            extraColumn_ = new QVBoxLayout;
            columns->addLayout(extraColumn_);
        }
        Box& box = boxFor(control->group, extraColumn_);
        if (control->kind != ControlKind::Frame) {
            place(box, {{Ctl(*control)}});
        }
    }
    if (extraColumn_ != nullptr) {
        extraColumn_->addStretch();
    }
    columns->addStretch();

    auto* scroll = new QScrollArea;
    scroll->setWidget(panel_);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    setCentralWidget(scroll);
}

QWidget* WindowView::buildPlot(const PlotPlacement& plot) {
    QWidget* picture = bindWidget(*plot.picture, panel_, 1);
    plot_ = new PlotPanel(picture, panel_);
    const auto label = [this](const Ctl& c) {
        return qobject_cast<QLabel*>(bindWidget(*c, plot_, 1));
    };
    for (std::size_t i = 0; i < plot.scale.size(); ++i) {
        plot_->placeScale(label(plot.scale[i]), static_cast<int>(i));
    }
    plot_->placeUnit(label(plot.scaleUnit));
    for (const Ctl& c : plot.indicators) {
        plot_->placeIndicator(*c, label(c));
    }
    for (std::size_t i = 0; i < plot.axis.size(); ++i) {
        plot_->placeAxis(label(plot.axis[i]), static_cast<int>(i),
                         static_cast<int>(plot.axis.size()));
    }
    for (std::size_t i = 0; i < plot.captions.size(); ++i) {
        plot_->placeCaption(label(plot.captions[i]), static_cast<int>(i),
                            static_cast<int>(plot.captions.size()));
    }
    for (std::size_t i = 0; i < plot.readouts.size(); ++i) {
        plot_->placeReadout(bindWidget(*plot.readouts[i], plot_, 1), static_cast<int>(i),
                            static_cast<int>(plot.readouts.size()));
    }
    if (plot.bar.bound()) {
        plot_->placeBar(bindWidget(*plot.bar, plot_, 1));
    }
    for (std::size_t i = 0; i < plot.edges.size(); ++i) {
        plot_->placeEdges(bindWidget(*plot.edges[i], plot_, 1), static_cast<int>(i),
                          static_cast<int>(plot.edges.size()));
    }
    for (std::size_t i = 0; i < plot.statistics.size(); ++i) {
        plot_->placeStatistics(label(plot.statistics[i]), static_cast<int>(i),
                               static_cast<int>(plot.statistics.size()));
    }
    if (plot.counterLine.bound()) {
        plot_->placeCounterLine(label(plot.counterLine));
    }
    if (plot.counterLines.bound()) {
        plot_->placeCounterLines(label(plot.counterLines));
    }
    if (plot.mathReadout.bound()) {
        plot_->placeMathReadout(bindWidget(*plot.mathReadout, plot_, 1));
    }
    if (auto* view = dynamic_cast<PictureView*>(picture)) {
        view->setOnMouseMove([this](double x, double y) {
            if (pictureMouse_) {
                pictureMouse_(x, y);
            }
        });
    }
    return plot_;
}

WindowView::Box& WindowView::boxFor(const std::string& group, QVBoxLayout* column, bool titled) {
    auto found = boxes_.find(group);
    if (found != boxes_.end()) {
        return found->second;
    }
    Box box;
    box.frame = new FrameBox(panel_);
    box.grid = new QGridLayout(box.frame);
    column->addWidget(box.frame);
    // The group's frame control gives the box its title.
    const auto& controls = model_.controls();
    const auto frame = std::find_if(controls.begin(), controls.end(), [&](const auto& c) {
        return c->kind == ControlKind::Frame && c->group == group;
    });
    if (frame != controls.end()) {
        bind(**frame, box.frame, nullptr);
    } else if (titled) {
        box.frame->setTitle(captionText(group));
    }
    return boxes_.emplace(group, box).first->second;
}

void WindowView::place(Box& box, const Row& row) {
    int column = 0;
    bool any = false;
    for (const Cell& cell : row) {
        Control* control = cell.control.bound() ? &*cell.control : nullptr;
        if (control != nullptr && byName_.find(control->name) == byName_.end()) {
            QWidget* widget = bindWidget(*control, box.frame, cell.span);
            box.grid->addWidget(widget, box.rows, column, 1, cell.span);
            any = true;
        }
        column += cell.span;
    }
    if (any) {
        ++box.rows;
    }
}

QWidget* WindowView::bindWidget(Control& control, QWidget* parent, int span) {
    QWidget* widget = control.kind == ControlKind::Picture && picture_ != nullptr
                          ? new PictureView(*picture_, parent)
                          : createControlWidget(control, parent);
    widget->setObjectName(QString::fromStdString(control.name));
    if (span == 1 && qobject_cast<QLineEdit*>(widget) != nullptr) {
        widget->setMaximumWidth(widget->fontMetrics().horizontalAdvance(u'0') * kFieldChars +
                                widget->fontMetrics().height());
    }
    if (auto* label = qobject_cast<QLabel*>(widget); label != nullptr && span > 1) {
        label->setWordWrap(true);
    }
    connectInput(control, widget);
    bind(control, widget, nullptr);
    return widget;
}

void WindowView::connectInput(Control& control, QWidget* widget) {
    Control* c = &control;
    const std::string name = control.name;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        connect(edit, &QLineEdit::textEdited, this, [this, c](const QString& text) {
            userInput(c, [this, c, t = text.toStdString()] { model_.typeText(*c, t); });
        });
    } else if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) {
        // A box the program never reads back as typed (no Change handler) only shows text.
        multi->setReadOnly(!model_.hasHandler(name + "_" + event::kChange));
        connect(multi, &QPlainTextEdit::textChanged, this, [this, c, multi] {
            const std::string text = fromScreenText(multi->toPlainText());
            userInput(c, [this, c, text] { model_.typeText(*c, text); });
        });
    } else if (auto* box = qobject_cast<QComboBox*>(widget)) {
        connect(box, &QComboBox::activated, this, [this, c, box](int index) {
            // The entry as the user saw it: the list may have changed since it was shown.
            userInput(c, [this, c, index, entry = box->itemText(index).toStdString()] {
                pickEntry(*c, index, entry);
                model_.fire(*c, event::kClick);
            });
        });
        connect(box->lineEdit(), &QLineEdit::textEdited, this, [this, c](const QString& text) {
            userInput(c, [this, c, t = text.toStdString()] {
                c->text = t;
                c->listIndex = -1;
                model_.fire(*c, event::kChange);
            });
        });
    } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
        connect(check, &QCheckBox::clicked, this, [this, c](bool checked) {
            userInput(c, [this, c, checked] { model_.check(*c, checked ? kTicked : kCleared); });
        });
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        connect(button, &QPushButton::clicked, this,
                [this, c] { userInput(nullptr, [this, c] { model_.fire(*c, event::kClick); }); });
    } else if (auto* slider = qobject_cast<QSlider*>(widget)) {
        slider->setRange(control.minimum, control.maximum);
        connect(slider, &QSlider::valueChanged, this, [this, c](int value) {
            userInput(c, [this, c, value] {
                c->value = value;
                model_.fire(*c, event::kChange);
            });
        });
    } else if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
        connect(tabs, &QTabBar::currentChanged, this, [this, c](int index) {
            userInput(c, [this, c, index] {
                if (index >= 0 && static_cast<std::size_t>(index) < c->items.size()) {
                    c->value = index + 1;  // tabs count from 1
                    c->text = c->items[static_cast<std::size_t>(index)];
                }
                model_.fire(*c, event::kClick);
            });
        });
    }
}

void WindowView::buildMenus() {
    // Top-level menus first, then their entries ("Menu:File" goes under "File").
    std::vector<std::pair<std::string, QMenu*>> menus;
    for (const auto& control : model_.controls()) {
        if (control->kind == ControlKind::Menu && control->group == menugroup::kBar) {
            QMenu* menu = menuBar()->addMenu(captionText(control->text));
            menus.emplace_back(control->text, menu);
            menus.emplace_back(nameSuffix(control->name), menu);
            bind(*control, nullptr, menu->menuAction());
        }
    }
    for (const auto& control : model_.controls()) {
        if (control->kind != ControlKind::Menu || !control->group.starts_with(kSubmenuPrefix)) {
            continue;
        }
        const std::string parent = control->group.substr(kSubmenuPrefix.size());
        auto found = std::find_if(menus.begin(), menus.end(),
                                  [&](const auto& entry) { return entry.first == parent; });
        QMenu* menu = found != menus.end() ? found->second
                                           : menuBar()->addMenu(QString::fromStdString(parent));
        if (found == menus.end()) {
            menus.emplace_back(parent, menu);
        }
        QAction* action = menu->addAction(captionText(control->text));
        const Control* c = control.get();
        connect(action, &QAction::triggered, this,
                [this, c] { userInput(nullptr, [this, c] { model_.fire(*c, event::kClick); }); });
        bind(*control, nullptr, action);
    }
}

void WindowView::bind(const Control& control, QWidget* widget, QAction* action) {
    byControl_[&control] = bindings_.size();
    byName_[control.name] = bindings_.size();
    bindings_.push_back(Binding{&control, control, widget, action, {}});
}

void WindowView::userInput(const Control* edited, std::function<void()> handler) {
    const std::uint64_t edit = edited != nullptr ? ++edits_[edited] : 0;
    handOver_(std::move(handler), edited, edit);
}

bool WindowView::showLook(const ControlLook& look) {
    auto found = byControl_.find(look.control);
    if (found == byControl_.end()) {
        return false;
    }
    Binding& binding = bindings_[found->second];
    binding.shown = look.look;
    const auto edited = edits_.find(look.control);
    const bool editOnItsWay = edited != edits_.end() && edited->second > look.edits;
    refresh(binding, editOnItsWay);
    return true;
}

void WindowView::refresh() {
    for (Binding& binding : bindings_) {
        refresh(binding);
    }
}

void WindowView::refresh(Binding& binding, bool keepUsersValue) {
    if (binding.action != nullptr) {
        refreshAction(binding.shown, *binding.action);
    }
    if (binding.widget != nullptr) {
        refreshWidget(binding.shown, *binding.widget, installDir_, binding.picture, keepUsersValue);
        if (plot_ != nullptr) {
            plot_->follow(*binding.control, binding.shown);
        }
    }
}

QWidget* WindowView::widgetFor(std::string_view controlName) const {
    auto found = byName_.find(controlName);
    return found == byName_.end() ? nullptr : bindings_[found->second].widget;
}

QAction* WindowView::actionFor(std::string_view controlName) const {
    auto found = byName_.find(controlName);
    return found == byName_.end() ? nullptr : bindings_[found->second].action;
}

QSize WindowView::fittingSize() const {
    panel_->ensurePolished();  // sizes as the style will draw them
    if (panel_->layout() != nullptr) {
        panel_->layout()->activate();
    }
    QSize panel = panel_->sizeHint().expandedTo(panel_->minimumSizeHint());
    if (panel_->hasHeightForWidth()) {  // wrapping labels are as tall as this width needs
        panel.setHeight(std::max(panel.height(), panel_->heightForWidth(panel.width())));
    }
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // Room for the scroll bars too, so that none is needed when the screen is large enough.
    QSize wanted(panel.width() + scrollBar,
                 panel.height() + scrollBar + menuBar()->sizeHint().height());
    wanted = wanted.expandedTo(kSmallestWindow);
    if (const QScreen* s = screen()) {
        const QSize room =
            s->availableGeometry().size() - QSize(kBorderAllowance, kTitleBarAllowance);
        wanted = wanted.boundedTo(room);
    }
    return wanted;
}

void WindowView::addWindowMenu(const std::vector<WindowView*>& windows,
                               const std::function<void(WindowView&)>& open,
                               const std::function<void()>& restoreDefaults) {
    auto* menu = new QMenu(QStringLiteral("&Window"), this);
    for (WindowView* window : windows) {
        QAction* entry = menu->addAction(window->windowTitle());
        connect(entry, &QAction::triggered, this, [window, open] { open(*window); });
    }
    menu->addSeparator();
    QAction* defaults = menu->addAction(QString::fromUtf8(kRestoreDefaults));
    connect(defaults, &QAction::triggered, this, [restoreDefaults] { restoreDefaults(); });
    // Before Help, where a desktop user looks for it.
    QAction* help = nullptr;
    for (QAction* top : menuBar()->actions()) {
        if (top->text().remove(u'&') == QLatin1String("Help")) {
            help = top;
        }
    }
    menuBar()->insertMenu(help, menu);
}

void WindowView::closeEvent(QCloseEvent* event) {
    if (closeRequest_ && !closeRequest_()) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace tunx::app
