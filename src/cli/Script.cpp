#include "cli/Script.h"

#include <algorithm>
#include <array>
#include <set>
#include <sstream>
#include <string_view>
#include <utility>

#include "common/LineReader.h"
#include "monitor/scope/AcquisitionDisplay.h"
#include "monitor/scope/MathTrace.h"
#include "monitor/spectrum/SpectrumAverage.h"

namespace tunx::cli {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";  // UTF-8, as some editors start a file
constexpr const char* kBlanks = " \t";

// TEXT: the rest of the line after one space; surrounding double quotes are removed.
std::string unquote(const std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

bool isCount(const std::string& word) {
    if (word.empty() || word.size() > 9) {
        return false;
    }
    for (char c : word) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// A coordinate of the picture: an optional sign, digits, an optional fraction.
bool isCoordinate(const std::string& word) {
    std::size_t i = word.size() > 1 && (word[0] == '-' || word[0] == '+') ? 1 : 0;
    bool digits = false, point = false;
    for (; i < word.size(); ++i) {
        if (word[i] >= '0' && word[i] <= '9') {
            digits = true;
        } else if (word[i] == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits && word.size() <= 12;
}

// The acqmode entry an `acquire` line names ("normal", "average 16", "peak"); "" for none.
std::string acquireEntry(const std::string& rest) {
    if (rest == "normal") {
        return std::string(kAcqModeTexts.front());
    }
    if (rest == "peak") {
        return std::string(kPeakDetect);
    }
    const std::string entry = rest.starts_with("average ") ? "Average " + rest.substr(8) : "";
    const auto* found = std::find(kAcqModeTexts.begin(), kAcqModeTexts.end(), entry);
    return found != kAcqModeTexts.end() ? entry : std::string();
}

// The persistence entry a `persistence` line names ("off", "0.5", "2", "infinite"); "" for none.
std::string persistenceEntry(const std::string& rest) {
    constexpr std::array<std::string_view, kPersistenceTexts.size()> kWords = {"off", "0.5", "2",
                                                                               "infinite"};
    const auto* found = std::find(kWords.begin(), kWords.end(), rest);
    return found != kWords.end()
               ? std::string(kPersistenceTexts[static_cast<std::size_t>(found - kWords.begin())])
               : std::string();
}

void checkSim(const ScriptLine& l) {
    const auto& w = l.words;
    if (w.empty()) {
        throw ScriptError(l.number, "sim needs an instruction");
    }
    const std::string& what = w[0];
    if (what == "devices" || what == "show") {
        if (what == "show" && w.size() != 1) {
            throw ScriptError(l.number, "sim show takes no arguments");
        }
        return;
    }
    if (what == "nak" || what == "mute" || what == "write-error") {
        const bool plain = w.size() == 2 && isCount(w[1]);
        const bool delayed = w.size() == 4 && isCount(w[1]) && w[2] == "after" && isCount(w[3]);
        if (!plain && !delayed) {
            throw ScriptError(l.number, "expected: sim " + what + " N [after K]");
        }
        return;
    }
    if (what == "wire" || what == "dut" || what == "signal" || what == "noise" || what == "seed" ||
        what == "offset" || what == "cut") {
        return;  // the instrument checks their arguments when it takes them
    }
    if (what == "fail") {
        if (w.size() != 3 || !(w[1] == "devices" || w[1] == "open" || w[1] == "baud") ||
            !isCount(w[2])) {
            throw ScriptError(l.number, "expected: sim fail devices|open|baud STATUS");
        }
        return;
    }
    throw ScriptError(l.number, "unknown sim instruction '" + what + "'");
}

}  // namespace

std::vector<ScriptLine> parseScript(std::istream& in) {
    const std::set<std::string> withControlAndText = {"set", "choose", "check", "expect"};
    const std::set<std::string> withControl = {"click", "show", "state", "look"};
    // Lines whose TEXT runs to the end of the line, blanks included.
    const std::set<std::string> endsInText = {"set", "choose", "expect", "answer", "mark"};
    std::vector<ScriptLine> out;
    LineReader reader(in);
    bool started = false;  // a line that is not a sim line has been seen: the program runs
    int number = 0;
    while (auto line = reader.next()) {
        ++number;
        if (reader.lastEnd() == LineReader::LineEnd::Cut) {
            throw ScriptError(number, "longer than " + std::to_string(LineReader::kMaxLine) +
                                          " characters (is this a script?)");
        }
        std::string raw = std::move(*line);
        if (number == 1 && raw.starts_with(kByteOrderMark)) {
            raw.erase(0, kByteOrderMark.size());
        }
        raw.erase(0, raw.find_first_not_of(kBlanks));
        if (raw.empty() || raw[0] == '#') {
            continue;  // blank line or comment
        }
        ScriptLine l;
        l.number = number;
        const auto space = raw.find(' ');
        l.keyword = raw.substr(0, space);
        if (endsInText.count(l.keyword) == 0) {
            raw.erase(raw.find_last_not_of(kBlanks) + 1);  // blanks after a name or a number
        }
        const std::string rest = space >= raw.size() ? "" : raw.substr(space + 1);
        if (withControlAndText.count(l.keyword) != 0) {
            const auto gap = rest.find(' ');
            l.control = rest.substr(0, gap);
            if (l.control.empty() || gap == std::string::npos) {
                throw ScriptError(number, l.keyword + " needs a control and a text");
            }
            l.text = unquote(rest.substr(gap + 1));
            if (l.keyword == "check" && l.text != "0" && l.text != "1") {
                throw ScriptError(number, "check takes 0 or 1");
            }
        } else if (withControl.count(l.keyword) != 0 || l.keyword == "menu") {
            l.control = rest;
            if (l.control.empty() || l.control.find(' ') != std::string::npos) {
                throw ScriptError(number, l.keyword + " needs one name");
            }
        } else if (l.keyword == "answer" || l.keyword == "mark") {
            if (space == std::string::npos) {
                throw ScriptError(number, l.keyword + " needs a text");
            }
            l.text = unquote(rest);
        } else if (l.keyword == "reply") {
            if (rest != "yes" && rest != "no") {
                throw ScriptError(number, "reply takes yes or no");
            }
            l.text = rest;
        } else if (l.keyword == "lines" || l.keyword == "counterview") {
            if (rest != "on" && rest != "off") {
                throw ScriptError(number, l.keyword + " takes on or off");
            }
            l.text = rest;
        } else if (l.keyword == "ffthold") {
            if (rest != "on" && rest != "off") {
                throw ScriptError(number, "ffthold takes on or off");
            }
            l.text = rest;
        } else if (l.keyword == "fftaverage") {
            const auto* entry =
                std::find(kFftAverageTexts.begin() + 1, kFftAverageTexts.end(), rest);
            if (rest != "off" && entry == kFftAverageTexts.end()) {
                throw ScriptError(number, "fftaverage takes off, 2, 4, 8, 16, 32 or 64");
            }
            l.text = rest == "off" ? std::string(kFftAverageTexts[0]) : rest;
        } else if (l.keyword == "acquire") {
            l.text = acquireEntry(rest);
            if (l.text.empty()) {
                throw ScriptError(number,
                                  "acquire takes normal, average N (2, 4, ... 256) or peak");
            }
        } else if (l.keyword == "persistence") {
            l.text = persistenceEntry(rest);
            if (l.text.empty()) {
                throw ScriptError(number, "persistence takes off, 0.5, 2 or infinite");
            }
        } else if (l.keyword == "tab") {
            const auto gap = rest.find(' ');
            l.control = rest.substr(0, gap);
            l.text = gap == std::string::npos ? "" : rest.substr(gap + 1);
            // "00" is no tab either: the number counts, not its digits.
            if (l.control.empty() || !isCount(l.text) || std::stoi(l.text) == 0) {
                throw ScriptError(number, "expected: tab CONTROL N (N from 1)");
            }
        } else if (l.keyword == "mouse") {
            std::istringstream words(rest);
            for (std::string w; words >> w;) {
                l.words.push_back(w);
            }
            if (l.words.size() != 2 || !isCoordinate(l.words[0]) || !isCoordinate(l.words[1])) {
                throw ScriptError(number, "expected: mouse X Y");
            }
        } else if (l.keyword == "export") {
            const auto gap = rest.find(' ');
            l.control = rest.substr(0, gap);
            l.text = gap == std::string::npos ? "" : unquote(rest.substr(gap + 1));
            if ((l.control != "scope" && l.control != "sweep" && l.control != "spectrum") ||
                l.text.empty()) {
                throw ScriptError(number, "expected: export scope|sweep|spectrum FILE");
            }
        } else if (l.keyword == "picture") {
            if (space == std::string::npos || rest.empty()) {
                throw ScriptError(number, "picture needs a file name");
            }
            l.text = unquote(rest);
        } else if (l.keyword == "stats") {
            if (rest != "on" && rest != "off" && rest != "reset") {
                throw ScriptError(number, "stats takes on, off or reset");
            }
            l.text = rest;
        } else if (l.keyword == "autoset") {
            if (!rest.empty()) {
                throw ScriptError(number, "autoset takes nothing after it");
            }
        } else if (l.keyword == "tick") {
            if (!isCount(rest)) {
                throw ScriptError(number, "tick needs a count");
            }
            l.text = rest;
        } else if (l.keyword == "sim") {
            std::istringstream words(rest);
            for (std::string w; words >> w;) {
                l.words.push_back(w);
            }
            checkSim(l);
            if (started && (l.words[0] == "devices" || l.words[0] == "fail")) {
                throw ScriptError(number, "sim " + l.words[0] +
                                              " only applies before start-up, which comes with "
                                              "the first line that is not a sim line");
            }
        } else if (l.keyword == "defaults") {
            if (!rest.empty()) {
                throw ScriptError(number, "defaults takes nothing after it");
            }
        } else if (l.keyword == "math") {
            std::istringstream words(rest);
            for (std::string w; words >> w;) {
                l.words.push_back(w);
            }
            const bool known =
                !l.words.empty() && std::find(kMathModeWords.begin(), kMathModeWords.end(),
                                              l.words[0]) != kMathModeWords.end();
            if (!known || l.words.size() > 2 || (l.words[0] == "off" && l.words.size() != 1)) {
                throw ScriptError(number,
                                  "expected: math off, or math CH1+CH2|CH1-CH2|CH1xCH2 [V/DIV]");
            }
        } else if (l.keyword == "xy") {
            if (rest != "on" && rest != "off") {
                throw ScriptError(number, "xy takes on or off");
            }
            l.text = rest;
        } else if (l.keyword == "ref") {
            const auto gap = rest.find(' ');
            const std::string what = rest.substr(0, gap);
            const std::string after = gap == std::string::npos ? "" : rest.substr(gap + 1);
            const auto gap2 = after.find(' ');
            const std::string slot = after.substr(0, gap2);
            const std::string tail = gap2 == std::string::npos ? "" : after.substr(gap2 + 1);
            const bool ab = slot == "A" || slot == "B";
            const bool ok =
                (what == "save" && ab && (tail == "CH1" || tail == "CH2" || tail == "MATH")) ||
                (what == "load" && ab && !unquote(tail).empty()) ||
                (what == "clear" && (ab || slot == "all") && tail.empty());
            if (!ok) {
                throw ScriptError(number,
                                  "expected: ref save A|B CH1|CH2|MATH, ref load A|B FILE or "
                                  "ref clear A|B|all");
            }
            l.words = {what, slot};
            l.text = what == "load" ? unquote(tail) : tail;
        } else {
            throw ScriptError(number, "unknown command '" + l.keyword + "'");
        }
        // A file name ends at a NUL byte: the file written or read would be another than named.
        const bool path = l.keyword == "export" || l.keyword == "picture" ||
                          l.keyword == "answer" || l.keyword == "ref";
        if (path && l.text.find('\0') != std::string::npos) {
            throw ScriptError(number, "a file name cannot hold a NUL byte");
        }
        started = started || l.keyword != "sim";
        out.push_back(std::move(l));
    }
    return out;
}

}  // namespace tunx::cli
