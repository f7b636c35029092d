#include "cli/Runner.h"

#include <optional>

#include "cli/ScriptUi.h"
#include "common/RuntimeError.h"
#include "platform/NoUsbBackend.h"
#include "platform/RealClock.h"
#include "ports/Recording.h"
#include "program/Program.h"
#include "sim/VirtualInstrument.h"

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
        : transcript_(out),
          clock_(options.fast ? static_cast<Clock&>(virtualClock_) : realClock_),
          sim_(clock_),
          transport_(options.simulate ? static_cast<UsbApi&>(sim_)
                     : options.device ? *options.device
                                      : noUsb_),
          usb_(transport_, transcript_),
          recClock_(clock_, transcript_),
          recUi_(ui_, transcript_),
          program_(usb_, recClock_, recUi_, options.installDir, options.groupSeparator),
          simulate_(options.simulate) {}

    int run(const std::vector<ScriptLine>& script) {
        try {
            for (const ScriptLine& line : script) {
                if (line.keyword != "sim" && !started_) {
                    start();
                }
                execute(line);
            }
            if (!started_) {
                start();
            }
        } catch (const ApplicationEnded&) {
            return kProgramEnded;
        }
        return failedExpects_.empty() ? kRanToEnd : kExpectFailed;
    }

    // One text per `expect` line that failed, naming the line, in script order.
    const std::vector<std::string>& failedExpects() const { return failedExpects_; }

  private:
    void start() {
        started_ = true;
        handler(program_.generator(), "Form_Activate");
    }

    // Runs a handler, then the activation of any window it showed.
    void handler(Window& w, const std::string& name) {
        program_.dispatch(w, name);
        activateShown();
    }
    void action(Window& w, const std::function<void()>& f) {
        program_.dispatch(w, f);
        activateShown();
    }
    void activateShown() {
        for (const std::string& form : ui_.takeShown()) {
            if (Window* shown = program_.window(form)) {
                program_.dispatch(*shown, "Form_Activate");
            }
        }
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
            if (k == "set") {
                action(*w, [&, w = w] { w->typeText(name, l.text); });
            } else if (k == "choose") {
                action(*w, [&, w = w] { w->choose(name, l.text); });
            } else if (k == "check") {
                action(*w, [&, w = w] { w->check(name, l.text == "1" ? 1 : 0); });
            } else {
                handler(*w, name + "_Click");
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
            handler(*target, l.control);
        } else if (k == "answer") {
            ui_.queueAnswer(l.text);
        } else if (k == "tick") {
            const int n = std::stoi(l.text);
            for (int i = 0; i < n; ++i) {
                handler(program_.monitor(), "Timer1_Timer");
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

    Transcript transcript_;
    VirtualClock virtualClock_;
    RealClock realClock_;
    Clock& clock_;
    sim::VirtualInstrument sim_;
    NoUsbBackend noUsb_;
    UsbApi& transport_;
    RecordingUsbApi usb_;
    ScriptUi ui_;
    RecordingClock recClock_;
    RecordingUi recUi_;
    Program program_;
    bool simulate_;
    bool started_ = false;
    std::vector<std::string> failedExpects_;
};

}  // namespace

int runScript(const std::vector<ScriptLine>& script, const Options& options, std::ostream& out,
              std::ostream* diagnostics) {
    Session session(options, out);
    const int status = session.run(script);
    if (diagnostics != nullptr) {
        for (const std::string& failure : session.failedExpects()) {
            *diagnostics << "tunx4k-cli: " << failure << "\n";
        }
    }
    return status;
}

}  // namespace tunx::cli
