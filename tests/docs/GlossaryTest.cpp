// docs/GLOSSARY.md, the names this program keeps from the instrument's own program. Its tables
// of windows, controls and monitor run states are generated from the program's own tables, each
// row keeping the meaning written in the file; the procedures and shared values below them are
// written by hand, and each of their names must still stand in the code. With
// TUNX_UPDATE_GLOSSARY=1 the file is rewritten instead of compared (`make glossary`).
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "monitor/Modes.h"
#include "ports/HeadlessUi.h"
#include "support/Rig.h"
#include "wiring/Wiring.h"

namespace tunx::test {
namespace {

const std::string kGlossaryPath = std::string(TUNX_SOURCE_DIR) + "docs/GLOSSARY.md";
// Where the written-by-hand part of the file starts.
const std::string kHandWritten = "## Procedures";

const char* const kIntroduction =
    "# Glossary\n"
    "\n"
    "The names this program keeps from the instrument's own program: its windows, their "
    "controls,\n"
    "the monitor's run states, its procedures and its shared values, each with what it is. The "
    "code\n"
    "uses these names (`Frek`, `RefreshBtn_Click`, `sgaten`) so that the program's design "
    "reads\n"
    "straight onto it; the captions are what the user sees.\n"
    "\n"
    "The tables of windows, controls and run states are generated from the program's own "
    "tables\n"
    "(`make glossary` rewrites them, keeping each meaning); a test fails when they drift, or "
    "when a\n"
    "procedure or shared value below no longer stands in the code.\n";

// Meanings as the file gives them: section heading, then name (the first cell).
using Meanings = std::map<std::string, std::map<std::string, std::string>>;

std::vector<std::string> cellsOf(const std::string& row) {
    std::vector<std::string> cells;
    std::string cell;
    for (std::size_t i = 1; i < row.size(); ++i) {
        if (row[i] == '\\' && i + 1 < row.size() && row[i + 1] == '|') {
            cell += "\\|";
            ++i;
        } else if (row[i] == '|') {
            cells.push_back(cell.size() >= 2 ? cell.substr(1, cell.size() - 2) : "");
            cell.clear();
        } else {
            cell += row[i];
        }
    }
    return cells;
}

Meanings meaningsIn(const std::string& text) {
    Meanings out;
    std::istringstream in(text);
    std::string section;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("## ")) {
            section = line;
        } else if (line.starts_with("| `") || line.starts_with("| \"")) {
            const auto cells = cellsOf(line);
            out[section][cells.front()] = cells.back();
        }
    }
    return out;
}

std::string cell(std::string text) {
    if (const auto cut = text.find_first_of("\r\n"); cut != std::string::npos) {
        text = text.substr(0, cut) + " …";
    }
    return std::regex_replace(text, std::regex("\\|"), "\\|");
}

const char* kindOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::TextBox:
            return "text box";
        case ControlKind::ComboBox:
            return "list";
        case ControlKind::CheckBox:
            return "check box";
        case ControlKind::Label:
            return "label";
        case ControlKind::Frame:
            return "frame";
        case ControlKind::Button:
            return "button";
        case ControlKind::Slider:
            return "slider";
        case ControlKind::TabStrip:
            return "tab strip";
        case ControlKind::Picture:
            return "picture";
        case ControlKind::Menu:
            return "menu";
        case ControlKind::Timer:
            return "timer";
        case ControlKind::Progress:
            break;
    }
    return "progress bar";
}

// What the user reads on the control at start-up: a caption, a first text, or tab captions.
std::string shown(const Control& c) {
    if (c.kind == ControlKind::TabStrip) {
        std::string tabs;
        for (const std::string& tab : c.items) {
            tabs += (tabs.empty() ? "\"" : ", \"") + tab + "\"";
        }
        return cell(tabs);
    }
    if (c.kind == ControlKind::Slider || c.kind == ControlKind::Timer ||
        c.kind == ControlKind::Picture || c.kind == ControlKind::Progress || c.text.empty()) {
        return "";
    }
    return "\"" + cell(c.text) + "\"";
}

// The events of a control that have handlers ("Click, Change"); the window's own handlers
// belong to no control.
std::string eventsOf(const Window& w, const std::string& prefix, bool windowOwn) {
    std::string out;
    for (const std::string& handler : w.handlerNames()) {
        const auto split = handler.rfind('_');
        const std::string owner = handler.substr(0, split);
        const bool own = w.find(owner) == nullptr;
        if ((windowOwn && own) || (!windowOwn && owner == prefix)) {
            out += (out.empty() ? "" : ", ") + (windowOwn ? handler : handler.substr(split + 1));
        }
    }
    return out;
}

std::string row(const Meanings& m, const std::string& section, const std::string& name,
                const std::vector<std::string>& middle) {
    std::string out = "| " + name + " |";
    for (const std::string& c : middle) {
        out += " " + c + " |";
    }
    const auto s = m.find(section);
    const bool known = s != m.end() && s->second.contains(name);
    return out + " " + (known ? s->second.at(name) : std::string()) + " |\n";
}

std::string generated(const Meanings& m, Program& program, const std::string& handWritten) {
    std::string out = std::string(kIntroduction) + "\n";
    const std::vector<const Window*> windows = {&program.generator(), &program.monitor()};

    const std::string windowsSection = "## Windows";
    out += windowsSection + "\n\n| Name | Caption | Handlers | Meaning |\n|---|---|---|---|\n";
    for (const Window* w : windows) {
        out += row(m, windowsSection, "`" + w->name() + "`",
                   {"\"" + w->caption() + "\"", eventsOf(*w, "", true)});
    }
    for (const Window* w : windows) {
        const std::string section = "## Controls of `" + w->name() + "`";
        out += "\n" + section + "\n\nIn the window's control order.\n\n";
        out +=
            "| Name | Kind | Caption or first text | Events | Meaning |\n|---|---|---|---|---|\n";
        for (const auto& c : w->controls()) {
            out += row(m, section, "`" + c->name + "`",
                       {kindOf(c->kind), shown(*c), eventsOf(*w, c->name, false)});
        }
    }
    const std::string states = "## Monitor run states";
    out += "\n" + states + "\n\nThe texts of `monstate`, which the timer's tick dispatches on.\n\n";
    out += "| Text | Meaning |\n|---|---|\n";
    for (const std::string_view state : runstate::kAll) {
        out += row(m, states, "\"" + std::string(state) + "\"", {});
    }
    return out + "\n" + handWritten;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Every word (identifier) of the program's source files.
std::set<std::string> wordsOfTheCode() {
    std::set<std::string> words;
    for (const auto& e :
         std::filesystem::recursive_directory_iterator(std::string(TUNX_SOURCE_DIR) + "src")) {
        if (e.path().extension() != ".cpp" && e.path().extension() != ".h") {
            continue;
        }
        std::string word;
        for (const char c : readAll(e.path().string()) + "\n") {
            if (std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_') {
                word += c;
            } else if (!word.empty()) {
                words.insert(word);
                word.clear();
            }
        }
    }
    return words;
}

TEST(Glossary, TablesFollowTheProgramAndEveryNameHasAMeaning) {
    const std::string file = readAll(kGlossaryPath);
    const auto cut = file.find(kHandWritten);
    ASSERT_NE(cut, std::string::npos) << kGlossaryPath << " has no \"" << kHandWritten << "\"";
    const Meanings meanings = meaningsIn(file);

    HeadlessUi ui;
    Wiring wiring({.simulate = true, .fast = true, .installDir = ""}, ui);
    const std::string expected = generated(meanings, wiring.program(), file.substr(cut));
    if (std::getenv("TUNX_UPDATE_GLOSSARY") != nullptr) {
        std::ofstream(kGlossaryPath, std::ios::binary | std::ios::trunc) << expected;
    } else {
        EXPECT_EQ(file, expected) << "the glossary is out of date: make glossary";
    }

    for (const auto& [section, rows] : meaningsIn(expected)) {
        for (const auto& [name, meaning] : rows) {
            EXPECT_FALSE(meaning.empty()) << section << ": " << name << " has no meaning";
        }
    }
    const std::set<std::string> code = wordsOfTheCode();
    for (const auto& [section, rows] : meaningsIn(file.substr(cut))) {
        for (const auto& [name, meaning] : rows) {
            const std::string word = name.substr(1, name.size() - 2);  // without its backticks
            EXPECT_TRUE(code.contains(word))
                << section << ": " << word << " stands nowhere in src/";
        }
    }
}

}  // namespace
}  // namespace tunx::test
