// The generator window's controls, in the window's control order. The entry controls come
// first, in the order a saved configuration lists them.
#include "dds/AmplitudeEntry.h"
#include "dds/MainClock.h"
#include "dds/Profile.h"
#include "dds/Units.h"
#include "generator/OutputMode.h"
#include "generator/PanelTexts.h"
#include "generator/frmMain.h"
#include "window/NewControl.h"

namespace tunx {

namespace {

// A command button: light grey, with its own picture.
Control command(const char* name, const char* picture) {
    Control c = button(name, "", group::kCommands);
    c.back = colour::kLightGrey;
    c.picture = picture;
    return c;
}

}  // namespace

void frmMain::buildControls() {
    using namespace group;
    const std::vector<std::string> freqUnits{unit::kHz, unit::kKHz, unit::kMHz};
    const std::vector<std::string> timeUnits{unit::kNs, unit::kUs, unit::kMs};
    const std::vector<std::string> singleContinuous{"Single", "Continuous"};

    // Entry controls in saving order.
    mintimen = add(text("mintimen", "10", kArbitrary));
    enpr2 = add(checkBox("enpr2", "Enable Profile 2", kArbitrary));
    arbmode = add(list("arbmode", "Continuous", singleContinuous, kArbitrary));
    multi2 = add(text("multi2", "10", kArbitrary));
    startpt2 = add(text("startpt2", "1", kArbitrary));
    endpt2 = add(text("endpt2", "7", kArbitrary));
    endpt1 = add(text("endpt1", "7", kArbitrary));
    startpt1 = add(text("startpt1", "1", kArbitrary));
    multi1 = add(text("multi1", "100", kArbitrary));
    mintime = add(text("mintime", "10", kArbitrary));
    mintime->visible = false;  // the procedures read and rewrite mintimen
    flocation = add(text("flocation", installFile("Voltage1.txt"), kArbitrary));
    arbit =
        add(list("arbit", kTargetVoltage, {kTargetPhase, kTargetVoltage, kTargetFreq}, kArbitrary));
    undersmon = add(checkBox("undersmon", "unders monitor", kOutput));
    cmbDevice = add(list("cmbDevice", "", {}, kStatus));
    description = add(text("description", kGeneralDescription, kMode));
    description->multiLine = true;
    // The list offers the listed modes; the box starts at the first.
    std::vector<std::string> modes;
    for (const OutputMode* m : outputModes()) {
        if (m->listed) {
            modes.emplace_back(m->text());
        }
    }
    ModeSelect = add(list("ModeSelect", modes.front(), modes, kMode));
    fmdrange = add(list("fmdrange", "1", {"1", "5", "10", "20", "50", "100"}, kModulation));
    amfactor = add(list("amfactor", "4", {"4", "2", "1", "0.5"}, kModulation));
    modtype = add(list("modtype", "External AM", {"External FM", "External AM"}, kModulation));
    singlesw = add(checkBox("singlesw", "Single Sweep", kSweep));
    steptime = add(text("steptime", "600", kSweep));
    stopfunit = add(list("stopfunit", unit::kKHz, freqUnits, kSweep));
    startfunit = add(list("startfunit", unit::kKHz, freqUnits, kSweep));
    stepcnt = add(text("stepcnt", "1000", kSweep));
    stopf = add(text("stopf", "20", kSweep));
    startf = add(text("startf", "10", kSweep));
    ampgain = add(text("ampgain", "0", kOutput));
    compon = add(checkBox("compon", "Comparator on", kOutput));
    tbsgaten = add(text("tbsgaten", "0", kOutput));
    lowgain = add(checkBox("lowgain", "Low Gain", kOutput));
    atten = add(checkBox("atten", "20 dB Atten", kOutput));
    termination = add(checkBox("termination", "50 ohm term.", kOutput));
    invert = add(checkBox("invert", "Invert", kPulse));
    tcali = add(text("tcali", s_.host.installDir, kStatus));
    outmode = add(list("outmode", "Continuous", singleContinuous, kPulse));
    BiasMode =
        add(list("BiasMode", amplitude::kBiasManual,
                 {amplitude::kBiasHalfVpp, amplitude::kBiasManual, amplitude::kBiasZero}, kOffset));
    Vpp = add(text("Vpp", "1", kAmplitude));
    Frek = add(text("Frek", "1", kFrequency));
    Pulse = add(text("Pulse", "10", kPulse));
    BiasUnit = add(list("BiasUnit", unit::kV, {unit::kMV, unit::kV}, kOffset));
    VppUnit = add(list("VppUnit", unit::kVpp, {unit::kMVpp, unit::kVpp, unit::kMVrms, unit::kDBmV},
                       kAmplitude));
    frequnit = add(list("frequnit", unit::kKHz, freqUnits, kFrequency));
    PauseUnit = add(list("PauseUnit", unit::kUs, timeUnits, kPulse));
    PulseUnit = add(list("PulseUnit", unit::kUs, timeUnits, kPulse));
    Pause = add(text("Pause", "15", kPulse));
    VBias = add(text("VBias", "0", kOffset));

    // Mode.
    Frame3 = add(frame("Frame3", "Mode Selection", kMode));
    Label1 = add(label("Label1", "Limitations", kMode));
    // Frequency, amplitude, offset.
    lfrek = add(label("lfrek", "Frequency", kFrequency));
    lvpp = add(label("lvpp", "Amplitude", kAmplitude));
    Label22 = add(label("Label22", "Offset", kOffset));
    // Modulation.
    framemodulation = add(frame("framemodulation", "Modulation", kModulation));
    modsource = add(label("modsource", "Source/Type", kModulation));
    lamfactor = add(label("lamfactor", "Input V. for 100% AM", kModulation));
    amfunit = add(label("amfunit", "V", kModulation));
    lfmdrange = add(label("lfmdrange", "FM Range @4VPP", kModulation));
    fmdrangeunit = add(label("fmdrangeunit", unit::kKHz, kModulation));
    // Sweep.
    frsweep = add(frame("frsweep", "Sweep Generator", kSweep));
    lstartf = add(label("lstartf", "Start Fr.", kSweep));
    lstopf = add(label("lstopf", "Stop Fr.", kSweep));
    lstepcnt = add(label("lstepcnt", "Steps", kSweep));
    lsteptime = add(label("lsteptime", "Step time", kSweep));
    steptimeunit = add(label("steptimeunit", unit::kUs, kSweep));
    // Pulse and output mode.
    LPulse = add(label("LPulse", "Pulse", kPulse));
    lPausep = add(label("lPausep", "Pause", kPulse));
    loutmode = add(label("loutmode", "Mode", kPulse));
    // Arbitrary.
    frarb = add(frame("frarb", "Arbitrary Waveform", kArbitrary));
    larbit = add(label("larbit", "Arbitrary", kArbitrary));
    loadfile = add(button("loadfile", "Load Profile from file", kArbitrary));
    SelectFile1 = add(button("SelectFile1", "...", kArbitrary));
    lprofile1 = add(label("lprofile1", "Profile 1", kArbitrary));
    lprofile2 = add(label("lprofile2", "Profile2", kArbitrary));
    lmultiplier = add(label("lmultiplier", "Multiplier", kArbitrary));
    lsartpoint = add(label("lsartpoint", "Start point", kArbitrary));
    lfinalpoint = add(label("lfinalpoint", "Final point", kArbitrary));
    lsamplet = add(label("lsamplet", "Sampl t(ns)", kArbitrary));
    samplet1 = add(label("samplet1", "0", kArbitrary));
    samplet2 = add(label("samplet2", "0", kArbitrary));
    lprofiletime = add(label("lprofiletime", "Profile t(ns)", kArbitrary));
    profilet1 = add(label("profilet1", "0", kArbitrary));
    profilet2 = add(label("profilet2", "0", kArbitrary));
    lmintime = add(label("lmintime", "Min. t(ns)", kArbitrary));
    // Output stage.
    fraCommands = add(frame("fraCommands", "Output", kOutput));
    Label5 = add(label("Label5", "sgaten(0-2046)", kOutput));
    Calibrate = add(button("Calibrate", "Update CalData", kOutput));
    // Status.
    Status = add(label("Status", "Status", kStatus));
    StatusBar = add(label("StatusBar", "...", kStatus));
    Label4 = add(label("Label4", "CLK", kStatus));
    lmainclk = add(label("lmainclk", kClockLabel400MHz, kStatus));
    Label2 = add(label("Label2", "SN:", kStatus));
    calibr_file = add(button("calibr_file", "Cal. File ...", kStatus));
    // Commands.
    RUN = add(command("RUN", kBuiltinRunPicture));
    STOP = add(command("STOP", kBuiltinStopPicture));
    RefreshBtn = add(command("RefreshBtn", kBuiltinRefreshPicture));
    // Menu.
    MenuBar_File = add(menu("MenuBar_File", "File", kMenu));
    MenuBar_SaveCfg = add(menu("MenuBar_SaveCfg", "Save Configs As ...", kMenuFile));
    MenuBar_LoadCfg = add(menu("MenuBar_LoadCfg", "Load Configs From ...", kMenuFile));
    MenuBar_Help = add(menu("MenuBar_Help", "Help", kMenu));
    MenuBar_UsersGuide = add(menu("MenuBar_UsersGuide", "Users Guide", kMenuHelp));
    MenuBar_About = add(menu("MenuBar_About", "About", kMenuHelp));
}

}  // namespace tunx
