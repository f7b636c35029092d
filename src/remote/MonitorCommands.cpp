// The monitor's settings: its mode, START/STOP, the scope's time base, channels, trigger and
// acquisition, the sweep's limits and scale, the spectrum's window and scale. Each goes
// through the monitor window's own control and handler, as a user's choice would.
#include <array>
#include <cctype>
#include <cmath>
#include <limits>
#include <span>
#include <vector>

#include "cli/Actions.h"
#include "common/Numbers.h"
#include "generator/Limits.h"
#include "monitor/Modes.h"
#include "monitor/Tabs.h"
#include "monitor/scope/Ranges.h"
#include "monitor/scope/TimeBase.h"
#include "monitor/spectrum/FftWindows.h"
#include "remote/CommandTable.h"
#include "remote/Panel.h"
#include "remote/Params.h"
#include "remote/Reply.h"
#include "window/CheckBox.h"

namespace tunx::remote {

namespace {

constexpr const char* kNoMode = "NONE";

constexpr std::string_view kSecond = "S";
constexpr std::string_view kVolt = "V";
constexpr std::string_view kHertz = "HZ";

// Screen units: 64 per division, 512 for the plot's height, the zero line at the middle.
constexpr double kUnitsPerDivision = 64;
constexpr double kPlotUnits = 512;
constexpr double kCentre = 256;
constexpr int kSliderPerUnit = 2;

constexpr int kEightBit = 8;
constexpr int kTwelveBit = 12;
constexpr double kLongRecord = 2048;
// The samples of a short record: 12-bit, 8-bit, and 8-bit with the software trigger.
constexpr double kShortRecord12 = 650;
constexpr double kShortRecord8 = 650;
constexpr double kTriggeredRecord8 = 1250;

// The monitor modes' remote names and their texts in selmonmode, in the same order.
std::vector<std::string_view> modeNames() {
    std::vector<std::string_view> out;
    for (const MonitorMode* m : monitorModes()) {
        out.emplace_back(m->remoteName);
    }
    return out;
}
std::vector<std::string_view> modeTexts() {
    std::vector<std::string_view> out;
    for (const MonitorMode* m : monitorModes()) {
        out.emplace_back(m->text());
    }
    return out;
}

// The entry of a list that `choices` names, in the same order as `entries`.
void chooseNamed(Call& c, Control& list, std::span<const std::string_view> choices,
                 std::span<const std::string_view> entries) {
    const std::size_t i = param::choice(c.params[0], choices);
    requireEnabled(list, list.name);
    Form1& mon = c.program.monitor();
    chooseEntry(c.program, mon, list, std::string(entries[i]));
}

// The name of the entry a list shows; "NONE" for a text that none names.
std::string nameShown(const Control& list, std::span<const std::string_view> choices,
                      std::span<const std::string_view> entries) {
    for (std::size_t i = 0; i < choices.size() && i < entries.size(); ++i) {
        if (list.text == entries[i]) {
            return mnemonicShortForm(choices[i]);
        }
    }
    return reply::word(kNoMode);
}

// The entry of a list of ranges or time bases nearest to `value` on a logarithmic scale.
template <typename Valued>
std::string nearestEntry(const Control& list, double value, Valued valueOf) {
    std::string best;
    double distance = std::numeric_limits<double>::infinity();
    for (const std::string& entry : list.items) {
        if (const std::optional<double> v = valueOf(entry); v && *v > 0) {
            const double d = std::abs(std::log(value / *v));
            if (d < distance) {
                distance = d;
                best = entry;
            }
        }
    }
    return best;
}

std::optional<double> timeBaseSeconds(const std::string& entry) {
    const TimeBase* tb = findTimeBase(entry);
    return tb == nullptr ? std::nullopt : std::optional<double>(secondsPerDivision(*tb));
}

std::optional<double> rangeVolts(const std::string& entry) {
    const VoltsRange* r = findRange(entry);
    return r == nullptr ? std::nullopt : std::optional<double>(voltsPerDivision(*r));
}

// A list of values taken from its entries: the nearest entry, refused beyond the outer ones.
void chooseNearest(Call& c, Control& list, std::string_view unit,
                   std::optional<double> (*valueOf)(const std::string&)) {
    double low = std::numeric_limits<double>::infinity(), high = 0;
    for (const std::string& entry : list.items) {
        if (const std::optional<double> v = valueOf(entry)) {
            low = std::min(low, *v);
            high = std::max(high, *v);
        }
    }
    const double v = param::numberWithin(c.params[0], unit, {low, high, {}},
                                         reply::number(low) + " to " + reply::number(high));
    requireEnabled(list, list.name);
    chooseEntry(c.program, c.program.monitor(), list, nearestEntry(list, v, valueOf));
}

Control& channelList(Form1& mon, int channel) {
    return channel == 1 ? *mon.ch1vdiv : *mon.ch2vdiv;
}

std::int16_t& positionOf(MonitorState& m, int channel) {
    return channel == 1 ? m.ch1pos : m.ch2pos;
}

// The volts per division a channel's list shows.
std::optional<double> channelVolts(Form1& mon, int channel) {
    return rangeVolts(channelList(mon, channel).text);
}

// Moves the slider, given to a quantity by one of TabStrip2's tabs, to screen units `units`.
void slideTo(Call& c, SliderTab tab, double units, const std::string& what) {
    Form1& mon = c.program.monitor();
    requireEnabled(*mon.Slider1, "the position slider");
    if (!(units >= 0 && units <= kPlotUnits)) {
        throw ScpiError(error::kOutOfRange, what + " beyond the plot");
    }
    cli::clickTab(c.program, mon, *mon.TabStrip2, static_cast<std::size_t>(tab));
    cli::moveSlider(c.program, mon, *mon.Slider1,
                    static_cast<int>(roundHalfEven(units * kSliderPerUnit)));
}

void setChannelScale(Call& c) {
    const int ch = param::channelSuffix(c.suffixes[0]);
    chooseNearest(c, channelList(c.program.monitor(), ch), kVolt, rangeVolts);
}

void queryChannelScale(Call& c) {
    const int ch = param::channelSuffix(c.suffixes[0]);
    c.reply = reply::number(channelVolts(c.program.monitor(), ch).value_or(kNotKnown));
}

// A channel's offset: the voltage at the middle of the plot, as its position puts it.
void setChannelOffset(Call& c) {
    const int ch = param::channelSuffix(c.suffixes[0]);
    Form1& mon = c.program.monitor();
    const double v = param::number(c.params[0], kVolt);
    const std::optional<double> vdiv = channelVolts(mon, ch);
    if (!vdiv) {
        throw ScpiError(error::kSettingsConflict, "the channel has no V/div");
    }
    slideTo(c, ch == 1 ? SliderTab::Ch1Position : SliderTab::Ch2Position,
            kCentre - v * kUnitsPerDivision / *vdiv, "an offset of four divisions or more");
}

void queryChannelOffset(Call& c) {
    const int ch = param::channelSuffix(c.suffixes[0]);
    Form1& mon = c.program.monitor();
    const std::optional<double> vdiv = channelVolts(mon, ch);
    c.reply = reply::number(vdiv ? (kCentre - positionOf(mon.mon(), ch)) * *vdiv / kUnitsPerDivision
                                 : kNotKnown);
}

int triggerChannel(Form1& mon) {
    return mon.trigsource->text == trigger::kCH2 ? 2 : 1;
}

// The trigger level in volts on the trigger channel, from that channel's zero line.
void setTriggerLevel(Call& c) {
    Form1& mon = c.program.monitor();
    const int ch = triggerChannel(mon);
    const double v = param::number(c.params[0], kVolt);
    const std::optional<double> vdiv = channelVolts(mon, ch);
    if (!vdiv) {
        throw ScpiError(error::kSettingsConflict, "the trigger channel has no V/div");
    }
    slideTo(c, SliderTab::TriggerPosition,
            positionOf(mon.mon(), ch) + v * kUnitsPerDivision / *vdiv, "a trigger level");
}

void queryTriggerLevel(Call& c) {
    Form1& mon = c.program.monitor();
    const int ch = triggerChannel(mon);
    const std::optional<double> vdiv = channelVolts(mon, ch);
    const MonitorState& m = mon.mon();
    c.reply = reply::number(
        vdiv ? (m.triglevel - positionOf(mon.mon(), ch)) * *vdiv / kUnitsPerDivision : kNotKnown);
}

void setConverter(Call& c) {
    const double bits = param::number(c.params[0], "");
    if (bits != kEightBit && bits != kTwelveBit) {
        throw ScpiError(error::kIllegalValue, "8 or 12 is needed");
    }
    Form1& mon = c.program.monitor();
    requireEnabled(*mon.adcselect, "the converter list");
    chooseEntry(c.program, mon, *mon.adcselect,
                std::string(bits == kEightBit ? adc::k8Bit : adc::k12Bit));
}

void queryConverter(Call& c) {
    const std::string& t = c.program.monitor().adcselect->text;
    c.reply = reply::number(t == adc::k8Bit    ? kEightBit
                            : t == adc::k12Bit ? kTwelveBit
                                               : kNotKnown);
}

void setPoints(Call& c) {
    Form1& mon = c.program.monitor();
    const double n =
        param::numberWithin(c.params[0], "", {0, kLongRecord, kLongRecord}, "at most 2048");
    requireEnabled(*mon.reclenght, "the record length");
    setCheck(c.program, mon, *mon.reclenght, n >= kLongRecord);
}

// The samples per channel of the records the scope takes as it is set now.
void queryPoints(Call& c) {
    Form1& mon = c.program.monitor();
    const bool triggered = trigger::waitsForTrigger(mon.trigmode->text);
    double n = kShortRecord8;
    if (tickedOrGreyed(*mon.reclenght)) {
        n = kLongRecord;
    } else if (mon.adcselect->text == adc::k12Bit) {
        n = kShortRecord12;
    } else if (triggered) {
        n = kTriggeredRecord8;
    }
    c.reply = reply::number(n);
}

// A frequency of the sweep: the field and its unit list.
void setSweepFrequency(Call& c, Control& field, Control& unitList) {
    const double hz =
        param::numberWithin(c.params[0], kHertz, {0, limits::kMaxFrequencyHz, {}}, "0 to 200 MHz");
    requireEnabled(field, field.name);
    Form1& mon = c.program.monitor();
    chooseEntry(c.program, mon, unitList, "Hz");
    typeText(c.program, mon, field, fieldText(hz));
}

void querySweepFrequency(Call& c, const Control& field, const Control& unitList) {
    const std::optional<double> n = fieldNumber(field);
    const std::string u = trim(unitList.text);
    const double factor = u == "Hz" ? 1 : u == "kHz" ? 1e3 : u == "MHz" ? 1e6 : 0;
    c.reply = reply::number(n && factor > 0 ? *n * factor : kNotKnown);
}

// An amplitude of the sweep in Vpp: the field and its unit list.
void setSweepAmplitude(Call& c, Control& field, Control& unitList) {
    const double vpp = param::numberWithin(c.params[0], kVolt,
                                           {0, limits::kMaxAmplitudeMv / 1000, {}}, "0 to 5 Vpp");
    requireEnabled(field, field.name);
    Form1& mon = c.program.monitor();
    chooseEntry(c.program, mon, unitList, "Vpp");
    typeText(c.program, mon, field, fieldText(vpp));
}

void querySweepAmplitude(Call& c, const Control& field, const Control& unitList) {
    const std::optional<double> n = fieldNumber(field);
    const double factor = unitList.text == "Vpp" ? 1 : unitList.text == "mVpp" ? 1e-3 : 0;
    c.reply = reply::number(n && factor > 0 ? *n * factor : kNotKnown);
}

// A list entry named by a string, compared without regard to case.
void chooseByText(Call& c, Control& list) {
    const std::string wanted = param::text(c.params[0]);
    auto lower = [](std::string s) {
        for (char& ch : s) {
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        }
        return s;
    };
    for (const std::string& entry : list.items) {
        if (lower(entry) == lower(wanted)) {
            requireEnabled(list, list.name);
            chooseEntry(c.program, c.program.monitor(), list, entry);
            return;
        }
    }
    throw ScpiError(error::kIllegalValue, "not an entry of " + list.name);
}

constexpr std::array<std::string_view, 4> kTriggerModes = {"FREE", "NORMal", "SINGle", "AUTO"};
constexpr std::array<std::string_view, 4> kTriggerModeEntries = {
    trigger::kFreeRunning, trigger::kNormal, trigger::kSingle, trigger::kAuto};
constexpr std::array<std::string_view, 2> kChannels = {"CH1", "CH2"};
constexpr std::array<std::string_view, 2> kChannelEntries = {trigger::kCH1, trigger::kCH2};
constexpr std::array<std::string_view, 2> kSlopes = {"POSitive", "NEGative"};
constexpr std::array<std::string_view, 2> kSlopeEntries = {trigger::kPositive, trigger::kNegative};
constexpr std::array<std::string_view, 2> kSamplings = {"RTIMe", "ETIMe"};
constexpr std::array<std::string_view, 2> kSamplingEntries = {sampling::kRealTime,
                                                              sampling::kUndersampling};
constexpr std::array<std::string_view, 4> kWindows = {"RECTangular", "HANNing", "BHARris",
                                                      "FLATtop"};
constexpr std::array<std::string_view, 2> kScales = {"DBFS", "DBVRms"};
constexpr std::array<std::string_view, 2> kScaleEntries = {fftscale::kDbfs, fftscale::kDbvrms};

}  // namespace

std::vector<Command> monitorCommands() {
    return {
        {.pattern = "MONitor:MODE",
         .set =
             [](Call& c) {
                 Form1& mon = c.program.monitor();
                 chooseNamed(c, *mon.selmonmode, modeNames(), modeTexts());
             },
         .query =
             [](Call& c) {
                 c.reply = nameShown(*c.program.monitor().selmonmode, modeNames(), modeTexts());
             }},
        {.pattern = "RUN",
         .set = [](Call& c) { startMonitor(c.program, c.state); },
         .setParams = {0, 0}},
        {.pattern = "STOP",
         .set =
             [](Call& c) {
                 Form1& mon = c.program.monitor();
                 press(c.program, mon, *mon.cmdstop);
                 c.state.pending = {};
             },
         .setParams = {0, 0}},
        {.pattern = "SINGle",
         .set =
             [](Call& c) {
                 Form1& mon = c.program.monitor();
                 const MonitorMode* mode = chosenMode(mon);
                 if (mode == nullptr || !mode->isScope()) {
                     throw ScpiError(error::kSettingsConflict,
                                     "a single record needs a scope mode");
                 }
                 chooseEntry(c.program, mon, *mon.trigmode, std::string(trigger::kSingle));
                 startMonitor(c.program, c.state);
             },
         .setParams = {0, 0}},
        {.pattern = "MONitor:STATe",
         .query = [](Call& c) { c.reply = reply::flag(monitorRunning(c.program.monitor())); }},
        {.pattern = "TIMebase:SCALe",
         .set =
             [](Call& c) {
                 chooseNearest(c, *c.program.monitor().seltimediv, kSecond, timeBaseSeconds);
             },
         .query =
             [](Call& c) {
                 c.reply = reply::number(
                     timeBaseSeconds(c.program.monitor().seltimediv->text).value_or(kNotKnown));
             }},
        {.pattern = "CHANnel#:SCALe", .set = setChannelScale, .query = queryChannelScale},
        {.pattern = "CHANnel#:OFFSet", .set = setChannelOffset, .query = queryChannelOffset},
        {.pattern = "TRIGger:MODE",
         .set =
             [](Call& c) {
                 chooseNamed(c, *c.program.monitor().trigmode, kTriggerModes, kTriggerModeEntries);
             },
         .query =
             [](Call& c) {
                 c.reply =
                     nameShown(*c.program.monitor().trigmode, kTriggerModes, kTriggerModeEntries);
             }},
        {.pattern = "TRIGger:SOURce",
         .set =
             [](Call& c) {
                 chooseNamed(c, *c.program.monitor().trigsource, kChannels, kChannelEntries);
             },
         .query =
             [](Call& c) {
                 c.reply = nameShown(*c.program.monitor().trigsource, kChannels, kChannelEntries);
             }},
        {.pattern = "TRIGger:SLOPe",
         .set =
             [](Call& c) {
                 chooseNamed(c, *c.program.monitor().trigeredge, kSlopes, kSlopeEntries);
             },
         .query =
             [](Call& c) {
                 c.reply = nameShown(*c.program.monitor().trigeredge, kSlopes, kSlopeEntries);
             }},
        {.pattern = "TRIGger:LEVel", .set = setTriggerLevel, .query = queryTriggerLevel},
        {.pattern = "ACQuire:TYPE", .set = setConverter, .query = queryConverter},
        {.pattern = "ACQuire:MODE",
         .set =
             [](Call& c) {
                 chooseNamed(c, *c.program.monitor().scopemode, kSamplings, kSamplingEntries);
             },
         .query =
             [](Call& c) {
                 c.reply = nameShown(*c.program.monitor().scopemode, kSamplings, kSamplingEntries);
             }},
        {.pattern = "ACQuire:POINts", .set = setPoints, .query = queryPoints},
        {.pattern = "SWEep:STARt",
         .set =
             [](Call& c) {
                 Form1& mon = c.program.monitor();
                 setSweepFrequency(c, *mon.startf, *mon.startfunit);
             },
         .query =
             [](Call& c) {
                 Form1& mon = c.program.monitor();
                 querySweepFrequency(c, *mon.startf, *mon.startfunit);
             }},
        {.pattern = "SWEep:STOP",
         .set =
             [](Call& c) {
                 Form1& mon = c.program.monitor();
                 setSweepFrequency(c, *mon.stopf, *mon.stopfunit);
             },
         .query =
             [](Call& c) {
                 Form1& mon = c.program.monitor();
                 querySweepFrequency(c, *mon.stopf, *mon.stopfunit);
             }},
        {.pattern = "SWEep:AMPLitude[:STARt]",
         .set =
             [](Call& c) {
                 Form1& mon = c.program.monitor();
                 setSweepAmplitude(c, *mon.textstarta, *mon.combstarta);
             },
         .query =
             [](Call& c) {
                 Form1& mon = c.program.monitor();
                 querySweepAmplitude(c, *mon.textstarta, *mon.combstarta);
             }},
        {.pattern = "SWEep:AMPLitude:STOP",
         .set =
             [](Call& c) {
                 Form1& mon = c.program.monitor();
                 setSweepAmplitude(c, *mon.textstopa, *mon.combstopa);
             },
         .query =
             [](Call& c) {
                 Form1& mon = c.program.monitor();
                 querySweepAmplitude(c, *mon.textstopa, *mon.combstopa);
             }},
        {.pattern = "SWEep:SCALe",
         .set = [](Call& c) { chooseByText(c, *c.program.monitor().selrfrange); },
         .query = [](Call& c) { c.reply = reply::quoted(c.program.monitor().selrfrange->text); }},
        {.pattern = "SPECtrum:WINDow",
         .set =
             [](Call& c) {
                 chooseNamed(c, *c.program.monitor().fftwindow, kWindows, kFftWindowTexts);
             },
         .query =
             [](Call& c) {
                 c.reply = nameShown(*c.program.monitor().fftwindow, kWindows, kFftWindowTexts);
             }},
        {.pattern = "SPECtrum:SCALe",
         .set =
             [](Call& c) { chooseNamed(c, *c.program.monitor().fftscale, kScales, kScaleEntries); },
         .query =
             [](Call& c) {
                 c.reply = nameShown(*c.program.monitor().fftscale, kScales, kScaleEntries);
             }},
    };
}

}  // namespace tunx::remote
