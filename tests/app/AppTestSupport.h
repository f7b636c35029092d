#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "app/App.h"
#include "ports/Clock.h"
#include "sim/VirtualInstrument.h"

namespace tunx::app::test {

// The program on screen against the virtual instrument with the virtual clock.
struct Fixture {
    explicit Fixture(std::vector<std::string> serials = {sim::kDefaultSerial}) {
        sim.setDevices(std::move(serials));
    }

    // Shows the windows and waits until start-up has run.
    bool start() {
        app.start();
        bool ran = false;
        QTimer::singleShot(0, [&] { ran = true; });  // queued after the activation
        for (int i = 0; i < 200 && !ran; ++i) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        QApplication::processEvents();
        return ran;
    }

    template <typename W>
    W* widget(const char* name) {
        return qobject_cast<W*>(app.generatorView().widgetFor(name));
    }
    Control& control(const char* name) { return app.program().generator()[name]; }

    VirtualClock clock;
    sim::VirtualInstrument sim{clock};
    App app{sim, clock, TUNX_SHARE_DIR, ','};
};

// Answers every message box the program shows with OK, keeping what it showed.
class MessageCatcher {
  public:
    struct Message {
        QString title;
        QString text;
        QMessageBox::Icon icon;
    };

    MessageCatcher() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages.push_back({box->windowTitle(), box->text(), box->icon()});
                if (whenShown) {
                    whenShown();
                }
                box->accept();
            }
        });
        timer_.start();
    }

    std::vector<Message> messages;
    std::function<void()> whenShown;  // runs while a box is open

  private:
    QTimer timer_;
};

}  // namespace tunx::app::test
