// The generator window's controls, in the window's control order. The entry controls come
// first, in the order a saved configuration lists them.
#include "generator/PanelTexts.h"
#include "generator/frmMain.h"

namespace tunx {

namespace {

Control text(const char* name, std::string value, const char* group) {
    Control c;
    c.name = name;
    c.kind = ControlKind::TextBox;
    c.text = std::move(value);
    c.group = group;
    return c;
}

Control list(const char* name, std::string value, std::vector<std::string> items,
             const char* group) {
    Control c;
    c.name = name;
    c.kind = ControlKind::ComboBox;
    c.text = std::move(value);
    c.items = std::move(items);
    for (std::size_t i = 0; i < c.items.size(); ++i) {
        if (c.items[i] == c.text) {
            c.listIndex = static_cast<int>(i);
        }
    }
    c.group = group;
    return c;
}

Control checkBox(const char* name, const char* caption, const char* group) {
    Control c;
    c.name = name;
    c.kind = ControlKind::CheckBox;
    c.text = caption;
    c.group = group;
    return c;
}

Control label(const char* name, const char* caption, const char* group) {
    Control c;
    c.name = name;
    c.kind = ControlKind::Label;
    c.text = caption;
    c.group = group;
    return c;
}

Control frame(const char* name, const char* caption, const char* group) {
    Control c = label(name, caption, group);
    c.kind = ControlKind::Frame;
    return c;
}

Control button(const char* name, const char* caption, const char* group) {
    Control c = label(name, caption, group);
    c.kind = ControlKind::Button;
    return c;
}

Control menu(const char* name, const char* caption, const char* group) {
    Control c = label(name, caption, group);
    c.kind = ControlKind::Menu;
    return c;
}

}  // namespace

void frmMain::buildControls() {
    using namespace group;
    const std::vector<std::string> freqUnits{"Hz", "kHz", "MHz"};
    const std::vector<std::string> timeUnits{"ns", "us", "ms"};
    const std::vector<std::string> singleContinuous{"Single", "Continuous"};

    // Entry controls in saving order.
    add(text("mintimen", "10", kArbitrary));
    add(checkBox("enpr2", "Enable Profile 2", kArbitrary));
    add(list("arbmode", "Continuous", singleContinuous, kArbitrary));
    add(text("multi2", "10", kArbitrary));
    add(text("startpt2", "1", kArbitrary));
    add(text("endpt2", "7", kArbitrary));
    add(text("endpt1", "7", kArbitrary));
    add(text("startpt1", "1", kArbitrary));
    add(text("multi1", "100", kArbitrary));
    Control& mintime = add(text("mintime", "10", kArbitrary));
    mintime.visible = false;  // the procedures read and rewrite mintimen
    add(text("flocation", installFile("Voltage1.txt"), kArbitrary));
    add(list("arbit", "Voltage", {"Phase", "Voltage", "Freq"}, kArbitrary));
    add(checkBox("undersmon", "unders monitor", kOutput));
    Control& device = add(list("cmbDevice", "", {}, kStatus));
    device.listIndex = -1;
    Control& description = add(text("description", kGeneralDescription, kMode));
    description.multiLine = true;
    add(list("ModeSelect", "Single Tone Sine",
             {"Single Tone Sine", "Sine Modulated", "Pulse Generator", "Ramp", "Triangle",
              "Arbitrary", "Sweep Sine Generator", "Square-Wave", "Square-Wave2"},
             kMode));
    add(list("fmdrange", "1", {"1", "5", "10", "20", "50", "100"}, kModulation));
    add(list("amfactor", "4", {"4", "2", "1", "0.5"}, kModulation));
    add(list("modtype", "External AM", {"External FM", "External AM"}, kModulation));
    add(checkBox("singlesw", "Single Sweep", kSweep));
    add(text("steptime", "600", kSweep));
    add(list("stopfunit", "kHz", freqUnits, kSweep));
    add(list("startfunit", "kHz", freqUnits, kSweep));
    add(text("stepcnt", "1000", kSweep));
    add(text("stopf", "20", kSweep));
    add(text("startf", "10", kSweep));
    add(text("ampgain", "0", kOutput));
    add(checkBox("compon", "Comparator on", kOutput));
    add(text("tbsgaten", "0", kOutput));
    add(checkBox("lowgain", "Low Gain", kOutput));
    add(checkBox("atten", "20 dB Atten", kOutput));
    add(checkBox("termination", "50 ohm term.", kOutput));
    add(checkBox("invert", "Invert", kPulse));
    add(text("tcali", s_.host.installDir, kStatus));
    add(list("outmode", "Continuous", singleContinuous, kPulse));
    add(list("BiasMode", "Manual", {"Vpp/2", "Manual", "0.00V"}, kOffset));
    add(text("Vpp", "1", kAmplitude));
    add(text("Frek", "1", kFrequency));
    add(text("Pulse", "10", kPulse));
    add(list("BiasUnit", " V", {"mV", " V"}, kOffset));
    add(list("VppUnit", "Vpp", {"mVpp", "Vpp", "mVrms", "dBmV"}, kAmplitude));
    add(list("frequnit", "kHz", freqUnits, kFrequency));
    add(list("PauseUnit", "us", timeUnits, kPulse));
    add(list("PulseUnit", "us", timeUnits, kPulse));
    add(text("Pause", "15", kPulse));
    add(text("VBias", "0", kOffset));

    // Mode.
    add(frame("Frame3", "Mode Selection", kMode));
    add(label("Label1", "Limitations", kMode));
    // Frequency, amplitude, offset.
    add(label("lfrek", "Frequency", kFrequency));
    add(label("lvpp", "Amplitude", kAmplitude));
    add(label("Label22", "Offset", kOffset));
    // Modulation.
    add(frame("framemodulation", "Modulation", kModulation));
    add(label("modsource", "Source/Type", kModulation));
    add(label("lamfactor", "Input V. for 100% AM", kModulation));
    add(label("amfunit", "V", kModulation));
    add(label("lfmdrange", "FM Range @4VPP", kModulation));
    add(label("fmdrangeunit", "kHz", kModulation));
    // Sweep.
    add(frame("frsweep", "Sweep Generator", kSweep));
    add(label("lstartf", "Start Fr.", kSweep));
    add(label("lstopf", "Stop Fr.", kSweep));
    add(label("lstepcnt", "Steps", kSweep));
    add(label("lsteptime", "Step time", kSweep));
    add(label("steptimeunit", "us", kSweep));
    // Pulse and output mode.
    add(label("LPulse", "Pulse", kPulse));
    add(label("lPausep", "Pause", kPulse));
    add(label("loutmode", "Mode", kPulse));
    // Arbitrary.
    add(frame("frarb", "Arbitrary Waveform", kArbitrary));
    add(label("larbit", "Arbitrary", kArbitrary));
    add(button("loadfile", "Load Profile from file", kArbitrary));
    add(button("SelectFile1", "...", kArbitrary));
    add(label("lprofile1", "Profile 1", kArbitrary));
    add(label("lprofile2", "Profile2", kArbitrary));
    add(label("lmultiplier", "Multiplier", kArbitrary));
    add(label("lsartpoint", "Start point", kArbitrary));
    add(label("lfinalpoint", "Final point", kArbitrary));
    add(label("lsamplet", "Sampl t(ns)", kArbitrary));
    add(label("samplet1", "0", kArbitrary));
    add(label("samplet2", "0", kArbitrary));
    add(label("lprofiletime", "Profile t(ns)", kArbitrary));
    add(label("profilet1", "0", kArbitrary));
    add(label("profilet2", "0", kArbitrary));
    add(label("lmintime", "Min. t(ns)", kArbitrary));
    // Output stage.
    add(frame("fraCommands", "Output", kOutput));
    add(label("Label5", "sgaten(0-2046)", kOutput));
    add(button("Calibrate", "Update CalData", kOutput));
    // Status.
    add(label("Status", "Status", kStatus));
    add(label("StatusBar", "...", kStatus));
    add(label("Label4", "CLK", kStatus));
    add(label("lmainclk", "400MHz", kStatus));
    add(label("Label2", "SN:", kStatus));
    add(button("calibr_file", "Cal. File ...", kStatus));
    // Commands.
    for (const auto& [name, picture] :
         {std::pair{"RUN", kBuiltinRunPicture}, std::pair{"STOP", kBuiltinStopPicture},
          std::pair{"RefreshBtn", kBuiltinRefreshPicture}}) {
        Control& b = add(button(name, "", kCommands));
        b.back = colour::kLightGrey;
        b.picture = picture;
    }
    // Menu.
    add(menu("MenuBar_File", "File", kMenu));
    add(menu("MenuBar_SaveCfg", "Save Configs As ...", kMenuFile));
    add(menu("MenuBar_LoadCfg", "Load Configs From ...", kMenuFile));
    add(menu("MenuBar_Help", "Help", kMenu));
    add(menu("MenuBar_UsersGuide", "Users Guide", kMenuHelp));
    add(menu("MenuBar_About", "About", kMenuHelp));
}

}  // namespace tunx
