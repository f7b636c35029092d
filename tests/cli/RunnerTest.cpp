#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <sys/wait.h>

#include "cli/Runner.h"
#include "cli/Script.h"
#include "generator/frmMain.h"
#include "monitor/Form1.h"
#include "support/Rig.h"

namespace tunx::cli {
namespace {

using Lines = std::vector<std::string>;

Lines splitLines(const std::string& text) {
    Lines out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        out.push_back(l);
    }
    return out;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct CliRun {
    int status = -1;
    Lines out;
    std::string err;
};

// Runs the built tunx4k-cli with a script file (or `script` on standard input with "-").
CliRun runCli(const std::string& args, const std::string& script, bool viaStdin = false) {
    static int counter = 0;
    const std::string tag = std::to_string(++counter);
    const std::string scriptPath = test::writeTempFile("cli-script-" + tag + ".txt", script);
    const std::string errPath = test::writeTempFile("cli-err-" + tag + ".txt", "");
    const std::string command = std::string(TUNX_CLI) + " " + args + " " +
                                (viaStdin ? "- < '" + scriptPath + "'" : "'" + scriptPath + "'") +
                                " 2> '" + errPath + "'";
    CliRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    std::string out;
    std::array<char, 4096> buffer{};
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
        out.append(buffer.data(), n);
    }
    const int raw = ::pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = splitLines(out);
    run.err = readFile(errPath);
    return run;
}

constexpr const char* kSimFast = "--simulate --fast";

TEST(CliProgram, StartUpTranscriptWithTwoDevices) {
    const CliRun r = runCli(kSimFast, "sim devices other-0000001 tunx4k-ABC1234\nshow tcali\n");
    EXPECT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.out.size(), 8U);
    EXPECT_EQ(Lines(r.out.begin(), r.out.begin() + 7),
              (Lines{"devices 2", "product 0 -> other-0000001", "product 1 -> tunx4k-ABC1234",
                     "timeouts 3000 3000", "open 1", "baud 115200",
                     "message Error Reading Calibration Data"}));
    const std::string& value = r.out[7];
    EXPECT_EQ(value.rfind("value tcali = ", 0), 0U) << value;
    const std::string tail = "/share/tunx4k/CalDataABC1234.txt";
    ASSERT_GE(value.size(), tail.size());
    EXPECT_EQ(value.substr(value.size() - tail.size()), tail);
}

TEST(CliProgram, DefaultVirtualInstrumentStartsCleanly) {
    const CliRun r = runCli(kSimFast, "show Status\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, (Lines{"devices 1", "product 0 -> tunx4k-SIM0001", "timeouts 3000 3000",
                            "open 0", "baud 115200", "value Status = 0"}));
    EXPECT_TRUE(r.err.empty());
}

TEST(CliProgram, FailedExpectIsReportedAfterTheScriptEnds) {
    const CliRun r = runCli(kSimFast, "expect Frek 2\nmark after\nexpect Frek 1\n");
    EXPECT_EQ(r.status, 1);
    ASSERT_GE(r.out.size(), 3U);
    EXPECT_EQ(Lines(r.out.end() - 3, r.out.end()),
              (Lines{"value Frek = 1", "mark after", "value Frek = 1"}));
    EXPECT_NE(r.err.find("line 1"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("line 3"), std::string::npos) << r.err;
}

TEST(CliProgram, BadScriptLineNamesItsNumberAndRunsNothing) {
    const CliRun r = runCli(kSimFast, "mark a\n\nfrobnicate Frek\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("line 3"), std::string::npos) << r.err;
}

TEST(CliProgram, UnknownControlIsABadLine) {
    const CliRun r = runCli(kSimFast, "mark a\nshow NoSuchControl\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;
}

TEST(CliProgram, SimLinesNeedTheVirtualInstrument) {
    const CliRun r = runCli("--fast", "sim nak 1\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("line 1"), std::string::npos) << r.err;
}

TEST(CliProgram, BadCommandLines) {
    for (const char* args : {"--bogus", "--simulate --out", "--locale"}) {
        const CliRun r = runCli(args, "mark a\n");
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.err.find("usage"), std::string::npos) << args;
    }
    // No script at all, and a script that cannot be read.
    std::FILE* p = ::popen((std::string(TUNX_CLI) + " --simulate 2>/dev/null").c_str(), "r");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(WEXITSTATUS(::pclose(p)), 2);
    p = ::popen((std::string(TUNX_CLI) + " /nonexistent/script.txt 2>/dev/null").c_str(), "r");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(WEXITSTATUS(::pclose(p)), 2);
}

TEST(CliProgram, ProgramThatEndsItselfExitsWith3AndEndsWithEnd) {
    struct Row {
        const char* script;
        const char* lastMessage;
    };
    for (const Row& row :
         {Row{"sim devices other-0000001\nmark never\n",
              "message Error finding TUNX3K device. Aborting application."},
          Row{"sim fail devices 255\n", "message Error finding USB device. Aborting application."},
          Row{"mark up\nmenu Form_Unload\nmark never\n", "close"}}) {
        const CliRun r = runCli(kSimFast, row.script);
        EXPECT_EQ(r.status, 3) << row.script;
        ASSERT_GE(r.out.size(), 2U);
        EXPECT_EQ(r.out.back(), "end");
        EXPECT_EQ(r.out[r.out.size() - 2], row.lastMessage);
    }
}

TEST(CliProgram, BackslashesInMessagesAreEscaped) {
    const CliRun r = runCli(kSimFast, "sim devices tunx4k-A\\B1234\nsim fail open 2\n");
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.out, (Lines{"devices 1", "product 0 -> tunx4k-A\\\\B1234", "timeouts 3000 3000",
                            "open 0 -> 2",
                            "message Error opening device: tunx4k-A\\\\B1234. Application is "
                            "aborting. Reset hardware and try again.",
                            "end"}));
}

TEST(CliProgram, OutFileAndStandardInput) {
    const std::string outPath = test::writeTempFile("cli-out.txt", "old");
    const CliRun r = runCli(std::string(kSimFast) + " --out '" + outPath + "'", "mark x\n", true);
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.empty());
    const Lines file = splitLines(readFile(outPath));
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(file.front(), "devices 1");
    EXPECT_EQ(file.back(), "mark x");
}

// In-process runs of the script runner.
struct InProcess {
    int status = -1;
    Lines out;
    std::string diagnostics;
};

InProcess runIn(const std::string& script) {
    std::istringstream in(script);
    const auto lines = parseScript(in);
    Options options;
    options.simulate = true;
    options.fast = true;
    options.installDir = TUNX_SHARE_DIR;
    std::ostringstream out;
    std::ostringstream diag;
    InProcess r;
    r.status = runScript(lines, options, out, &diag);
    r.out = splitLines(out.str());
    r.diagnostics = diag.str();
    return r;
}

Lines after(const Lines& all, const std::string& markText) {
    const auto it = std::find(all.begin(), all.end(), "mark " + markText);
    return it == all.end() ? Lines{} : Lines(it + 1, all.end());
}

TEST(CliRunner, QuotedTextAndEscapedValues) {
    const InProcess r = runIn(
        "mark go\n"
        "set BiasUnit \" V\"\n"
        "show BiasUnit\n"
        "set Frek \"abc\n"
        "show Frek\n"
        "set tcali C:\\dir\\n.txt\n"
        "show tcali\n"
        "show description\n");
    EXPECT_EQ(r.status, 0);
    const Lines lines = after(r.out, "go");
    ASSERT_EQ(lines.size(), 4U);
    EXPECT_EQ(lines[0], "value BiasUnit =  V");
    EXPECT_EQ(lines[1], "value Frek = \"abc");
    EXPECT_EQ(lines[2], "value tcali = C:\\\\dir\\\\n.txt");
    // The limitation lines are joined with line breaks, each written as \n.
    EXPECT_EQ(lines[3].rfind("value description = ", 0), 0U);
    EXPECT_NE(lines[3].find("\\n"), std::string::npos);
    EXPECT_EQ(lines[3].find('\r'), std::string::npos);
}

TEST(CliRunner, StateAndLookLines) {
    const InProcess r = runIn(
        "mark go\nstate cmbDevice\nstate mintime\nstate frmMain.Frek\nlook Frek\n"
        "check atten 1\nshow atten\n");
    EXPECT_EQ(r.status, 0);
    const Lines lines = after(r.out, "go");
    ASSERT_EQ(lines.size(), 5U);
    EXPECT_EQ(lines[0], "state cmbDevice = disabled visible");
    // mintime is never shown; whether it is enabled depends on the mode.
    EXPECT_TRUE(lines[1] == "state mintime = enabled hidden" ||
                lines[1] == "state mintime = disabled hidden")
        << lines[1];
    EXPECT_EQ(lines[2], "state frmMain.Frek = enabled visible");
    EXPECT_EQ(lines[3], "look Frek = back system fore system picture none");
    EXPECT_EQ(lines[4], "value atten = 1");
}

TEST(CliRunner, DialogAnswersAndCancellation) {
    const std::string cal = std::string(TUNX_SHARE_DIR) + "CalDataSIM0001.txt";
    const InProcess r = runIn("mark go\nanswer \"\"\nclick calibr_file\nanswer " + cal +
                              "\nclick calibr_file\nshow tcali\n");
    EXPECT_EQ(after(r.out, "go"),
              (Lines{"dialog Load From File -> \"\"", "dialog Load From File -> " + cal,
                     "value tcali = " + cal}));
}

TEST(CliRunner, ProgramStartsBeforeTheFirstLineThatIsNotASimLine) {
    // sim lines after the start no longer change what enumeration reported.
    const InProcess late = runIn("mark first\nsim devices other-1\n");
    EXPECT_EQ(late.status, 0);
    EXPECT_EQ(late.out.front(), "devices 1");
    // A script of sim lines only starts the program at its end.
    const InProcess only = runIn("sim devices\n");
    EXPECT_EQ(only.out, (Lines{"devices 0", "message ERROR!!! No attached device is found!!!"}));
    EXPECT_EQ(only.status, 0);
}

TEST(CliRunner, SimShowDescribesTheInstrument) {
    const InProcess r = runIn("mark go\nsim show\n");
    const Lines lines = after(r.out, "go");
    ASSERT_FALSE(lines.empty());
    for (const std::string& l : lines) {
        EXPECT_EQ(l.rfind("sim ", 0), 0U) << l;
    }
}

TEST(CliRunner, FailureLinesReachTheInstrument) {
    const InProcess open = runIn("sim fail open 2\nmark never\n");
    EXPECT_EQ(open.status, 3);
    EXPECT_NE(std::find(open.out.begin(), open.out.end(), "open 0 -> 2"), open.out.end());
    const InProcess baud = runIn("sim fail baud 4\nmark go\n");
    EXPECT_EQ(baud.status, 0);
    EXPECT_NE(std::find(baud.out.begin(), baud.out.end(), "baud 115200 -> 4"), baud.out.end());
    EXPECT_NE(std::find(baud.out.begin(), baud.out.end(), "message error seting baud rate"),
              baud.out.end());
}

TEST(CliRunner, BareNamesAreLookedUpInTheGeneratorFirstThenTheMonitor) {
    // Build the case from the windows as they are: a name only the monitor has, and a name
    // both have.
    VirtualClock clock;
    sim::VirtualInstrument sim(clock);
    test::TestUi ui;
    SharedState state;
    frmMain generator(state, sim, clock, ui);
    Form1 monitor(state);
    std::string monitorOnly;
    std::string shared;
    for (const auto& c : monitor.controls()) {
        if (generator.find(c->name) == nullptr && monitorOnly.empty()) {
            monitorOnly = c->name;
        }
        if (generator.find(c->name) != nullptr && shared.empty()) {
            shared = c->name;
        }
    }
    if (monitorOnly.empty()) {
        GTEST_SKIP() << "the monitor window has no controls of its own yet";
    }
    const InProcess r =
        runIn("mark go\nshow " + monitorOnly + "\nshow Form1." + monitorOnly + "\n");
    EXPECT_EQ(r.status, 0);
    const Lines lines = after(r.out, "go");
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[0].substr(lines[0].find(" = ")), lines[1].substr(lines[1].find(" = ")));
    if (!shared.empty()) {
        const InProcess s =
            runIn("mark go\nset frmMain." + shared + " fromGenerator\nshow " + shared + "\n");
        EXPECT_EQ(after(s.out, "go"), (Lines{"value " + shared + " = fromGenerator"}));
    }
}

TEST(CliRunner, WindowQualifiedNamesMustExist) {
    for (const char* script :
         {"show Form1.Frek\n", "show frmMain.NoSuch\n", "show Nowhere.Frek\n"}) {
        std::istringstream in(script);
        const auto lines = parseScript(in);
        Options options;
        options.simulate = true;
        options.fast = true;
        options.installDir = TUNX_SHARE_DIR;
        std::ostringstream out;
        EXPECT_THROW(runScript(lines, options, out), ScriptError) << script;
    }
}

}  // namespace
}  // namespace tunx::cli
