// The program started on the virtual instrument with the monitor window shown, and helpers
// to drive the monitor as a user does and to read what reached the instrument and the plot.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "monitor/Form1.h"
#include "support/Bench.h"

namespace tunx::test {

// A line drawn on Picture1, from its transcript line.
struct Drawn {
    double x1, y1, x2, y2;
    std::string colour;  // the colour number, or "back"
    int width;
    bool dotted;
};

constexpr const char* kRed = "255";
constexpr const char* kYellow = "65535";

// Chooses each "name=text" of "name=text|name=text" on the monitor in turn, as a user picks
// them, each with its handler.
inline void chooseAll(Rig& rig, const std::string& fields) {
    Form1& w = rig.program.monitor();
    std::istringstream in(fields);
    for (std::string field; std::getline(in, field, '|');) {
        const auto eq = field.find('=');
        rig.program.dispatch([&] { w.choose(w[field.substr(0, eq)], field.substr(eq + 1)); });
    }
}

// A number as the monitor shows it, with commas between the thousands ("1,500,001").
inline double number(std::string text) {
    std::erase(text, ',');
    return std::stod(text);
}

// The last of `frames` with command code `code` (all zero when there is none).
inline Frame lastOf(const std::vector<Frame>& frames, int code) {
    for (auto it = frames.rbegin(); it != frames.rend(); ++it) {
        if ((*it)[0] == code) {
            return *it;
        }
    }
    return {};
}

// Lines drawn on the plot since `from`.
inline std::vector<Drawn> drawn(const Rig& rig, std::size_t from) {
    std::vector<Drawn> out;
    for (const std::string& l : rig.lines(from)) {
        if (l.rfind("line ", 0) != 0) {
            continue;
        }
        std::istringstream in(l.substr(5));
        Drawn d{};
        std::string style;
        in >> d.x1 >> d.y1 >> d.x2 >> d.y2 >> d.colour >> d.width >> style;
        d.dotted = style == "dot";
        out.push_back(d);
    }
    return out;
}

// The rows (0 at the top of the plot) the last trace drew at its columns, in the colour.
inline std::vector<std::pair<int, int>> trace(const Rig& rig, std::size_t from,
                                              const std::string& colour) {
    std::vector<std::pair<int, int>> points;
    for (const Drawn& d : drawn(rig, from)) {
        if (d.colour == colour && d.width == 2) {
            points.emplace_back(static_cast<int>(d.x2) - 32, static_cast<int>(d.y2) - 32);
        }
    }
    return points;
}

class MonitorRig : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(rig.start());
        rig.wiring.recordingCanvas().setLines(true);
    }

    Form1& m() { return rig.program.monitor(); }
    MonitorState& mon() { return rig.s().mon; }

    void instruct(const std::string& line) { tunx::test::instruct(rig, line); }
    void generatorSine(const std::string& frek, const std::string& unit, const std::string& vpp) {
        tunx::test::generatorSine(rig, frek, unit, vpp);
    }

    // A user picks a list entry or types into a control of the monitor, then its handler runs.
    void choose(Ctl control, const std::string& text) {
        rig.program.dispatch([&] { m().choose(*control, text); });
    }
    void set(const std::string& fields) { chooseAll(rig, fields); }
    // A user types into a text box of the monitor (its Change action, if any, runs).
    void type(Ctl control, const std::string& text) {
        rig.program.dispatch([&] { m().typeText(*control, text); });
    }
    void click(const std::string& handler) { rig.program.dispatch(m(), handler); }
    void tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            rig.program.tick();
        }
    }
    void tab(Ctl strip, int n) {
        rig.program.dispatch([&] {
            strip->value = n;
            strip->text = strip->items.at(static_cast<std::size_t>(n - 1));
            m().fire(*strip, "Click");
        });
    }
    void slide(int value) {
        rig.program.dispatch([&] {
            m().Slider1->value = value;
            m().fire(*m().Slider1, "Change");
        });
    }

    // Scope mode `mode`, START and `ticks` ticks (the set-up, then records).
    void runScope(const std::string& mode, int ticks) {
        choose(m().selmonmode, mode);
        click("cmdstartsweep_Click");
        tick(ticks);
    }

    std::size_t mark() { return rig.mark(); }
    std::vector<Frame> frames(std::size_t from) const { return rig.frames(from); }
    std::vector<std::string> messages() const { return rig.messages(); }
    // The messages shown after the first `count`.
    std::vector<std::string> messagesAfter(std::size_t count) const {
        const std::vector<std::string> all = messages();
        return {all.begin() + static_cast<long>(std::min(count, all.size())), all.end()};
    }

    // The frames with command code `code` since `from`.
    std::vector<Frame> framesOf(std::size_t from, int code) const {
        std::vector<Frame> out;
        for (const Frame& f : frames(from)) {
            if (f[0] == code) {
                out.push_back(f);
            }
        }
        return out;
    }
    Frame lastOf(std::size_t from, int code) const {
        return tunx::test::lastOf(frames(from), code);
    }
    std::vector<Drawn> drawn(std::size_t from) const { return tunx::test::drawn(rig, from); }
    std::vector<std::pair<int, int>> trace(std::size_t from, const std::string& colour) const {
        return tunx::test::trace(rig, from, colour);
    }
    // The shape of that trace in rows (0 at the top); its period in points.
    Trace shape(std::size_t from, const std::string& colour) const {
        std::vector<double> rows;
        for (const auto& point : trace(from, colour)) {
            rows.push_back(point.second);
        }
        EXPECT_FALSE(rows.empty()) << "no trace in " << colour;
        return Trace(rows.empty() ? std::vector<double>{-1} : rows);
    }

    Rig rig;
};

}  // namespace tunx::test
