#pragma once

#include <istream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tunx::cli {

// One line of a script, split into its keyword and arguments.
struct ScriptLine {
    int number = 0;  // 1-based line number in the script
    std::string keyword;
    std::string control;             // CONTROL or NAME argument
    std::string text;                // TEXT (quotes removed) or the rest of the line
    std::vector<std::string> words;  // sim lines: the words after "sim"
};

struct ScriptError : std::runtime_error {
    ScriptError(int line, const std::string& what)
        : std::runtime_error("line " + std::to_string(line) + ": " + what), lineNumber(line) {}
    int lineNumber;
};

// Reads a whole script; throws ScriptError naming the first line that cannot be understood.
std::vector<ScriptLine> parseScript(std::istream& in);

}  // namespace tunx::cli
