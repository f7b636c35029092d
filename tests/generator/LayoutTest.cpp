#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "generator/Layout.h"
#include "generator/OutputMode.h"
#include "generator/PanelSnapshot.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

using C = frmMainControls;

// A different setting of an entry control: another entry of a list, the other state of a check
// box, a longer number or name in a text box.
void change(Control& c) {
    if (c.kind == ControlKind::CheckBox) {
        c.value = c.value == 1 ? 0 : 1;
    } else if (c.kind == ControlKind::ComboBox && !c.items.empty()) {
        c.text = c.items.front() == c.text ? c.items.back() : c.items.front();
    } else {
        c.text += "9";
    }
}

bool isEntry(const Control& c) {
    return c.kind == ControlKind::TextBox || c.kind == ControlKind::ComboBox ||
           c.kind == ControlKind::CheckBox;
}

// A started rig laid out for a mode from a panel whose controls are all enabled or all disabled,
// with the mode's example entries typed in.
struct LaidOut : Rig {
    LaidOut(const OutputMode& mode, const char* destination, bool enabledBefore) {
        EXPECT_TRUE(start());
        for (const auto& c : w().controls()) {
            c->enabled = enabledBefore;
        }
        w().arbit->text = destination;
        w().Vpp->text = "1.5";
        w().ModeSelect->text = mode.text();
        EXPECT_TRUE(run("ModeSelect_Click"));
        vppAfterLayout = w().Vpp->text;
        for (const PanelEntry& e : mode.example) {
            (w().*e.control)->text = e.text;
        }
    }
    // What a refresh sends and shows.
    Texts refresh() {
        const auto from = mark();
        EXPECT_TRUE(run("RefreshBtn_Click"));
        return lines(from);
    }
    std::string vppAfterLayout;
};

// Each mode (and each destination of an arbitrary profile) as the user meets it: the entries its
// example needs can be typed, however the panel was laid out before; an entry the layout greys
// out does not change what a refresh sends; the Limitations box shows the mode's own text, one
// line per line; the amplitude entry starts again from 0 (a profile's keeps its text).
TEST(PanelLayout, ModesOfferWhatTheyReadAndShowTheirLimitations) {
    struct Case {
        const char* mode;
        const char* destination = "Voltage";
        // Greyed-out entries that the mode reads nevertheless.
        std::vector<Ctl C::*> readWhileGrey = {};
    };
    const Case cases[] = {
        {.mode = "Single Tone Sine"},
        {.mode = "Sine Modulated"},
        {.mode = "Pulse Generator"},
        // The ramp's and the sweep's RAM clock take the second profile's multiplier.
        {.mode = "Ramp", .readWhileGrey = {&C::multi2}},
        {.mode = "Triangle", .readWhileGrey = {&C::multi2}},
        // A voltage profile greys the offset out, yet its offset adds to arbvoffset.
        {.mode = "Arbitrary", .destination = "Voltage", .readWhileGrey = {&C::VBias}},
        {.mode = "Arbitrary", .destination = "Freq"},
        {.mode = "Arbitrary", .destination = "Phase"},
        {.mode = "Sweep Sine Generator", .readWhileGrey = {&C::multi2}},
        // The square wave is the pulse's pattern: inverted and single as the pulse's entries say.
        {.mode = "Square-Wave", .readWhileGrey = {&C::invert, &C::outmode}},
        {.mode = "Square-Wave2"},
        {.mode = "Single Tone Sine2"},
    };
    std::set<std::string> limitations;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " / " + c.destination);
        const OutputMode* mode = outputModeOf(c.mode);
        ASSERT_NE(mode, nullptr);
        LaidOut fromOff(*mode, c.destination, false);
        for (const PanelEntry& e : mode->example) {
            EXPECT_TRUE((fromOff.w().*e.control)->enabled) << (fromOff.w().*e.control)->name;
        }
        LaidOut plain(*mode, c.destination, true);
        const Texts sent = plain.refresh();
        // Every greyed-out entry changed at once; when that shows, each one alone names them.
        const auto greyedEntries = [&](LaidOut& rig) {
            std::vector<Control*> out;
            for (const auto& control : rig.w().controls()) {
                const bool read = std::ranges::any_of(c.readWhileGrey, [&](Ctl C::*m) {
                    return (rig.w().*m).get() == control.get();
                });
                if (isEntry(*control) && !control->enabled && !read) {
                    out.push_back(control.get());
                }
            }
            return out;
        };
        LaidOut changed(*mode, c.destination, true);
        for (Control* entry : greyedEntries(changed)) {
            change(*entry);
        }
        if (changed.refresh() != sent) {
            const std::size_t count = greyedEntries(changed).size();
            for (std::size_t i = 0; i < count; ++i) {
                LaidOut one(*mode, c.destination, true);
                Control& entry = *greyedEntries(one)[i];
                change(entry);
                EXPECT_EQ(one.refresh(), sent) << entry.name << " is greyed out but read";
            }
        }
        EXPECT_EQ(plain.w().StatusBar->text, std::string("Running ") + c.mode);

        const std::string& text = fromOff.w().description->text;
        const auto breaks = std::ranges::count(text, '\n');
        EXPECT_EQ(std::ranges::count(text, '\r'), breaks);
        EXPECT_EQ(breaks, static_cast<long>(mode->limitations.size()) -
                              (mode->limitationsEndInBreak ? 0 : 1));
        limitations.insert(text);
        EXPECT_EQ(fromOff.vppAfterLayout, mode->arrange == resetLevels ? "0" : "1.5");
    }
    EXPECT_EQ(limitations.size(), outputModes().size());  // each mode its own
}

// "Select Mode" asks for a mode and flags the error; any other text is no mode. Neither changes
// the panel.
TEST(PanelLayout, NoModeLeavesThePanelAsItWas) {
    for (const std::string text : {"Select Mode", "Sine"}) {
        Rig rig;
        ASSERT_TRUE(rig.start());
        rig.w().ModeSelect->text = text;
        const Texts before = snapshot(rig.w());
        const auto mark = rig.mark();
        ASSERT_TRUE(rig.run("ModeSelect_Click"));
        EXPECT_EQ(snapshot(rig.w()), before) << text;
        const bool select = text == "Select Mode";
        EXPECT_EQ(rig.s().gen.sgerror, select);
        EXPECT_EQ(rig.lines(mark), select ? Texts{"message Please Select Mode"} : Texts{});
    }
}

// The output-stage controls record their settings for the next command sequence; a level
// text that is no 16-bit number leaves the level (555) as it was. None of them sends anything.
TEST(OutputStageControls, RecordTheirSettingsAndSendNothing) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    const auto mark = rig.mark();
    const std::pair<Ctl C::*, bool GeneratorState::*> boxes[] = {
        {&C::atten, &GeneratorState::sgatten},
        {&C::undersmon, &GeneratorState::undersmonflag},
        {&C::lowgain, &GeneratorState::lowgain},
        {&C::compon, &GeneratorState::compon}};
    for (const auto& [box, flag] : boxes) {
        Control& c = *(rig.w().*box);
        for (const int value : {1, 0, 1, 2}) {  // 2, greyed, is not ticked
            rig.w().check(c, value);
            EXPECT_EQ(rig.s().gen.*flag, value == 1) << c.name << " " << value;
        }
    }
    const std::pair<const char*, int> levels[] = {
        {"12.5", 12}, {"13.5", 14}, {" 7 ", 7},  {"-32768", -32768}, {"1e3", 1000},  {"", 555},
        {"abc", 555}, {"-", 555},   {"1e", 555}, {"32768", 555},     {"1e400", 555}, {"nan", 555}};
    for (const auto& [typed, level] : levels) {
        rig.s().gen.sgaten = 555;
        rig.w().typeText(*rig.w().tbsgaten, typed);
        EXPECT_EQ(rig.s().gen.sgaten, level) << '"' << typed << '"';
    }
    EXPECT_TRUE(rig.lines(mark).empty());
}

}  // namespace
}  // namespace tunx::test
