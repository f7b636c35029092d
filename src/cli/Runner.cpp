#include "cli/Runner.h"

#include <algorithm>
#include <fstream>
#include <optional>

#include "cli/Actions.h"
#include "monitor/Export.h"
#include "picture/RasterCanvas.h"

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
                   .userDataDir = options.userDataDir,
                   .serial = options.serial,
                   .groupSeparator = options.groupSeparator},
                  ui_, &picture_),
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

    std::pair<Window*, Control*> lookup(const ScriptLine& l) { return lookupControl(program_, l); }

    std::string valueOf(const Control& c) {
        return c.kind == ControlKind::CheckBox ? std::to_string(c.value) : c.text;
    }

    void execute(const ScriptLine& l) {
        const std::string& k = l.keyword;
        if (k == "sim") {
            simLine(l);
        } else if (performAction(program_, l)) {
            // a user's action, carried out through the program's rules
        } else if (k == "answer") {
            ui_.answers.push_back(l.text);
        } else if (k == "reply") {
            ui_.replies.push_back(l.text == "yes");
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
        } else if (k == "export") {
            std::string why;
            const std::optional<std::size_t> rows =
                exportTo(program_.monitor(), *exportKind(l.control), l.text, why);
            if (!rows) {
                throw ScriptError(l.number,
                                  "cannot export the " + l.control + " to " + l.text + ": " + why);
            }
            transcript_.write("export " + l.control + " " + l.text + " " + std::to_string(*rows));
        } else if (k == "picture") {
            std::string why;
            if (!picture_.Save(l.text, why)) {
                throw ScriptError(l.number, "cannot write the picture to " + l.text + ": " + why);
            }
            transcript_.write("picture " + l.text);
        }
    }

    void simLine(const ScriptLine& l) {
        if (!simulate_) {
            throw ScriptError(l.number, "sim lines need --simulate");
        }
        const auto& w = l.words;
        const std::string& what = w[0];
        if (what == "show") {
            for (const std::string& text : sim_.describe()) {
                transcript_.write("sim " + text);
            }
        } else if (const std::optional<std::string> error = sim_.instruct(w)) {
            throw ScriptError(l.number, *error);
        }
    }

    HeadlessUi ui_;
    RasterCanvas picture_;
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
