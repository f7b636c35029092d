#include <gtest/gtest.h>

#include <sstream>

#include "cli/Script.h"

namespace tunx::cli {
namespace {

std::vector<ScriptLine> parse(const std::string& text) {
    std::istringstream in(text);
    return parseScript(in);
}

TEST(ScriptParse, KeywordsControlsAndTexts) {
    const auto lines = parse(
        "# comment\n"
        "\n"
        "   \t \n"
        "set BiasUnit \" V\"\r\n"
        "choose ModeSelect Pulse Generator\n"
        "check atten 1\n"
        "click frmMain.RefreshBtn\n"
        "answer \"\"\n"
        "sim nak 2 after 6\n"
        "expect Frek \"1\n"
        "set Frek  2 \n");
    ASSERT_EQ(lines.size(), 8U);
    EXPECT_EQ(lines[0].number, 4);
    EXPECT_EQ(lines[0].keyword, "set");
    EXPECT_EQ(lines[0].control, "BiasUnit");
    EXPECT_EQ(lines[0].text, " V");
    EXPECT_EQ(lines[1].text, "Pulse Generator");
    EXPECT_EQ(lines[2].text, "1");
    EXPECT_EQ(lines[3].control, "frmMain.RefreshBtn");
    EXPECT_EQ(lines[4].text, "");
    EXPECT_EQ(lines[5].words, (std::vector<std::string>{"nak", "2", "after", "6"}));
    EXPECT_EQ(lines[6].text, "\"1");  // one quote is not a quoted text
    EXPECT_EQ(lines[7].text, " 2 ");  // the rest of the line after one space
    EXPECT_EQ(lines[7].number, 11);
}

TEST(ScriptParse, BadLinesNameTheirLineNumber) {
    struct Row {
        const char* script;
        int line;
    };
    for (const Row& r : {
             Row{"frobnicate x\n", 1},
             Row{"mark a\n\nset Frek\n", 3},
             Row{"check atten 2\n", 1},
             Row{"click\n", 1},
             Row{"click a b\n", 1},
             Row{"tick x\n", 1},
             Row{"tick -1\n", 1},
             Row{"# c\nsim\n", 2},
             Row{"sim nak\n", 1},
             Row{"sim nak 2 after\n", 1},
             Row{"sim mute 1 before 2\n", 1},
             Row{"sim show now\n", 1},
             Row{"sim explode\n", 1},
             Row{"mark\n", 1},
             Row{"  # indented is not a comment\n", 1},
         }) {
        try {
            parse(r.script);
            ADD_FAILURE() << r.script;
        } catch (const ScriptError& e) {
            EXPECT_EQ(e.lineNumber, r.line) << r.script;
            EXPECT_EQ(std::string(e.what()).rfind("line " + std::to_string(r.line) + ": ", 0), 0U)
                << e.what();
        }
    }
}

}  // namespace
}  // namespace tunx::cli
