#include "app/GuiScript.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <iostream>
#include <memory>
#include <sstream>

#include "app/App.h"
#include "cli/Actions.h"
#include "cli/Script.h"
#include "monitor/plot/Sheet.h"

namespace tunx::app {

namespace {
constexpr int kBadScript = 2;
constexpr int kBetweenLinesMs = 50;
}  // namespace

GuiScript::GuiScript(App& app, std::vector<std::string> lines)
    : app_(app), lines_(std::move(lines)) {}

void GuiScript::play() {
    QTimer::singleShot(kBetweenLinesMs, this, [this] { next(); });
}

void GuiScript::fail(const std::string& why) {
    std::cerr << "tunx4k: --script line " << at_ << ": " << why << "\n";
    QCoreApplication::exit(kBadScript);
}

void GuiScript::next() {
    if (app_.ended()) {
        return;
    }
    if (at_ >= lines_.size()) {
        return;
    }
    const std::string line = lines_[at_++];
    std::istringstream words(line);
    std::string keyword, rest;
    words >> keyword;
    std::getline(words >> std::ws, rest);
    int pause = kBetweenLinesMs;
    if (keyword.empty() || keyword[0] == '#') {
        pause = 0;
    } else if (keyword == "wait") {
        pause = std::atoi(rest.c_str());
    } else if (keyword == "shot") {
        // shot FILE [WINDOW]: the whole screen, or one window of the program.
        std::istringstream args(rest);
        std::string file, window;
        args >> file >> window;
        QPixmap image;
        if (window.empty()) {
            if (QScreen* screen = QGuiApplication::primaryScreen()) {
                image = screen->grabWindow(0);
            }
        } else if (WindowView* view = app_.viewOf(window)) {
            image = view->grab();
        } else {
            fail("no window named " + window);
            return;
        }
        if (image.isNull() || !image.save(QString::fromStdString(file))) {
            fail("cannot save the picture to " + file);
            return;
        }
    } else if (keyword == "plot") {
        // plot FILE: the plot with its scales and settings, as "Save plot as PNG" keeps it.
        auto why = std::make_shared<std::string>();
        const std::uint64_t work = app_.postWork([this, file = rest, why] {
            if (!app_.picture().SaveSheet(file, plotSheet(app_.program().monitor()), *why) &&
                why->empty()) {
                *why = "cannot save the plot";
            }
        });
        app_.whenDone(work, [this, why, file = rest] {
            if (!why->empty()) {
                fail("cannot save the plot to " + file + ": " + *why);
                return;
            }
            QTimer::singleShot(kBetweenLinesMs, this, [this] { next(); });
        });
        return;
    } else if (keyword == "quit") {
        QCoreApplication::exit(0);
        return;
    } else {
        std::vector<cli::ScriptLine> parsed;
        try {
            std::istringstream one(line);
            parsed = cli::parseScript(one);
        } catch (const cli::ScriptError& e) {
            fail(e.what());
            return;
        }
        // The line runs on the program's thread, in order with the user's own input; the next
        // line follows once the windows show its outcome.
        auto why = std::make_shared<std::string>();
        const std::uint64_t work = app_.postWork([this, parsed, line, why] {
            try {
                for (const cli::ScriptLine& l : parsed) {
                    if (l.keyword == "sim") {
                        if (const auto error = app_.wiring().instrument().instruct(l.words)) {
                            *why = *error;
                            return;
                        }
                    } else if (!cli::performAction(app_.program(), l)) {
                        *why = "not a user's action: " + line;
                        return;
                    }
                }
            } catch (const cli::ScriptError& e) {
                *why = e.what();
            }
        });
        app_.whenDone(work, [this, why] {
            if (!why->empty()) {
                fail(*why);
                return;
            }
            QTimer::singleShot(kBetweenLinesMs, this, [this] { next(); });
        });
        return;
    }
    QTimer::singleShot(pause, this, [this] { next(); });
}

}  // namespace tunx::app
