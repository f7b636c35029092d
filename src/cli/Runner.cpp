#include "cli/Runner.h"

#include <optional>

#include "ports/HeadlessUi.h"
#include "wiring/Wiring.h"

namespace tunx::cli {

namespace {

std::string colourText(Colour c) {
    return colour::isSystem(c) ? "system" : std::to_string(c);
}

// A picture by its file name; "none" when the control shows none.
std::string pictureName(const std::string& picture) {
    if (picture.empty()) {
        return "none";
    }
    const auto slash = picture.find_last_of("/\\");
    return slash == std::string::npos ? picture : picture.substr(slash + 1);
}

class Session {
  public:
    Session(const Options& options, std::ostream& out)
        : wiring_({.simulate = options.simulate,
                   .device = options.device,
                   .fast = options.fast,
                   .record = true,
                   .transcriptOut = &out,
                   .installDir = options.installDir,
                   .groupSeparator = options.groupSeparator},
                  ui_),
          program_(wiring_.program()),
          transcript_(wiring_.transcript()),
          sim_(wiring_.instrument()),
          simulate_(options.simulate) {}

    int run(const std::vector<ScriptLine>& script) {
        for (const ScriptLine& line : script) {
            if (line.keyword != "sim" && !started_) {
                start();
            }
            if (program_.ended()) {
                break;  // the rest of the script is not run
            }
            execute(line);
        }
        if (!started_) {
            start();
        }
        if (program_.ended()) {
            return kProgramEnded;
        }
        return failedExpects_.empty() ? kRanToEnd : kExpectFailed;
    }

    // Writes out what the transcript holds so far.
    void flush() { transcript_.flush(); }

    // One text per `expect` line that failed, naming the line, in script order.
    const std::vector<std::string>& failedExpects() const { return failedExpects_; }

  private:
    void start() {
        started_ = true;
        program_.start();
    }

    // CONTROL as Window.control or a bare name (generator window first).
    std::pair<Window*, Control*> lookup(const ScriptLine& l) {
        const auto dot = l.control.find('.');
        if (dot != std::string::npos) {
            if (Window* w = program_.window(l.control.substr(0, dot))) {
                if (Control* c = w->find(l.control.substr(dot + 1))) {
                    return {w, c};
                }
            }
        } else {
            for (Window* w : {static_cast<Window*>(&program_.generator()),
                              static_cast<Window*>(&program_.monitor())}) {
                if (Control* c = w->find(l.control)) {
                    return {w, c};
                }
            }
        }
        throw ScriptError(l.number, "no control named '" + l.control + "'");
    }

    std::string valueOf(const Control& c) {
        return c.kind == ControlKind::CheckBox ? std::to_string(c.value) : c.text;
    }

    void execute(const ScriptLine& l) {
        const std::string& k = l.keyword;
        if (k == "sim") {
            simLine(l);
        } else if (k == "set" || k == "choose" || k == "check" || k == "click") {
            auto [w, c] = lookup(l);
            const std::string name = c->name;
            Control& control = *c;
            if (k == "set") {
                program_.dispatch(*w, [&, w = w] { w->typeText(control, l.text); });
            } else if (k == "choose") {
                program_.dispatch(*w, [&, w = w] { w->choose(control, l.text); });
            } else if (k == "check") {
                program_.dispatch(*w, [&, w = w] { w->check(control, l.text == "1" ? 1 : 0); });
            } else {
                program_.dispatch(*w, name + "_Click");
            }
        } else if (k == "menu") {
            Window* target = nullptr;
            for (Window* w : {static_cast<Window*>(&program_.generator()),
                              static_cast<Window*>(&program_.monitor())}) {
                if (w->hasHandler(l.control)) {
                    target = w;
                    break;
                }
            }
            if (target == nullptr) {
                throw ScriptError(l.number, "no menu handler named '" + l.control + "'");
            }
            program_.dispatch(*target, l.control);
        } else if (k == "answer") {
            ui_.answers.push_back(l.text);
        } else if (k == "tick") {
            const int n = std::stoi(l.text);
            for (int i = 0; i < n && !program_.ended(); ++i) {
                program_.tick();
            }
        } else if (k == "show" || k == "expect") {
            const Control& c = *lookup(l).second;
            const std::string value = valueOf(c);
            transcript_.write("value " + l.control + " = " + Transcript::escape(value));
            if (k == "expect" && value != l.text) {
                failedExpects_.push_back("line " + std::to_string(l.number) + ": expected " +
                                         l.control + " = " + Transcript::escape(l.text) + ", got " +
                                         Transcript::escape(value));
            }
        } else if (k == "state") {
            const Control& c = *lookup(l).second;
            transcript_.write("state " + l.control + " = " + (c.enabled ? "enabled" : "disabled") +
                              " " + (c.visible ? "visible" : "hidden"));
        } else if (k == "look") {
            const Control& c = *lookup(l).second;
            transcript_.write("look " + l.control + " = back " + colourText(c.back) + " fore " +
                              colourText(c.fore) + " picture " + pictureName(c.picture));
        } else if (k == "mark") {
            transcript_.write("mark " + l.text);
        } else if (k == "lines") {
            wiring_.recordingCanvas().setLines(l.text == "on");
        }
    }

    void simLine(const ScriptLine& l) {
        if (!simulate_) {
            throw ScriptError(l.number, "sim lines need --simulate");
        }
        const auto& w = l.words;
        const std::string& what = w[0];
        if (what == "devices") {
            sim_.setDevices({w.begin() + 1, w.end()});
        } else if (what == "show") {
            for (const std::string& text : sim_.describe()) {
                transcript_.write("sim " + text);
            }
        } else if (what == "fail") {
            const int status = std::stoi(w[2]);
            if (w[1] == "devices") {
                sim_.failDeviceCount(status);
            } else if (w[1] == "open") {
                sim_.failOpen(status);
            } else {
                sim_.failBaudRate(status);
            }
        } else {
            const int n = std::stoi(w[1]);
            const int after = w.size() == 4 ? std::stoi(w[3]) : 0;
            if (what == "nak") {
                sim_.nakNext(n, after);
            } else if (what == "mute") {
                sim_.muteNext(n, after);
            } else {
                sim_.failWritesNext(n, after);
            }
        }
    }

    HeadlessUi ui_;
    Wiring wiring_;
    Program& program_;
    Transcript& transcript_;
    sim::VirtualInstrument& sim_;
    bool simulate_;
    bool started_ = false;
    std::vector<std::string> failedExpects_;
};

}  // namespace

int runScript(const std::vector<ScriptLine>& script, const Options& options, std::ostream& out,
              std::ostream* diagnostics) {
    Session session(options, out);
    int status = kRanToEnd;
    try {
        status = session.run(script);
    } catch (...) {
        session.flush();  // what ran so far, before the failure is reported
        throw;
    }
    session.flush();
    if (diagnostics != nullptr) {
        for (const std::string& failure : session.failedExpects()) {
            *diagnostics << "tunx4k-cli: " << failure << "\n";
        }
    }
    return status;
}

}  // namespace tunx::cli
