#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/DecodePng.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

// A file named after its content.
std::string tempFile(const std::string& content) {
    const std::string name = "cli-" + std::to_string(std::hash<std::string>{}(content)) + ".txt";
    return writeTempFile(name, content);
}

std::string script(const std::string& text) {
    return "'" + tempFile(text) + "'";
}

const std::string kSim = "--simulate --fast ";
// How the default start-up begins: the device is found and opened.
const std::string kOpened =
    "devices 1\nproduct 0 -> tunx4k-SIM0001\ntimeouts 3000 3000\nopen 0\nbaud 115200\n";

// The transcript of the default start-up (its content is the start-up tests' business): what
// a script with nothing to do writes.
std::string started() {
    const CliRun r = runCli(kSim + script(""));
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.starts_with(kOpened)) << r.out;
    return r.out;
}

TEST(Cli, ExitStatusTranscriptAndDiagnostic) {
    const std::string kStarted = started();
    struct Row {
        int status;
        std::string err;  // how the diagnostic starts, after the program's name
        std::string args;
        std::string out;
    };
    std::vector<Row> rows = {
        // The program starts before the first line that is not a sim line, or at the end.
        Row{0, "", kSim + script("mark first\nsim nak 1\n"), kStarted + "mark first\n"},
        Row{1, "line 1:", kSim + script("expect Frek 2\nmark after\nexpect Frek 1\n"),
            kStarted + "value Frek = 1\nmark after\nvalue Frek = 1\n"},
        Row{2, "line 2:", kSim + script("mark a\nshow NoSuchControl\n"), kStarted + "mark a\n"},
        // Nothing draws on the picture yet: lines on writes nothing by itself.
        Row{0, "", kSim + script("lines on\nmark a\nlines off\n"), kStarted + "mark a\n"},
        Row{2, "line 1:", kSim + script("show Form1.Frek\n"), kStarted},
        Row{2, "line 1:", "--fast " + script("sim nak 1\n"), ""},
        Row{2, "cannot read", "/nonexistent/script.txt", ""},
        Row{3, "", kSim + script("mark up\nmenu Form_Unload\nmark never\n"),
            kStarted + "mark up\nclose\nend\n"},
        // --serial opens the instrument with that serial number, or says it is not attached;
        // --list names the attached ones.
        Row{0, "", kSim + "--serial tunx4k-B " + script("sim devices tunx4k-A tunx4k-B\nmark B\n"),
            "devices 2\nproduct 0 -> tunx4k-A\nproduct 1 -> tunx4k-B\ntimeouts 3000 3000\n"
            "open 1\nbaud 115200\nmessage Error Reading Calibration Data\n"
            "message Error Vold/div set\nmessage Error Vold/div set\nmark B\n"},
        Row{0, "", kSim + "--serial tunx4k-C " + script("sim devices tunx4k-A tunx4k-B\n"),
            "devices 2\nproduct 0 -> tunx4k-A\nproduct 1 -> tunx4k-B\nmessage No instrument "
            "with the serial number tunx4k-C is attached. Attached: tunx4k-A, tunx4k-B.\n"},
        Row{0, "", "--simulate --list", "tunx4k-SIM0001\n"},
        Row{3, "", kSim + script("sim devices tunx4k-A\\B1234\nsim fail open 2\n"),
            "devices 1\nproduct 0 -> tunx4k-A\\\\B1234\ntimeouts 3000 3000\nopen 0 -> 2\n"
            "message Error opening device: tunx4k-A\\\\B1234. Application is aborting. Reset "
            "hardware and try again.\nend\n"},
        // Quoted and escaped texts, the rest of a line after one space, and the state, look and
        // dialog lines.
        Row{0, "",
            kSim + script("# comment\nanswer \"\"\nclick calibr_file\nset BiasUnit \" V\"\r\n"
                          "show BiasUnit\nset Frek \"abc\nshow Frek\nset tcali C:\\dir\\n.txt\n"
                          "show tcali\nshow description\nstate cmbDevice\nstate frmMain.Frek\n"
                          "look Frek\nset Frek  2 \nshow Frek\n"),
            kStarted +
                "dialog Load From File -> \"\"\nvalue BiasUnit =  V\nvalue Frek = \"abc\n"
                "value tcali = C:\\\\dir\\\\n.txt\nvalue description = Frequency Range(-3dB): "
                "0.01 Hz - 100MHz\\nMaximum Frequency: 200MHz \\nAmplitude Range:  10mV - "
                "5000mV\\nAmplitude Range(50 Ohm): 10mV - 2500mV\n"
                "state cmbDevice = disabled visible\nstate frmMain.Frek = enabled visible\n"
                "look Frek = back system fore system picture none\nvalue Frek =  2 \n"},
    };
    // Line ends CR, LF and CR LF alike; a byte-order mark at the start and blanks at the start
    // are skipped, and so are blanks after a name or a number, but not at the end of a TEXT.
    rows.push_back({0, "", kSim + script("mark a\rmark b\r\nmark c\nmark d\r"),
                    kStarted + "mark a\nmark b\nmark c\nmark d\n"});
    rows.push_back({0, "",
                    kSim + script("\xEF\xBB\xBFmark a\n  # comment\n\t show Frek \ncheck atten 1 \n"
                                  "show atten\t\nmark b \n"),
                    kStarted + "mark a\nvalue Frek = 1\nvalue atten = 1\nmark b \n"});
    // A question and the script's reply: keeping the chosen calibration file in the user's data
    // folder (which runCli puts where nothing can be written).
    const std::string cal = std::string(TUNX_SHARE_DIR) + "CalDataSIM0001.txt";
    const std::string kept = "/dev/null/tunx4k-tests/tunx4k/CalDataSIM0001.txt";
    const std::string asked = "question Keep a copy of " + cal + " as " + kept +
                              "? The program reads this instrument's calibration file from there "
                              "at every start.";
    rows.push_back({0, "", kSim + script("answer " + cal + "\nclick calibr_file\n"),
                    kStarted + "dialog Load From File -> " + cal + "\n" + asked + " -> no\n"});
    rows.push_back({0, "", kSim + script("answer " + cal + "\nreply yes\nclick calibr_file\n"),
                    kStarted + "dialog Load From File -> " + cal + "\n" + asked +
                        " -> yes\nmessage The calibration file could not be copied to " + kept +
                        ": Not a directory\n"});
    // What cannot be a script, and a transcript that cannot be written.
    const std::string folder = std::filesystem::path(tempFile("")).parent_path();
    rows.push_back({2, "cannot read script: " + folder + " is a folder", kSim + folder, ""});
    rows.push_back({2, "line 1: longer than 65536 characters", kSim + "/dev/zero", ""});
    rows.push_back({2, "the transcript could not be written to /dev/full",
                    kSim + "--out /dev/full " + script("mark a\n"), ""});
    rows.push_back({2, "cannot write /nonexistent/dir/t.txt",
                    kSim + "--out /nonexistent/dir/t.txt " + script("mark a\n"), ""});
    rows.push_back({2, "line 2: cannot write the picture to /nonexistent/dir/p.png",
                    kSim + script("mark a\npicture /nonexistent/dir/p.png\n"),
                    kStarted + "mark a\n"});
    // The last line of each script cannot be understood: nothing runs.
    for (const std::string text : {"frobnicate x\n",
                                   "mark a\n\nset Frek\n",
                                   "check atten 2\n",
                                   "click\n",
                                   "click a b\n",
                                   "tick x\n",
                                   "tick -1\n",
                                   "tab TabStrip2 000000000\n",
                                   "# c\nsim\n",
                                   "sim nak\n",
                                   "sim nak 2 after\n",
                                   "sim mute 1 before 2\n",
                                   "sim show now\n",
                                   "sim explode\n",
                                   "mark\n",
                                   "lines\n",
                                   "lines maybe\n",
                                   "counterview maybe\n",
                                   "reply maybe\n",
                                   "mark a\nsim devices other-1\n",
                                   "tab TabStrip2\n",
                                   "tab TabStrip2 0\n",
                                   "mouse 1\n",
                                   "mouse a b\n",
                                   "picture\n",
                                   "export scope\n",
                                   "export frobs x.csv\n",
                                   "autoset now\n",
                                   "stats maybe\n",
                                   "defaults now\n",
                                   "math\n",
                                   "math CH1/CH2\n",
                                   "math off 1V\n",
                                   "math CH1+CH2 1V 2V\n",
                                   "xy maybe\n",
                                   "ref\n",
                                   "ref save C CH1\n",
                                   "ref save A CH3\n",
                                   "ref load A\n",
                                   "ref clear A B\n",
                                   "ref keep A CH1\n",
                                   "sim nak 1\nmark a\nsim fail open 2\n"}) {
        const auto line = std::count(text.begin(), text.end(), '\n');
        rows.push_back({2, "line " + std::to_string(line) + ": ", kSim + script(text), ""});
    }
    for (const Row& r : rows) {
        const CliRun run = runCli(r.args);
        EXPECT_EQ(run.status, r.status) << r.args;
        EXPECT_EQ(run.out, r.out) << r.args;
        EXPECT_TRUE(r.err.empty() ? run.err.empty() : run.err.starts_with("tunx4k-cli: " + r.err))
            << r.args << ": " << run.err;
    }
}

// Without --simulate the USB transport looks for the bridge (no bridge has the id ffff:ffff):
// none is attached, the message says what to check, and the program stays usable. A build
// without USB support says so.
TEST(Cli, WithoutAnInstrumentNoDeviceIsFoundAndTheScriptRunsOn) {
    const CliRun r = runCli("--fast --usb-id ffff:ffff " + script("show Frek\n"));
    EXPECT_EQ(r.status, 0);
    const bool noUsb = r.err.starts_with("tunx4k-cli: this program was built without USB support");
    const std::string advice =
        noUsb ? "This program was built without USB support. tunx4k --simulate"
              : "Check that the instrument is plugged in: lsusb lists it as ffff:ffff. Without "
                "one, tunx4k --simulate (the menu entry \"TUNX4K on the Virtual Instrument\") "
                "runs the program on its built-in virtual instrument.\n";
    EXPECT_TRUE(
        r.out.starts_with("devices 0\nmessage ERROR!!! No attached device is found!!!"
                          "\\n\\n" +
                          advice))
        << r.out;
    EXPECT_TRUE(r.out.ends_with("\nvalue Frek = 1\n")) << r.out;
}

// The monitor's lines: a scope run whose plot and record are saved, the cursor tabs, the
// slider and the mouse; and the bench instructions the instrument refuses.
TEST(Cli, MonitorLinesSaveThePlotAndTheRecord) {
    const std::string png = writeTempFile("plot.png", "");
    const std::string csv = writeTempFile("record.csv", "");
    const CliRun r = runCli(kSim + script("set Frek 1\nset Vpp 4\nclick RefreshBtn\n"
                                          "choose Form1.selmonmode Scope CH1\n"
                                          "click cmdstartsweep\ntick 3\ntab TabStrip3 1\n"
                                          "tab TabStrip2 5\nset Slider1 2000\nmouse 100 100\n"
                                          "show Slider1\nshow centerfr\npicture " +
                                          png + "\nexport scope " + csv + "\n"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("value Slider1 = "), std::string::npos);
    EXPECT_NE(r.out.find("value centerfr = "), std::string::npos);
    EXPECT_NE(r.out.find("picture " + png + "\nexport scope " + csv + " 641\n"), std::string::npos)
        << r.out;
    // The plot as the picture line saved it: grey, with the red trace across it.
    const auto picture = decodePng(readFile(png));
    ASSERT_TRUE(picture);
    EXPECT_EQ(std::pair(picture->width, picture->height), std::pair(704, 576));
    EXPECT_EQ(picture->pixels[0], 0x808080U);
    EXPECT_GT(std::ranges::count(picture->pixels, 0xFF0000U), 640);
    EXPECT_TRUE(readFile(csv).starts_with("time_s,CH1_V\n"));

    // Lines refused with exit status 2 and what the message names: bench values no bench has,
    // a file name that a NUL byte would cut short, a control the window has disabled (F F T in
    // the sweep modes).
    const std::string nul(1, '\0');
    for (const auto& [line, named] : std::vector<std::pair<std::string, std::string>>{
             {"sim wire CH3 generator\n", "wire"},
             {"sim dut bandpass 1.5M\n", "dut"},
             {"sim dut attenuate -1000\n", "dut"},
             {"sim signal CH1 sine 1e308G 1\n", "signal"},
             {"tab selmonmode 1\n", "selmonmode"},
             {"export sweep " + csv + "\n", "sweep"},
             {"picture /nonexistent/folder/p.png\n", "p.png"},
             {"export scope " + csv + nul + "x\n", "NUL"},
             {"picture " + png + nul + "x\n", "NUL"},
             {"answer " + csv + nul + "x\n", "NUL"},
             {"click cmdfft\n", "cmdfft is disabled"},
             {"choose Form1.selmonmode Scope CH1+CH2\nclick Form1.cmdfft\n", "cmdfft is disabled"},
             {"choose selmonmode Amplitude Sweep\nset stopf 3\n", "stopf is disabled"},
             {"math CH1-CH2\n", "only in the mode Scope CH1+CH2"},
             {"xy on\n", "only in the mode Scope CH1+CH2"},
             {"choose Form1.selmonmode Scope CH1+CH2\nmath CH1xCH2 3V2\n", "no entry 3V2"},
             {"ref save A CH1\n", "no trace on the plot"},
             {"ref load B /nonexistent/r.csv\n", "no such file"},
             {"ref load A " + csv + nul + "x\n", "NUL"}}) {
        const CliRun bad = runCli(kSim + script(line));
        EXPECT_EQ(bad.status, 2) << line;
        EXPECT_TRUE(bad.err.starts_with("tunx4k-cli: line ")) << line << bad.err;
        EXPECT_NE(bad.err.find(named), std::string::npos) << line << bad.err;
    }
}

// The math trace, a reference saved from it and one loaded from the export, as a script drives
// them.
TEST(Cli, MathAndReferenceLines) {
    const std::string csv = writeTempFile("math.csv", "");
    const CliRun r = runCli(kSim + script("set Frek 1\nset Vpp 2\nclick RefreshBtn\n"
                                          "choose Form1.selmonmode Scope CH1+CH2\n"
                                          "math CH1xCH2 0.5V2\nclick cmdstartsweep\ntick 3\n"
                                          "ref save A MATH\nexport scope " +
                                          csv + "\nref load B " + csv +
                                          "\nshow mathvdiv\nshow refatext\nshow refbtext\n"
                                          "ref clear A\nshow refatext\n"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("value mathvdiv = 0.5V\u00b2\nvalue refatext = REF A CH1\u00d7CH2\n"
                         "value refbtext = REF B CH1\nvalue refatext = \n"),
              std::string::npos)
        << r.out;
    EXPECT_TRUE(readFile(csv).starts_with("time_s,CH1_V,CH2_V,CH1xCH2_V2\n"));
}

TEST(Cli, OutFileAndStandardInput) {
    const std::string kStarted = started();
    const std::string outPath = writeTempFile("cli-out.txt", "old");
    const CliRun r = runCli(kSim + "--out '" + outPath + "' - < " + script("mark x\n"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(readFile(outPath), kStarted + "mark x\n");
    // A transcript that would overwrite its own script is refused.
    const std::string scriptPath = writeTempFile("cli-self.txt", "mark x\n");
    const CliRun self = runCli(kSim + "--out '" + scriptPath + "' '" + scriptPath + "'");
    EXPECT_EQ(self.status, 2);
    EXPECT_NE(self.err.find("would overwrite the script"), std::string::npos) << self.err;
    EXPECT_EQ(readFile(scriptPath), "mark x\n");
}

}  // namespace
}  // namespace tunx::test
