#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "cli/Runner.h"
#include "monitor/Export.h"
#include "remote/RemoteRig.h"
#include "remote/Reply.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

TEST(RemoteEngine, AnswersTheStandardQueriesTogetherOnOneLine) {
    RemoteRig r;
    EXPECT_EQ(r.query("*IDN?"), "TUNX4K,TUNX4K,tunx4k-SIM0001,4.5");
    EXPECT_EQ(r.query("*idn?;:SYST:VERS?;*OPC?;*ESR?;:SYST:ERR?"),
              "TUNX4K,TUNX4K,tunx4k-SIM0001,4.5;1999.0;1;0;0,\"No error\"");
    EXPECT_EQ(r.send("*CLS;*WAI"), "");  // no query, no answer
}

// A line is read whole before any of it runs: a fault anywhere in it leaves the instrument as
// it was, with nothing sent, and one error in the queue.
TEST(RemoteEngine, AMalformedLineChangesNothing) {
    const struct {
        const char* line;
        const char* error;
    } rows[] = {
        {"SOUR:FREQ 2000;FOO", "-113,Undefined header"},
        {"SOUR:FREQ 2000;FREQ 'x", "-151,Invalid string data;no closing quote"},
        {"OUTP ON;SOUR:FREQ 1 2", "-103,Invalid separator;at '2'"},
        {"OUTP ON;SOUR:FREQ", "-109,Missing parameter"},
        {"OUTP ON;*IDN? 1", "-108,Parameter not allowed"},
        {"OUTP ON;CHAN1:SCAL:X 1", "-113,Undefined header"},
        {"OUTP ON;SOUR2:FREQ 1", "-113,Undefined header"},
        {"OUTP ON;MEAS:VPP CH1", "-113,Undefined header"},  // a query without its '?'
    };
    for (const auto& row : rows) {
        RemoteRig r;
        const std::size_t before = r.mark();
        EXPECT_EQ(r.send(row.line), "") << row.line;
        EXPECT_EQ(r.lines(before), std::vector<std::string>{}) << row.line;
        EXPECT_EQ(r.program.generator().Frek->text, "1") << row.line;
        EXPECT_EQ(r.errors(), std::vector<std::string>{row.error}) << row.line;
    }
}

// A command that cannot be carried out queues its error; the rest of the line goes on. The
// event register records the kinds, and reading it clears it.
TEST(RemoteEngine, ErrorsQueueInOrderAndSetTheirEventBits) {
    RemoteRig r;
    r.send("SOUR:VOLT 20;FREQ 2500");
    r.send("FOO");
    EXPECT_EQ(r.program.generator().Frek->text, "2.5");
    EXPECT_EQ(r.query("SYST:ERR:COUN?;*ESR?;*ESR?;*STB?"), "2;48;0;4");
    EXPECT_EQ(r.query("SYST:ERR?;:SYST:ERR:NEXT?;:SYST:ERR?"),
              "-222,\"Data out of range;0.01 to 5 Vpp\";-113,\"Undefined header\";0,\"No "
              "error\"");
    for (int i = 0; i < 40; ++i) {
        r.send("FOO");
    }
    const std::vector<std::string> errors = r.errors();
    ASSERT_EQ(errors.size(), remote::Status::kQueueLength);
    EXPECT_EQ(errors[30], "-113,Undefined header");
    EXPECT_EQ(errors.back(), "-350,Queue overflow");
    r.send("FOO;*CLS");  // refused whole: the queue keeps its entry
    r.send("*CLS");
    EXPECT_EQ(r.query("SYST:ERR?;*ESR?"), "0,\"No error\";0");
}

// Settings through the generator window's fields and RUN give exactly the frames the same
// entries typed in a script give.
TEST(RemoteEngine, GeneratorSettingsSendWhatTheScriptSends) {
    RemoteRig r;
    r.send("SOUR:FUNC SIN;FREQ 1.5 kHz;VOLT 2;VOLT:OFFS 500mV;:OUTP ON");
    EXPECT_EQ(r.errors(), std::vector<std::string>{});
    std::ostringstream out;
    const std::vector<cli::ScriptLine> script =
        cli::parseScript(*std::make_unique<std::istringstream>(
            "choose ModeSelect Single Tone Sine\nset Frek 1.5\nset Vpp 2\nset VBias 0.5\n"
            "click RUN\n"));
    cli::runScript(script, {.simulate = true, .fast = true, .installDir = TUNX_SHARE_DIR}, out);
    std::string served;
    for (const std::string& l : r.lines()) {
        served += l + "\n";
    }
    EXPECT_EQ(served, out.str());
    EXPECT_EQ(r.query("SOUR:FUNC?;FREQ?;VOLT?;VOLT:OFFS?;:OUTP?"), "SIN;1500;2;0.5;1");
}

TEST(RemoteEngine, GeneratorQueriesConvertTheFieldsUnits) {
    const struct {
        const char* setup;
        const char* query;
        const char* answer;
    } rows[] = {
        {"SOUR:FREQ 1234567.5", "CONT:VAL? 'Frek';VAL? 'frequnit'", "\"1.2345675\";\"MHz\""},
        {"SOUR:FREQ 0.5", "CONT:VAL? 'Frek';VAL? 'frequnit'", "\"0.5\";\"Hz\""},
        {"CONT:CHO 'frequnit','MHz';SET 'Frek','2'", "SOUR:FREQ?", "2000000"},
        {"CONT:SET 'Frek','abc'", "SOUR:FREQ?", "9.91E+37"},
        {"CONT:CHO 'VppUnit','mVpp';SET 'Vpp','250'", "SOUR:VOLT?", "0.25"},
        {"CONT:CHO 'VppUnit','mVrms';SET 'Vpp','1000'", "SOUR:VOLT?", "2.8284"},
        {"CONT:CHO 'VppUnit','dBmV';SET 'Vpp','60'", "SOUR:VOLT?", "2.8284"},
        {"CONT:CHO 'BiasMode','Vpp/2';SET 'Vpp','3'", "SOUR:VOLT:OFFS?", "1.5"},
        {"CONT:CHO 'BiasMode','0.00V';SET 'VBias','2'", "SOUR:VOLT:OFFS?", "0"},
        {"CONT:CHO 'BiasUnit','mV';SET 'VBias','-250'", "SOUR:VOLT:OFFS?", "-0.25"},
        {"SOUR:FUNC RAMP", "SOUR:FREQ? MAX;FREQ? MIN;VOLT? MAX;VOLT:OFFS? MIN", "100000;0.1;5;-1"},
        {"SOUR:FUNC SQU2", "SOUR:FUNC?;:CONT:VAL? 'ModeSelect'", "SQU2;\"Square-Wave2\""},
        {"CONT:SET 'ModeSelect','Sine'", "SOUR:FUNC?", "NONE"},
    };
    for (const auto& row : rows) {
        RemoteRig r;
        r.send(row.setup);
        EXPECT_EQ(r.query(row.query), row.answer) << row.setup;
        EXPECT_EQ(r.errors(), std::vector<std::string>{}) << row.setup;
    }
}

// Values the panel would refuse, and fields the mode does not use, are refused before anything
// changes.
TEST(RemoteEngine, RefusesValuesOutsideTheModesLimitsAndUnusedFields) {
    const struct {
        const char* line;
        const char* error;
    } rows[] = {
        {"SOUR:FUNC RAMP;FREQ 200 kHz", "-222,Data out of range;0.1 to 100000 Hz in Ramp"},
        {"SOUR:FREQ 201e6", "-222,Data out of range;0 to 200000000 Hz in Single Tone Sine"},
        {"SOUR:FREQ -1", "-222,Data out of range;0 to 200000000 Hz in Single Tone Sine"},
        {"SOUR:VOLT 5.1", "-222,Data out of range;0.01 to 5 Vpp"},
        {"SOUR:VOLT:OFFS -1.5", "-222,Data out of range;-1 to 4 V"},
        {"SOUR:FREQ 1 V", "-131,Invalid suffix;V"},
        {"SOUR:FREQ 'x'", "-104,Data type error;a number is needed"},
        {"SOUR:FREQ UP", "-224,Illegal parameter value;UP"},
        {"SOUR:FUNC PULS;FREQ 1000",
         "-221,Settings conflict;the frequency of Pulse Generator is "
         "not offered now"},
        {"SOUR:FUNC SQU2;VOLT:OFFS 1",
         "-221,Settings conflict;the offset of Square-Wave2 is not offered now"},
        {"SOUR:FUNC NOISE", "-224,Illegal parameter value;an output function is needed"},
        {"OUTP MAYBE", "-224,Illegal parameter value;ON or OFF is needed"},
    };
    for (const auto& row : rows) {
        RemoteRig r;
        const std::size_t before = r.mark();
        r.send(row.line);
        EXPECT_EQ(r.errors(), std::vector<std::string>{row.error}) << row.line;
        EXPECT_EQ(r.program.generator().Frek->text, "1") << row.line;
        EXPECT_EQ(r.lines(before), std::vector<std::string>{}) << row.line;
    }
}

// What the program says in a message box reaches the client as an execution error in the
// program's own words.
TEST(RemoteEngine, TheProgramsMessagesBecomeExecutionErrors) {
    RemoteRig r;
    r.send("CONT:SET 'Vpp','20';:OUTP ON");
    EXPECT_EQ(r.errors(),
              std::vector<std::string>{"-200,Amplitude range must be between 10 mV and 5000 mV"});
    EXPECT_EQ(r.query("OUTP?"), "0");
}

// While the output runs, a new frequency goes out at once, as Refresh after typing it would.
TEST(RemoteEngine, ARunningOutputTakesANewSettingAtOnce) {
    RemoteRig r;
    r.send("SOUR:VOLT 1;:OUTP ON");
    Rig typed;
    typed.start();
    typed.w().Vpp->text = "1";
    typed.run("RUN_Click");
    typed.w().Frek->text = "2";
    const std::size_t mark = typed.mark();
    typed.run("RefreshBtn_Click");

    const std::size_t before = r.mark();
    r.send("SOUR:FREQ 2000");
    EXPECT_EQ(r.lines(before), typed.lines(mark));
    EXPECT_FALSE(r.lines(before).empty());
}

// *OPC? and *WAI hold the line, and the lines after it, until the record that SINGle asked
// for is in; the program's timer runs on meanwhile.
TEST(RemoteEngine, OperationCompleteWaitsForTheRecord) {
    RemoteRig r;
    r.send("SOUR:VOLT 4;:OUTP ON;:MON:MODE CH1;:ACQ:POIN 2048;:TRIG:MODE NORM;:SING");
    EXPECT_EQ(r.send("*OPC?;*IDN?"), "");
    EXPECT_EQ(r.send("MEAS:VPP?"), "");
    EXPECT_TRUE(r.engine.waiting());
    std::string answer;
    for (int i = 0; i < 20 && answer.empty(); ++i) {
        answer = r.ticks(1);
    }
    EXPECT_EQ(answer, "1;TUNX4K,TUNX4K,tunx4k-SIM0001,4.5\n4\n");
    EXPECT_EQ(r.query("TRIG:MODE?;:MON:STAT?"), "SING;0");
    // *OPC sets its event bit once nothing is pending.
    r.send("RUN;*OPC");
    EXPECT_EQ(r.query("*ESR?"), "0");
    r.ticks(5);
    EXPECT_EQ(r.query("*ESR?"), "1");
    EXPECT_EQ(r.errors(), std::vector<std::string>{});
}

// A client that leaves: what it finished sending runs, up to a line that would wait.
TEST(RemoteEngine, LinesOfAClientThatLeftRunUpToAWait) {
    RemoteRig r;
    for (const char* line :
         {"SOUR:FREQ 2500;:SOUR:VOLT 1", "MON:MODE CH1;:SING", "*WAI", "SOUR:FREQ 3000"}) {
        r.engine.take({line, std::nullopt});
    }
    r.engine.clientLeft();
    EXPECT_FALSE(r.engine.busy());
    EXPECT_EQ(r.query("SOUR:FREQ?;VOLT?;:MON:STAT?"), "2500;1;1");
}

// The scope's record in volts: 2048 samples of a 4 Vpp, 1 kHz sine at 1 ms/div, 64 per
// period; the readouts of the same record; the record length the set-up announces.
TEST(RemoteEngine, TheRecordAndItsReadouts) {
    RemoteRig r;
    r.send("SOUR:FUNC SIN;FREQ 1000;VOLT 4;:OUTP ON;:MON:MODE CH1;:TIM:SCAL 1e-3;:CHAN1:SCAL 1");
    r.send(":ACQ:POIN 2048;:SING");
    r.send("*WAI");
    r.ticks(10);
    const std::vector<float> v = floatsOfBlock(r.query("WAV:DATA?"));
    ASSERT_EQ(v.size(), 2048U);
    EXPECT_FLOAT_EQ(*std::max_element(v.begin(), v.end()), 2.0F);
    EXPECT_FLOAT_EQ(*std::min_element(v.begin(), v.end()), -2.0F);
    int rising = 0;
    for (std::size_t i = 1; i < v.size(); ++i) {
        rising += v[i - 1] < 0 && v[i] >= 0 ? 1 : 0;
    }
    EXPECT_EQ(rising, 2048 / 64);
    EXPECT_EQ(r.query("WAV:XINC?;XOR?;POIN?;:ACQ:POIN?"), "1.5625E-05;0;2048;2048");
    const std::vector<std::string> m = {r.query("MEAS:VPP? CH1"), r.query("MEAS:VRMS?"),
                                        r.query("MEAS:VAV? CH1"), r.query("MEAS:FREQ? CH1")};
    EXPECT_EQ(m[0], "4");
    EXPECT_NEAR(std::stod(m[1]), 4 / 2.0 / std::sqrt(2.0), 0.02);
    EXPECT_NEAR(std::stod(m[2]), 0, 0.02);
    EXPECT_NEAR(std::stod(m[3]), 1000, 1);
    EXPECT_EQ(r.query("MEAS:VPP? CH2"), "9.91E+37");  // not in this record

    r.send("WAV:FORM ASC");
    std::istringstream text(r.query("WAV:DATA?"));
    std::size_t n = 0;
    for (std::string cell; std::getline(text, cell, ','); ++n) {
        ASSERT_LT(n, v.size());
        EXPECT_EQ(std::stof(cell), v[n]);
    }
    EXPECT_EQ(n, v.size());
    r.send("WAV:SOUR CH2");
    r.send("WAV:DATA?");
    EXPECT_EQ(r.errors(),
              std::vector<std::string>{"-230,Data corrupt or stale;no record of CH2 yet"});
    EXPECT_EQ(r.query("MON:EXP? SCOP"),
              remote::reply::block(scopeCsv(*r.program.monitor().mon().capture).text));
}

// The record length the set-up announces is the length of the records it takes.
TEST(RemoteEngine, AnnouncedPointsAreThePointsTaken) {
    for (const char* setup :
         {"ACQ:POIN 2048;TYPE 8;:TRIG:MODE FREE", "ACQ:POIN 0;TYPE 8;:TRIG:MODE FREE",
          "ACQ:POIN 0;TYPE 8;:TRIG:MODE NORM", "ACQ:POIN 0;TYPE 12;:TRIG:MODE FREE"}) {
        RemoteRig r;
        r.send("SOUR:VOLT 4;:OUTP ON;:MON:MODE CH1;:TIM:SCAL 1ms");
        r.send(setup);
        r.send("RUN;*WAI");
        r.ticks(20);
        EXPECT_EQ(r.query("ACQ:POIN?"), r.query("WAV:POIN?")) << setup;
        EXPECT_EQ(r.errors(), std::vector<std::string>{}) << setup;
    }
}

TEST(RemoteEngine, MonitorSettingsGoThroughTheWindowsLists) {
    const struct {
        const char* set;
        const char* query;
        const char* answer;
        const char* shown;  // control = text, what the monitor window shows
    } rows[] = {
        {"MON:MODE DUAL", "MON:MODE?", "DUAL", "selmonmode=Scope CH1+CH2"},
        {"MON:MODE counter", "MON:MODE?", "COUN", "selmonmode=Frequency Counter"},
        {"MON:MODE CH1;:TIM:SCAL 2e-3", "TIM:SCAL?", "0.002", "seltimediv=2ms/div"},
        {"MON:MODE CH1;:TIM:SCAL 3 ms", "TIM:SCAL?", "0.002", "seltimediv=2ms/div"},  // nearest
        {"MON:MODE CH1;:TIM:SCAL 1us;:ACQ:MODE ETIM;:TIM:SCAL 1 ns", "TIM:SCAL?", "1E-09",
         "seltimediv=1ns/div"},
        {"MON:MODE CH2;:CHAN2:SCAL 0.05", "CHAN2:SCAL?", "0.05", "ch2vdiv=50mV"},
        {"MON:MODE DUAL;:CHAN1:SCAL 1V", "CHAN1:SCAL?", "1", "ch1vdiv=1V"},
        {"MON:MODE CH1;:CHAN1:OFFS 1", "CHAN1:OFFS?", "1", "Slider1=384"},
        {"MON:MODE CH1;:CHAN1:SCAL 0.5;OFFS -0.25", "CHAN1:OFFS?", "-0.25", "Slider1=576"},
        {"MON:MODE CH1;:TRIG:LEV 1.5", "TRIG:LEV?", "1.5", "Slider1=704"},
        {"MON:MODE DUAL;:TRIG:MODE NORM;SOUR CH2;SLOP NEG", "TRIG:MODE?;SOUR?;SLOP?",
         "NORM;CH2;NEG", "trigeredge=Negative"},
        {"MON:MODE CH1;:ACQ:TYPE 12", "ACQ:TYPE?", "12", "adcselect=12 bit 480Ks"},
        {"MON:MODE CH1;:TIM:SCAL 1us;:ACQ:MODE ETIM", "ACQ:MODE?", "ETIM",
         "scopemode=Undersampling"},
        {"MON:MODE CH1;:ACQ:POIN 2048", "ACQ:POIN?", "2048", "reclenght=1"},
        {"SWE:STAR 10 kHz;STOP 2e6;AMPL 0.5", "SWE:STAR?;STOP?;AMPL?", "10000;2000000;0.5",
         "textstarta=0.5"},
        {"MON:MODE ASW;:SWE:AMPL:STOP 2", "SWE:AMPL:STOP?", "2", "combstopa=Vpp"},
        {"SWE:SCAL '10dbm/div'", "SWE:SCAL?", "\"10dBm/Div\"", "selrfrange=10dBm/Div"},
        {"MON:MODE CH1;:SPECTRUM:WIND HANN;SCAL DBVR", "SPECTRUM:WIND?;SCAL?", "HANN;DBVR",
         "fftwindow=Hann"},
    };
    for (const auto& row : rows) {
        RemoteRig r;
        r.send(row.set);
        EXPECT_EQ(r.query(row.query), row.answer) << row.set;
        EXPECT_EQ(r.errors(), std::vector<std::string>{}) << row.set;
        const std::string shown = row.shown;
        const auto eq = shown.find('=');
        const Control& c = *r.program.monitor().find(shown.substr(0, eq));
        const std::string value = c.kind == ControlKind::CheckBox || c.kind == ControlKind::Slider
                                      ? std::to_string(c.value)
                                      : c.text;
        EXPECT_EQ(value, shown.substr(eq + 1)) << row.set;
    }
}

TEST(RemoteEngine, RefusesMonitorValuesBeyondTheLists) {
    const struct {
        const char* line;
        const char* error;
    } rows[] = {
        {"CHAN3:SCAL 1", "-114,Header suffix out of range;channels are 1 and 2"},
        {"CHAN1:SCAL 20", "-222,Data out of range;0.01 to 1"},
        {"TIM:SCAL 2", "-222,Data out of range;1E-09 to 1"},
        {"MON:MODE CH1;:CHAN1:OFFS 4.5",
         "-222,Data out of range;an offset of four divisions or "
         "more beyond the plot"},
        {"CHAN1:OFFS 1", "-221,Settings conflict;the position slider is not offered now"},
        {"ACQ:TYPE 10", "-224,Illegal parameter value;8 or 12 is needed"},
        {"ACQ:POIN 4096", "-222,Data out of range;at most 2048"},
        {"MEAS:VPP? CH3", "-224,Illegal parameter value;CH1 or CH2 is needed"},
        {"SING", "-221,Settings conflict;a single record needs a scope mode"},
        {"SWE:SCAL 'loud'", "-224,Illegal parameter value;not an entry of selrfrange"},
        {"SPECTRUM:DATA?", "-221,Settings conflict;the F F T button is not offered now"},
        {"MON:MODE CH1;:SPECTRUM:DATA?", "-230,Data corrupt or stale;nothing measured yet"},
        {"SWE:DATA?", "-230,Data corrupt or stale;nothing measured yet"},
        {"MON:EXP? SPECTRUM", "-230,Data corrupt or stale;nothing measured yet"},
    };
    for (const auto& row : rows) {
        RemoteRig r;
        EXPECT_EQ(r.send(row.line), "") << row.line;
        EXPECT_EQ(r.errors(), std::vector<std::string>{row.error}) << row.line;
    }
}

// The counter's reading, none before the first; the spectrum of the last record.
TEST(RemoteEngine, TheCounterAndTheSpectrum) {
    RemoteRig r;
    r.send("SOUR:FREQ 1000;VOLT 4;:OUTP ON;:MON:MODE COUN");
    EXPECT_EQ(r.query("FREQ:COUN?"), "9.91E+37");
    r.send("RUN;*WAI");
    r.ticks(3);
    EXPECT_NEAR(std::stod(r.query("FREQ:COUN?")), 1000, 1);

    r.send("STOP;:MON:MODE CH1;:TIM:SCAL 1ms;:SING;*WAI");
    r.ticks(10);
    const std::vector<float> s = floatsOfBlock(r.query("SPECTRUM:DATA?"));
    ASSERT_EQ(s.size(), 512U);
    const auto peak = std::max_element(s.begin(), s.end()) - s.begin();
    const double bin = std::stod(r.query("SPECTRUM:XINC?"));
    EXPECT_NEAR((static_cast<double>(peak) + 1) * bin, 1000, bin);
    EXPECT_EQ(r.errors(), std::vector<std::string>{});
}

TEST(RemoteEngine, AFrequencySweepsPoints) {
    RemoteRig r;
    r.send("MON:MODE FSW;:SWE:STAR 100 kHz;STOP 1 MHz;AMPL 1;:RUN;*OPC?");
    std::string done;
    for (int i = 0; i < 1000 && done.empty(); ++i) {
        done = r.ticks(1);
    }
    EXPECT_EQ(done, "1\n");
    const int points = std::stoi(r.query("SWE:POIN?"));
    EXPECT_GT(points, 600);
    std::istringstream data(r.query("SWE:DATA?"));
    std::vector<double> cells;
    for (std::string cell; std::getline(data, cell, ',');) {
        cells.push_back(std::stod(cell));
    }
    ASSERT_EQ(cells.size(), 2U * static_cast<std::size_t>(points));
    EXPECT_NEAR(cells.front(), 100e3, 2e3);
    EXPECT_NEAR(cells[cells.size() - 2], 1e6, 0.01 * 1e6);
}

// The windows' other controls by name, as the script runner's lines use them; what the windows
// do not offer now, and the boxes that hold a path on this machine, are refused.
TEST(RemoteEngine, ControlsByName) {
    const struct {
        const char* line;
        const char* check;   // a query afterwards
        const char* answer;  // its answer
        const char* error;   // "" for none
    } rows[] = {
        {"CONT:SET 'frmMain.Frek','7'", "CONT:VAL? 'Frek'", "\"7\"", ""},
        {"CONT:CHO 'BiasUnit','mV'", "CONT:VAL? 'frmMain.BiasUnit'", "\"mV\"", ""},
        {"CONT:CHEC 'termination',ON", "CONT:VAL? 'termination'", "\"1\"", ""},
        {"CONT:SET 'Form1.startf','3'", "CONT:VAL? 'Form1.startf'", "\"3\"", ""},
        {"CONT:CHO 'selmonmode','Scope CH2';TAB 'TabStrip2',3", "CONT:VAL? 'TabStrip2'",
         "\"Trig. Position\"", ""},
        {"CONT:CHO 'selmonmode','Scope CH2';SET 'Slider1','2000'", "CONT:VAL? 'Slider1'",
         "\"1023\"", ""},
        {"CONT:CLIC 'RefreshBtn'", "CONT:VAL? 'StatusBar'", "\"Error Single Tone Sine\"",
         "-200,Amplitude range must be between 10 mV and 5000 mV"},
        {"CONT:SET 'flocation','/etc/passwd'", "CONT:ENAB? 'flocation'", "0",
         "-221,Settings conflict;flocation is not offered now"},
        {"SOUR:FUNC ARB;:CONT:CHO 'arbit','Freq';SET 'flocation','/etc/passwd'",
         "CONT:VAL? 'flocation'", "\"" TUNX_SHARE_DIR "Voltage1.txt\"",
         "-221,Settings conflict;flocation names a file on the instrument's computer"},
        {"CONT:CLIC 'cmdfft'", "CONT:ENAB? 'cmdfft'", "0",
         "-221,Settings conflict;cmdfft is not offered now"},
        {"CONT:SET 'nothing','1'", "CONT:VAL? 'Frek'", "\"1\"",
         "-224,Illegal parameter value;no control named 'nothing'"},
        {"CONT:CLIC 'Frek'", "CONT:VAL? 'Frek'", "\"1\"",
         "-221,Settings conflict;Frek cannot take that"},
        {"CONT:CHO 'selmonmode','Scope CH1';TAB 'TabStrip3',4", "CONT:VAL? 'TabStrip3'",
         "\"Cursor OFF\"", "-222,Data out of range;TabStrip3 has tabs 1 to 3"},
    };
    for (const auto& row : rows) {
        RemoteRig r;
        r.send(row.line);
        EXPECT_EQ(r.query(row.check), row.answer) << row.line;
        const std::vector<std::string> expected =
            *row.error == '\0' ? std::vector<std::string>{} : std::vector<std::string>{row.error};
        EXPECT_EQ(r.errors(), expected) << row.line;
    }
}

// A file dialog that a command opens is cancelled: a client never names a file here.
TEST(RemoteEngine, FileDialogsAreCancelled) {
    RemoteRig r;
    r.send("CONT:CLIC 'MenuBar_SaveCfg'");
    const std::vector<std::string> lines = r.lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "dialog Save To File -> \"\""), lines.end());
}

// *RST: the output off and every entry of both windows as the program starts with them.
TEST(RemoteEngine, ResetPutsBackTheStartUpPanels) {
    RemoteRig fresh;
    RemoteRig r;
    r.send("SOUR:FUNC RAMP;FREQ 2000;VOLT 3;VOLT:OFFS 1;:OUTP ON;:CONT:CHEC 'atten',1");
    r.send("MON:MODE CH2;:TRIG:MODE NORM;SOUR CH2;:CHAN1:SCAL 0.1;:ACQ:TYPE 12;POIN 2048;:RUN");
    r.ticks(3);
    r.send("*RST");
    EXPECT_EQ(r.query("OUTP?;:MON:STAT?"), "0;0");
    for (Window* w : {static_cast<Window*>(&r.program.generator()),
                      static_cast<Window*>(&r.program.monitor())}) {
        const Window& f = *fresh.program.window(w->name());
        for (std::size_t i = 0; i < w->controls().size(); ++i) {
            const Control& c = *w->controls()[i];
            const Control& d = *f.controls()[i];
            if (c.kind == ControlKind::TextBox &&
                (c.name == "textstatus" || c.name == "description")) {
                continue;  // show what ran
            }
            if (c.kind == ControlKind::TextBox || c.kind == ControlKind::ComboBox ||
                c.kind == ControlKind::CheckBox) {
                EXPECT_EQ(c.text, d.text) << c.name;
                EXPECT_EQ(c.value, d.value) << c.name;
            }
        }
    }
}

}  // namespace
}  // namespace tunx::test
