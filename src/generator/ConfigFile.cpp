// Saved configurations: the panel's entry controls as "name = value" lines, written from and
// read back into the generator window.
#include "generator/ConfigFile.h"

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "common/LineReader.h"
#include "common/Numbers.h"
#include "common/SafeSave.h"
#include "generator/Layout.h"
#include "generator/frmMain.h"

namespace tunx {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr const char* kCheckBoxSeparator = "=";
constexpr const char* kTextSeparator = " = ";
constexpr char kAssign = '=';
constexpr int kMaxCheckValue = 2;  // 0 clear, 1 ticked, 2 greyed

bool isEntryControl(const Control& c) {
    return c.kind == ControlKind::CheckBox || c.kind == ControlKind::TextBox ||
           c.kind == ControlKind::ComboBox;
}

std::string withoutCarriageReturns(std::string text) {
    std::erase(text, '\r');
    return text;
}

// The control name of a line: the text before its first "=", without surrounding spaces.
std::optional<std::string> nameOf(std::string_view line) {
    const auto first = line.find(kAssign);
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    return trim(line.substr(0, first));
}

// The value of a line: the text between its first and second "=", without surrounding spaces.
std::string valueOf(std::string_view line) {
    const auto first = line.find(kAssign);
    const auto second = line.find(kAssign, first + 1);
    const auto length =
        second == std::string_view::npos ? std::string_view::npos : second - first - 1;
    return trim(line.substr(first + 1, length));
}

// A check box value 0, 1 or 2 written as a number; anything else is not a check box value.
std::optional<int> checkValue(const std::string& text) {
    const auto number = parseNumber(text);
    if (!number) {
        return std::nullopt;
    }
    const double whole = roundHalfEven(*number);
    if (whole < 0 || whole > kMaxCheckValue) {
        return std::nullopt;
    }
    return static_cast<int>(whole);
}

// A file keeps a list's text without its surrounding spaces, so " V" comes back as "V": the
// entry of the list that reads the same without them is taken with its exact text.
void setListText(Control& list, const std::string& value) {
    list.text = value;
    list.listIndex = -1;
    for (const bool exact : {true, false}) {
        for (std::size_t i = 0; i < list.items.size(); ++i) {
            const std::string& item = list.items[i];
            if (exact ? item == value : trim(item) == value) {
                list.text = item;
                list.listIndex = static_cast<int>(i);
                return;
            }
        }
    }
}

// A disabled control takes its value as if enabled, and is disabled again afterwards (also
// when the side effect of the assignment fails), so loading leaves the layout as it was.
class EnabledForAssignment {
  public:
    explicit EnabledForAssignment(Control& c) : control_(c), wasEnabled_(c.enabled) {
        control_.enabled = true;
    }
    ~EnabledForAssignment() { control_.enabled = wasEnabled_; }
    EnabledForAssignment(const EnabledForAssignment&) = delete;
    EnabledForAssignment& operator=(const EnabledForAssignment&) = delete;

  private:
    Control& control_;
    bool wasEnabled_;
};

// Assigns a loaded value to an entry control with the side effect of a user's change: a
// check box runs its click action, a text box its change action, a list none.
void assign(Window& panel, Control& c, const std::string& value) {
    switch (c.kind) {
        case ControlKind::CheckBox: {
            const auto v = checkValue(value);
            if (!v) {
                return;
            }
            EnabledForAssignment enabled(c);
            c.value = *v;
            panel.fire(c, event::kClick);
            return;
        }
        case ControlKind::TextBox: {
            EnabledForAssignment enabled(c);
            c.text = value;
            panel.fire(c, event::kChange);
            return;
        }
        case ControlKind::ComboBox: {
            EnabledForAssignment enabled(c);
            setListText(c, value);
            return;
        }
        default:
            return;  // labels, buttons, frames and menus are not saved and not loaded
    }
}

// A line of the file and how it ended.
struct FileLine {
    std::string text;
    LineReader::LineEnd end;
};

// A configuration holds a line per entry control and the lines of its multi-line values: a
// file of far more lines is no configuration, and keeping them all would take memory out of
// all proportion to it (a few megabytes of bare line ends would take a gigabyte).
constexpr std::size_t kMaxConfigLines = 65536;

// Every line of the file, read before anything is applied; nullopt when the file cannot be
// opened, has a line too long or too many lines for a configuration, so such a file changes
// nothing.
std::optional<std::vector<FileLine>> readLines(const std::string& filename) {
    LineReader in(filename);
    if (!in.isOpen()) {
        return std::nullopt;
    }
    std::vector<FileLine> lines;
    while (auto line = in.next()) {
        if (in.lastEnd() == LineReader::LineEnd::Cut || lines.size() == kMaxConfigLines) {
            return std::nullopt;
        }
        lines.push_back({std::move(*line), in.lastEnd()});
    }
    return lines;
}

// The entry control a line names, or nullptr when it names none.
Control* entryNamed(Window& panel, std::string_view line) {
    const auto name = nameOf(line);
    Control* c = name ? panel.find(*name) : nullptr;
    return c != nullptr && isEntryControl(*c) ? c : nullptr;
}

// A multi-line value (the Limitations text) is saved with its line breaks as bare line
// feeds, while the lines of the file end in CR LF. In a file of that form the lines after
// such a value's first line, up to the next CR LF, are the rest of the value: they are
// joined back with CR LF, the box's own line break. A file whose first line ends in a bare
// line feed (edited elsewhere) has no such continuation: there every line stands alone and a
// multi-line value keeps its first line. A line that sets an entry control ends the value
// even before the next CR LF, so a file whose lines were partly re-ended with bare line feeds
// loses none of its settings to the value. `next` is the index of the line after the value's
// first line; it is moved past the rest.
std::string readContinuation(Window& panel, const std::vector<FileLine>& lines, std::size_t& next) {
    std::string rest;
    while (next < lines.size() && entryNamed(panel, lines[next].text) == nullptr) {
        const FileLine& more = lines[next++];
        if (rest.size() < LineReader::kMaxLine) {
            rest += kLineEnd;
            rest += more.text;
        }
        if (more.end != LineReader::LineEnd::Lf) {
            break;
        }
    }
    return rest;
}

}  // namespace

std::string ConfigText(const Window& panel) {
    std::string out;
    for (const auto& control : panel.controls()) {
        const Control& c = *control;
        if (!isEntryControl(c) || !c.enabled) {
            continue;
        }
        if (c.kind == ControlKind::CheckBox) {
            out += c.name + kCheckBoxSeparator + std::to_string(c.value);
        } else {
            out += c.name + kTextSeparator + withoutCarriageReturns(c.text);
        }
        out += kLineEnd;
    }
    return out;
}

bool SaveConfigs(const std::string& filename, const Window& panel) {
    return saveFileSafely(filename, ConfigText(panel));
}

bool LoadConfigs(const std::string& filename, frmMain& panel, SharedState& state, Ui& ui) {
    const auto lines = readLines(filename);
    if (!lines) {
        return false;
    }
    const bool crLfFile = !lines->empty() && lines->front().end == LineReader::LineEnd::CrLf;
    for (std::size_t next = 0; next < lines->size();) {
        const FileLine& fileLine = (*lines)[next++];
        if (fileLine.text.empty()) {
            continue;
        }
        Control* c = entryNamed(panel, fileLine.text);
        if (c == nullptr) {
            continue;
        }
        std::string line = fileLine.text;
        if (c->multiLine && crLfFile && fileLine.end == LineReader::LineEnd::Lf) {
            line += readContinuation(panel, *lines, next);
        }
        assign(panel, *c, valueOf(line));
        if (c == panel.ModeSelect.get()) {
            AdjustInterfaceOptions(panel, state, ui);
        }
    }
    return true;
}

void MenuBar_SaveCfg_Click(const Window& panel, Ui& ui) {
    const std::string filename = ui.FileDialog(FileDialogKind::Save, config::kSaveTitle,
                                               config::kFilter, config::kFilterIndex);
    if (filename.empty()) {
        return;
    }
    if (!SaveConfigs(filename, panel)) {
        ui.MsgBox(filename + config::kSaveFailed, MsgIcon::Exclamation);
    }
}

void MenuBar_LoadCfg_Click(frmMain& panel, SharedState& state, Ui& ui) {
    const std::string filename = ui.FileDialog(FileDialogKind::Open, config::kLoadTitle,
                                               config::kFilter, config::kFilterIndex);
    if (filename.empty()) {
        return;
    }
    const FileKind kind = fileKind(filename);
    if (kind != FileKind::Readable) {
        ui.MsgBox(kind == FileKind::Missing ? filename + config::kMissingFile
                                            : unreadableFileText(filename, kind),
                  MsgIcon::Exclamation);
        return;
    }
    if (!LoadConfigs(filename, panel, state, ui)) {
        ui.MsgBox(filename + config::kUnreadableFile, MsgIcon::Exclamation);
    }
}

void frmMain::MenuBar_SaveCfg_Click() {
    tunx::MenuBar_SaveCfg_Click(*this, ui_);
}

void frmMain::MenuBar_LoadCfg_Click() {
    tunx::MenuBar_LoadCfg_Click(*this, s_, ui_);
}

}  // namespace tunx
