#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "program/Program.h"
#include "remote/Parser.h"
#include "remote/RemoteState.h"

namespace tunx::remote {

// What a command's handler works on: the program, the remote state, the command as written
// and, for a query, the answer it gives. Handlers run on the program's thread.
struct Call {
    Program& program;
    RemoteState& state;
    const std::vector<Param>& params;
    std::vector<int> suffixes;  // each numbered node's number, 1 where none was written
    std::string reply;
};

using Handler = void (*)(Call&);

// How many parameters a form of a command takes.
struct Count {
    int min = 0;
    int max = 0;
};

// One command: its header pattern and its two forms.
//
// The pattern is written as the standard writes headers: the short form in upper case, the
// rest of the long form in lower case ("FREQuency"); a node in brackets may be left out
// ("OUTPut[:STATe]", "[SOURce]:FREQuency"); '#' after a node takes a number ("CHANnel#").
// Common commands are written with their star ("*IDN").
struct Command {
    std::string_view pattern;
    Handler set = nullptr;  // the command form
    Count setParams{1, 1};
    Handler query = nullptr;  // the query form
    Count queryParams{0, 0};
    bool waits = false;  // runs only once no operation is pending (*OPC?, *WAI); a command
                         // whose two forms differ in this is written as two entries
};

// A command of the table matched to a header.
struct Match {
    const Command* command = nullptr;
    std::vector<int> suffixes;
};

// One node of a pattern, as the table matches it.
struct PatternNode {
    std::string shortForm;  // upper case
    std::string longForm;   // upper case
    bool optional = false;
    bool numbered = false;
};

// The commands, with their patterns read once.
class CommandTable {
  public:
    explicit CommandTable(std::vector<Command> commands);

    // The command whose pattern the header matches and that has the header's form (command or
    // query), with the numbers its numbered nodes carry; nothing when none matches.
    std::optional<Match> find(const Header& header) const;

    const std::vector<Command>& commands() const { return commands_; }

  private:
    std::vector<Command> commands_;
    std::vector<std::vector<PatternNode>> patterns_;
};

// The commands of each topic.
std::vector<Command> standardCommands();
std::vector<Command> generatorCommands();
std::vector<Command> monitorCommands();
std::vector<Command> dataCommands();
std::vector<Command> controlCommands();
// All of them.
std::vector<Command> allCommands();

}  // namespace tunx::remote
