#include "cli/CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/Version.h"
#include "support/Rig.h"

namespace tunx::cli {
namespace {

using Args = std::vector<std::string_view>;
using A = CommandLine::Action;

CommandLine parse(const Args& args) {
    return parseCommandLine(args);
}

TEST(CommandLine, TakesEveryOptionOfTheRunner) {
    const CommandLine line = parse({"--simulate", "--fast", "--locale", "de_DE", "--out", "t.txt",
                                    "--usb-id", "0x10c4:EA60", "--serial", "tunx4k-B", "s.txt"});
    EXPECT_EQ(line.action, A::Run);
    EXPECT_TRUE(line.simulate);
    EXPECT_TRUE(line.fast);
    EXPECT_EQ(line.locale, "de_DE");
    EXPECT_EQ(line.outPath, "t.txt");
    EXPECT_EQ(line.usbId, (usb::UsbId{0x10C4, 0xEA60}));
    EXPECT_EQ(line.scriptPath, "s.txt");
    EXPECT_EQ(line.serial, "tunx4k-B");
    EXPECT_EQ(parse({"--list", "--usb-id", "1:2"}).action, A::List);

    const CommandLine served =
        parse({"--simulate", "--sim", " wire  CH1 dut", "--sim", "noise 2", "--idle-timeout", "5",
               "--out", "t.txt", "--serve", "0.0.0.0:5025"});
    EXPECT_EQ(served.action, A::Run);
    EXPECT_EQ(served.serveAt, "0.0.0.0:5025");
    EXPECT_EQ(served.bench,
              (std::vector<std::vector<std::string>>{{"wire", "CH1", "dut"}, {"noise", "2"}}));
    EXPECT_EQ(served.idleSeconds, 5);
    EXPECT_TRUE(served.scriptPath.empty());

    const CommandLine plain = parse({"-"});
    EXPECT_EQ(plain.action, A::Run);
    EXPECT_FALSE(plain.simulate || plain.fast);
    EXPECT_EQ(plain.scriptPath, "-");
    EXPECT_EQ(plain.usbId, usb::UsbId{});
    EXPECT_EQ(parse({"--", "--fast"}).scriptPath, "--fast");  // a script with that name
}

// Help and version win wherever they stand (but not after "--"); anything else unknown is
// refused with the reason.
TEST(CommandLine, HelpVersionOrRefusalWithTheReason) {
    const struct {
        Args args;
        A action;
        const char* why;
    } rows[] = {
        {{"--help"}, A::Help, ""},
        {{"-h"}, A::Help, ""},
        {{"--simulate", "--bogus", "--help"}, A::Help, ""},
        {{"--version"}, A::Version, ""},
        {{"s.txt", "--version"}, A::Version, ""},
        {{"--", "--help"}, A::Run, ""},  // after "--" it is a script
        {{}, A::Refused, "no script given"},
        {{"--simulate"}, A::Refused, "no script given"},
        {{"--bogus", "s.txt"}, A::Refused, "unknown option --bogus"},
        {{"-x", "s.txt"}, A::Refused, "unknown option -x"},
        {{"--Simulate", "s.txt"}, A::Refused, "unknown option --Simulate"},
        {{"s.txt", "t.txt"}, A::Refused, "more than one script given"},
        {{"s.txt", "--out"}, A::Refused, "--out needs a value"},
        {{"--locale"}, A::Refused, "--locale needs a value"},
        {{"--out", "", "s.txt"}, A::Refused, "--out needs a value"},
        {{"--usb-id", "10c4", "s.txt"},
         A::Refused,
         "--usb-id needs VID:PID in hexadecimal, each from 1 to ffff, not 10c4"},
        {{"--usb-id", "zz:1", "s.txt"},
         A::Refused,
         "--usb-id needs VID:PID in hexadecimal, each from 1 to ffff, not zz:1"},
        {{"--usb-id", "99999:1", "s.txt"},
         A::Refused,
         "--usb-id needs VID:PID in hexadecimal, each from 1 to ffff, not 99999:1"},
        {{"--usb-id", "0:0", "s.txt"},
         A::Refused,
         "--usb-id needs VID:PID in hexadecimal, each from 1 to ffff, not 0:0"},
        {{""}, A::Refused, "an empty script name"},
        {{"--serve", "5025", "s.txt"}, A::Refused, "--serve takes no script"},
        {{"--fast", "--serve", "5025"},
         A::Refused,
         "--serve runs on the real clock: --fast cannot be used with it"},
        {{"--list", "--serve", "5025"}, A::Refused, "--list and --serve cannot be used together"},
        {{"--sim", "wire CH1 dut", "--serve", "5025"}, A::Refused, "--sim needs --simulate"},
        {{"--simulate", "--sim", "noise 1", "s.txt"}, A::Refused, "--sim needs --serve"},
        {{"--idle-timeout", "5", "s.txt"}, A::Refused, "--idle-timeout needs --serve"},
        {{"--idle-timeout", "0", "--serve", "1"},
         A::Refused,
         "--idle-timeout needs a whole number of seconds, not 0"},
        {{"--serve", ""}, A::Refused, "--serve needs a value"},
        {{"--serial"}, A::Refused, "--serial needs a value"},
        {{"--serial", "", "s.txt"}, A::Refused, "--serial needs a value"},
        {{"--list", "s.txt"}, A::Refused, "--list takes no script"},
    };
    for (const auto& row : rows) {
        const CommandLine line = parse(row.args);
        EXPECT_EQ(line.action, row.action) << row.args.size() << " " << row.why;
        if (row.action == A::Refused) {
            EXPECT_EQ(line.why, row.why);
        }
    }
}

TEST(CommandLine, UsageNamesEveryOptionAndVersionTheProjectVersion) {
    const std::string usage = usageText();
    for (const char* option :
         {"--simulate", "--fast", "--locale NAME", "--out FILE", "--serial SERIAL", "--list",
          "--usb-id VID:PID", "SCRIPT", "--help", "--version", "--serve [ADDRESS:]PORT",
          "--sim INSTRUCTION", "--idle-timeout SECONDS"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
    EXPECT_EQ(versionText(), std::string("tunx4k-cli ") + kVersion + "\n");
}

// The program itself: help and version on standard output with status 0, a bad option on
// standard error with status 2 and no transcript.
TEST(CommandLine, TheProgramAnswers) {
    const test::CliRun help = test::runCli("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, usageText());
    const test::CliRun version = test::runCli("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, versionText());
    const test::CliRun bad = test::runCli("--simulate --frobnicate -");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err,
              "tunx4k-cli: unknown option --frobnicate\n"
              "Try 'tunx4k-cli --help' for the options.\n");
}

}  // namespace
}  // namespace tunx::cli
