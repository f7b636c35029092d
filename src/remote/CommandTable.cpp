#include "remote/CommandTable.h"

#include <cctype>
#include <optional>

namespace tunx::remote {

namespace {

std::vector<PatternNode> nodesOf(std::string_view pattern) {
    std::vector<PatternNode> nodes;
    if (!pattern.empty() && pattern[0] == '*') {
        pattern.remove_prefix(1);
    }
    bool optional = false;
    PatternNode node;
    auto finish = [&] {
        if (!node.longForm.empty()) {
            node.optional = optional;
            nodes.push_back(node);
        }
        node = {};
    };
    for (char c : pattern) {
        if (c == '[') {
            finish();
            optional = true;
        } else if (c == ']') {
            finish();
            optional = false;
        } else if (c == ':') {
            finish();
        } else if (c == '#') {
            node.numbered = true;
        } else {
            const char u = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            node.longForm += u;
            if (std::isupper(static_cast<unsigned char>(c)) != 0 ||
                std::isdigit(static_cast<unsigned char>(c)) != 0) {
                node.shortForm += u;
            }
        }
    }
    finish();
    return nodes;
}

bool nodeMatches(const PatternNode& p, const Node& n) {
    if (n.suffix && !p.numbered) {
        return false;
    }
    return n.mnemonic == p.shortForm || n.mnemonic == p.longForm;
}

// Matches header nodes from `h` against pattern nodes from `p`; optional pattern nodes may be
// skipped. Fills in the numbered nodes' numbers.
bool matchFrom(const std::vector<PatternNode>& pattern, std::size_t p,
               const std::vector<Node>& header, std::size_t h, std::vector<int>& suffixes) {
    if (p == pattern.size()) {
        return h == header.size();
    }
    const PatternNode& node = pattern[p];
    if (h < header.size() && nodeMatches(node, header[h])) {
        const std::size_t before = suffixes.size();
        if (node.numbered) {
            suffixes.push_back(header[h].suffix.value_or(1));
        }
        if (matchFrom(pattern, p + 1, header, h + 1, suffixes)) {
            return true;
        }
        suffixes.resize(before);
    }
    if (node.optional) {
        const std::size_t before = suffixes.size();
        if (node.numbered) {
            suffixes.push_back(1);
        }
        if (matchFrom(pattern, p + 1, header, h, suffixes)) {
            return true;
        }
        suffixes.resize(before);
    }
    return false;
}

}  // namespace

CommandTable::CommandTable(std::vector<Command> commands) : commands_(std::move(commands)) {
    patterns_.reserve(commands_.size());
    for (const Command& c : commands_) {
        patterns_.push_back(nodesOf(c.pattern));
    }
}

std::optional<Match> CommandTable::find(const Header& header) const {
    for (std::size_t i = 0; i < commands_.size(); ++i) {
        const Command& command = commands_[i];
        const bool common = !command.pattern.empty() && command.pattern[0] == '*';
        const bool hasForm = header.query ? command.query != nullptr : command.set != nullptr;
        if (common != header.common || !hasForm) {
            continue;
        }
        std::vector<int> suffixes;
        if (matchFrom(patterns_[i], 0, header.nodes, 0, suffixes)) {
            return Match{&command, std::move(suffixes)};
        }
    }
    return std::nullopt;
}

std::vector<Command> allCommands() {
    std::vector<Command> all;
    for (const auto& part : {standardCommands(), generatorCommands(), monitorCommands(),
                             dataCommands(), controlCommands()}) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

}  // namespace tunx::remote
