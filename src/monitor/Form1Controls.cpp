// The monitor window's controls, in the window's control order, with their list entries
// and the defaults of the window's design.
#include <string>
#include <vector>

#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/PanelGroups.h"
#include "monitor/Tabs.h"
#include "monitor/scope/AcquisitionDisplay.h"
#include "monitor/scope/MathTrace.h"
#include "monitor/scope/Ranges.h"
#include "monitor/scope/TimeBase.h"
#include "monitor/spectrum/FftWindows.h"
#include "monitor/spectrum/SpectrumAverage.h"
#include "monitor/sweep/SweepLevel.h"
#include "window/MenuGroups.h"
#include "window/NewControl.h"

namespace tunx {

namespace {

constexpr int kTimerIntervalMs = 10;
constexpr int kSweepPoints = 639;
// The trigger indicator beside the default trigger level 320 (512 - 640 / 2 + 25).
constexpr double kTriggerTextTop = 217;

std::vector<std::string> texts(auto&& entries) {
    std::vector<std::string> out;
    for (const auto& e : entries) {
        out.emplace_back(e);
    }
    return out;
}

}  // namespace

void Form1::buildControls() {
    using namespace monitorgroup;
    const std::vector<std::string> freqUnits{"Hz", "kHz", "MHz"};
    const std::vector<std::string> channels{std::string(trigger::kCH1), std::string(trigger::kCH2)};
    std::vector<std::string> ranges;
    for (const VoltsRange& r : voltsRanges()) {
        ranges.emplace_back(r.text);
    }
    std::vector<std::string> timeBaseList;
    for (const TimeBase& tb : timeBases()) {
        timeBaseList.emplace_back(tb.text);
    }
    std::vector<std::string> scaleList;
    for (const DisplayScale& s : displayScales()) {
        scaleList.emplace_back(s.text);
    }

    // Mode, commands and status.
    std::vector<std::string> modes;
    for (const MonitorMode* m : monitorModes()) {
        modes.emplace_back(m->text());
    }
    selmonmode = add(list("selmonmode", modes.front(), modes, kMode));
    cmdstartsweep = add(button("cmdstartsweep", "START", kMode));
    cmdstop = add(button("cmdstop", "STOP", kMode));
    textstatus = add(text("textstatus", std::string(status::kIdleAtStart), kMode));
    fastsweep = add(button("fastsweep", "Reset TUNX4K", kMode));

    // Sweep set-up.
    frfrsweep = add(frame("frfrsweep", "Sweep", kSweep));
    lstartf = add(label("lstartf", "Start Fr.", kSweep));
    startf = add(text("startf", "1", kSweep));
    startfunit = add(list("startfunit", "MHz", freqUnits, kSweep));
    lstopf = add(label("lstopf", "Stop Fr.", kSweep));
    stopf = add(text("stopf", "2", kSweep));
    stopfunit = add(list("stopfunit", "MHz", freqUnits, kSweep));
    cmdfastsweep = add(button("cmdfastsweep", "Fast SWEEP", kSweep));
    lstartamp = add(label("lstartamp", "Amplitude", kSweep));
    textstarta = add(text("textstarta", "0", kSweep));
    combstarta =
        add(list("combstarta", "mVrms", {"mVpp", "Vpp", "mVrms", "dBmV", "dBV", "dBm"}, kSweep));
    lstopamp = add(label("lstopamp", "Stop Ampl.", kSweep));
    textstopa = add(text("textstopa", "0", kSweep));
    combstopa = add(list("combstopa", "mVrms", {"mVpp", "Vpp", "mVrms", "dBmV"}, kSweep));

    // Sweep readouts.
    Frame6 = add(frame("Frame6", "Sweep Monitor", kSweepMonitor));
    Label7 = add(label("Label7", "Freq.", kSweepMonitor));
    textfr = add(text("textfr", "", kSweepMonitor));
    Label17 = add(label("Label17", "Hz", kSweepMonitor));
    Label8 = add(label("Label8", "Magn.", kSweepMonitor));
    Textpower = add(text("Textpower", "", kSweepMonitor));
    labvoltunit = add(label("labvoltunit", "mVrms", kSweepMonitor));
    labchsel = add(label("labchsel", "CH1 IN", kSweepMonitor));
    lsweepdisplay = add(label("lsweepdisplay", "Display", kSweepMonitor));
    selrfrange =
        add(list("selrfrange", std::string(displayScales()[0].text), scaleList, kSweepMonitor));

    // Scope.
    frscope = add(frame("frscope", "Scope", kScope));
    ladcmode = add(label("ladcmode", "ADC", kScope));
    adcselect = add(list("adcselect", std::string(adc::k8Bit),
                         texts(std::array{adc::k8Bit, adc::k12Bit}), kScope));
    lsamplingmode = add(label("lsamplingmode", "Sampling", kScope));
    scopemode = add(list("scopemode", std::string(sampling::kRealTime),
                         texts(std::array{sampling::kRealTime, sampling::kUndersampling}), kScope));
    ltimebase = add(label("ltimebase", "Time/Div", kScope));
    seltimediv = add(list("seltimediv", "1ms/div", timeBaseList, kScope));
    ltrigsource = add(label("ltrigsource", "Trig. Source", kScope));
    trigsource = add(list("trigsource", std::string(trigger::kCH1), channels, kScope));
    ltrigedge = add(label("ltrigedge", "Trig. Edge", kScope));
    trigeredge = add(list("trigeredge", std::string(trigger::kPositive),
                          texts(std::array{trigger::kPositive, trigger::kNegative}), kScope));
    ltrigmode = add(label("ltrigmode", "Trig. Mode", kScope));
    trigmode = add(list("trigmode", std::string(trigger::kFreeRunning),
                        texts(std::array{trigger::kFreeRunning, trigger::kNormal, trigger::kSingle,
                                         trigger::kAuto}),
                        kScope));
    reclenght = add(checkBox("reclenght", " 2048 samples", kScope));
    Command2 = add(button("Command2", "Cal. Offset", kScope));
    lfftdisplay = add(label("lfftdisplay", "FFT Display", kScope));
    fftscale = add(list("fftscale", std::string(fftscale::kDbfs),
                        texts(std::array{fftscale::kDbfs, fftscale::kDbvrms}), kScope));
    cmdfft = add(button("cmdfft", "F F T", kScope));

    // Channels.
    ch1label = add(label("ch1label", "CH1 V/Div", kChannels));
    ch1vdiv = add(list("ch1vdiv", "1V", ranges, kChannels));
    ch2label = add(label("ch2label", "CH2 V/Div", kChannels));
    ch2vdiv = add(list("ch2vdiv", "1V", ranges, kChannels));
    CRCH = add(label("CRCH", "Cursor Ch.", kChannels));
    combocursorselect = add(list("combocursorselect", "CH1", channels, kChannels));

    // Position and cursor controls.
    Frame12 = add(frame("Frame12", "Position and Cursors", kCursors));
    TabStrip2 = add(tabStrip("TabStrip2", texts(kSliderTabCaptions),
                             static_cast<int>(SliderTab::Ch1Position), kCursors));
    TabStrip3 = add(tabStrip("TabStrip3", texts(kCursorTabCaptions),
                             static_cast<int>(CursorTab::Off), kCursors));
    Slider1 = add(slider("Slider1", 0, 1023, 512, kCursors));

    // Frequency counter.
    frekounter = add(frame("frekounter", "Frequency Counter", kCounter));
    lch2in = add(label("lch2in", "CH2 IN", kCounter));
    frangesel = add(
        list("frangesel", "1Hz - 20Mhz", {"1Hz - 20Mhz", "10-300Mhz", "200-2000Mhz"}, kCounter));
    frcountertxt = add(text("frcountertxt", "0", kCounter));
    lfrcntinit = add(label("lfrcntinit", "Hz", kCounter));

    // The plot and its texts.
    Picture1 = add(picture("Picture1", kPlot));
    const std::array<Ctl*, 9> divs = divLabels();
    for (std::size_t i = 0; i < divs.size(); ++i) {
        const std::string name = "ldiv" + std::to_string(i);
        *divs[i] = add(label(name.c_str(), "", kPlot));
    }
    ldivunit = add(label("ldivunit", "", kPlot));
    tdivtext = add(label("tdivtext", "", kPlot));
    ch1vdivtext = add(label("ch1vdivtext", "", kPlot));
    ch2vdivtext = add(label("ch2vdivtext", "", kPlot));
    horpostext = add(label("horpostext", "", kPlot));
    centerfr = add(label("centerfr", "", kPlot));
    labstartfr = add(label("labstartfr", "", kPlot));
    labstopfr = add(label("labstopfr", "", kPlot));
    fftmaxfrequency = add(label("fftmaxfrequency", "", kPlot));
    ch1text = add(label("ch1text", "CH1>", kPlot));
    ch2text = add(label("ch2text", "CH2>", kPlot));
    trigertext = add(label("trigertext", "<TR", kPlot));
    trigertext->top = kTriggerTextTop;

    Timer1 = add(timer("Timer1", kTimerIntervalMs));

    // Beside the original controls.
    measch1 = add(label("measch1", "", kPlot));
    measch2 = add(label("measch2", "", kPlot));
    measch1->visible = false;
    measch2->visible = false;
    lfftwindow = add(label("lfftwindow", "FFT Window", kScope));
    fftwindow =
        add(list("fftwindow", std::string(kFftWindowTexts[0]), texts(kFftWindowTexts), kScope));
    fftpeak = add(label("fftpeak", "", kScope));
    sweepprogress = add(progress("sweepprogress", 0, kSweepPoints, kPlot));
    sweepprogress->visible = false;
    cmdautoset = add(button("cmdautoset", "Auto Set", kScope));
    measstats = add(checkBox("measstats", "Statistics", kScope));
    cmdresetstats = add(button("cmdresetstats", "Reset statistics", kScope));
    timech1 = add(label("timech1", "", kPlot));
    timech2 = add(label("timech2", "", kPlot));
    statch1 = add(label("statch1", "", kPlot));
    statch2 = add(label("statch2", "", kPlot));
    for (const Ctl& c : {timech1, timech2, statch1, statch2}) {
        c->visible = false;
    }
    cntdisplay = add(checkBox("cntdisplay", "Large display", kCounter));
    cntgate = add(label("cntgate", "", kCounter));
    cnthistory = add(label("cnthistory", "", kCounter));
    cntgate->visible = false;
    cnthistory->visible = false;
    cnthistory->multiLine = true;
    lfftaverage = add(label("lfftaverage", "FFT Average", kScope));
    fftaverage =
        add(list("fftaverage", std::string(kFftAverageTexts[0]), texts(kFftAverageTexts), kScope));
    ffthold = add(checkBox("ffthold", "Max hold", kScope));
    MenuBar_File = add(menu("MenuBar_File", "File", menugroup::kBar));
    MenuBar_ExportScope =
        add(menu("MenuBar_ExportScope", "Export scope record\u2026", menugroup::kFile));
    MenuBar_ExportSweep = add(menu("MenuBar_ExportSweep", "Export sweep\u2026", menugroup::kFile));
    MenuBar_ExportSpectrum =
        add(menu("MenuBar_ExportSpectrum", "Export spectrum\u2026", menugroup::kFile));
    MenuBar_SavePlot = add(menu("MenuBar_SavePlot", "Save plot as PNG\u2026", menugroup::kFile));
    lmath = add(label("lmath", "Math", kChannels));
    mathmode =
        add(list("mathmode", std::string(kMathModeTexts[0]), texts(kMathModeTexts), kChannels));
    mathvdiv = add(list("mathvdiv", "1V", mathRangeTexts(MathOp::Off), kChannels));
    measmath = add(label("measmath", "", kPlot));
    mathvdivtext = add(label("mathvdivtext", "", kPlot));
    measmath->visible = false;
    mathvdivtext->visible = false;
    xyview = add(checkBox("xyview", "XY", kChannels));
    MenuBar_SaveRefA = add(menu("MenuBar_SaveRefA", "Save trace as REF A", menugroup::kFile));
    MenuBar_SaveRefB = add(menu("MenuBar_SaveRefB", "Save trace as REF B", menugroup::kFile));
    MenuBar_LoadRefA = add(menu("MenuBar_LoadRefA", "Load REF A from CSV\u2026", menugroup::kFile));
    MenuBar_LoadRefB = add(menu("MenuBar_LoadRefB", "Load REF B from CSV\u2026", menugroup::kFile));
    MenuBar_ClearRefs = add(menu("MenuBar_ClearRefs", "Clear references", menugroup::kFile));
    refatext = add(label("refatext", "", kPlot));
    refbtext = add(label("refbtext", "", kPlot));
    refatext->visible = false;
    refbtext->visible = false;
    MenuBar_Help = add(menu("MenuBar_Help", "Help", menugroup::kBar));
    MenuBar_UsersGuide = add(menu("MenuBar_UsersGuide", "Users Guide", menugroup::kHelp));
    ldisplay = add(label("ldisplay", "Display", kChannels));
    acqmode = add(list("acqmode", std::string(kAcqModeTexts[0]), texts(kAcqModeTexts), kChannels));
    persistence = add(list("persistence", std::string(kPersistenceTexts[0]),
                           texts(kPersistenceTexts), kChannels));
    acqtext = add(label("acqtext", "", kPlot));
    acqtext->visible = false;
}

}  // namespace tunx
