#include "app/WindowPlaces.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include "app/WindowView.h"

namespace tunx::app {

namespace {

QString key(const QWidget& window) {
    return QStringLiteral("windows/") + window.objectName();
}

QRect freeArea(const QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1366, 768);
}

// Whether a good part of the window's title area is on some screen.
bool onAScreen(const QRect& frame) {
    const QRect title(frame.left(), frame.top(), frame.width(), 32);
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect common = screen->availableGeometry().intersected(title);
        if (common.width() >= 64 && common.height() >= 8) {
            return true;
        }
    }
    return false;
}

}  // namespace

WindowPlaces::WindowPlaces(bool keep)
    : keep_(keep && !QCoreApplication::organizationName().isEmpty()) {}

bool WindowPlaces::restore(QWidget& window) {
    if (!keep_) {
        return false;
    }
    const QByteArray saved = QSettings().value(key(window)).toByteArray();
    if (saved.isEmpty() || !window.restoreGeometry(saved) || !onAScreen(window.frameGeometry())) {
        return false;
    }
    restored_.insert(window.objectName());
    placed_.insert(window.objectName());
    return true;
}

void WindowPlaces::placeFirst(WindowView& generator) {
    if (restore(generator)) {
        return;
    }
    generator.resize(generator.fittingSize());
    generator.move(freeArea(generator).topLeft());
    placed_.insert(generator.objectName());
}

bool WindowPlaces::placeBeside(WindowView& monitor, const QWidget& generator) {
    if (restore(monitor)) {
        return false;
    }
    placed_.insert(monitor.objectName());
    const QRect area = freeArea(generator);
    monitor.resize(monitor.fittingSize());
    // Its frame is as wide as the generator window's, which is on screen already.
    const QSize size =
        monitor.size() + generator.frameGeometry().size() - generator.geometry().size();
    const QRect g = generator.frameGeometry();
    if (g.right() + 1 + size.width() <= area.right() + 1) {
        monitor.move(g.right() + 1, g.top());
        return false;
    }
    if (g.bottom() + 1 + size.height() <= area.bottom() + 1) {
        monitor.move(g.left(), g.bottom() + 1);
        return false;
    }
    monitor.move(area.right() + 1 - size.width(), area.top());
    return true;
}

void WindowPlaces::placeAgain(WindowView& window, const QWidget& generator) {
    if (placed_.count(window.objectName()) == 0) {
        placeBeside(window, generator);
    }
}

void WindowPlaces::remember(const QWidget& window) {
    if (keep_ && window.isVisible()) {
        QSettings().setValue(key(window), window.saveGeometry());
    }
}

bool WindowPlaces::remembered(const QWidget& window) const {
    return restored_.count(window.objectName()) != 0;
}

}  // namespace tunx::app
