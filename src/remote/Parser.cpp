#include "remote/Parser.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace tunx::remote {

namespace {

bool isLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
// White space: every control character and the space (a line end never reaches here).
bool isSpace(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u <= ' ';
}
char upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

class Reader {
  public:
    explicit Reader(std::string_view text) : s_(text) {}

    std::vector<Unit> line() {
        std::vector<Unit> units;
        std::vector<Node> path;  // the nodes above the last compound command's last one
        while (true) {
            skipSpace();
            if (atEnd()) {
                break;
            }
            if (peek() == ';') {  // an empty command: nothing to do
                ++i_;
                continue;
            }
            Unit unit;
            unit.header = header(path);
            unit.params = params();
            units.push_back(std::move(unit));
            skipSpace();
            if (atEnd()) {
                break;
            }
            if (peek() != ';') {
                throw ScpiError(error::kInvalidSeparator, near());
            }
            ++i_;
        }
        return units;
    }

  private:
    bool atEnd() const { return i_ >= s_.size(); }
    char peek(std::size_t ahead = 0) const {
        return i_ + ahead < s_.size() ? s_[i_ + ahead] : '\0';
    }
    void skipSpace() {
        while (!atEnd() && isSpace(peek())) {
            ++i_;
        }
    }
    // A few characters from where reading stopped, for the error's detail.
    std::string near() const {
        constexpr std::size_t kShown = 12;
        std::string shown;
        for (char c : s_.substr(i_, kShown)) {
            shown += std::isprint(static_cast<unsigned char>(c)) != 0 ? c : '?';
        }
        return shown.empty() ? "at the end" : "at '" + shown + "'";
    }

    // A mnemonic: a letter, then letters, digits and underscores; trailing digits are its suffix.
    Node mnemonic() {
        if (!isLetter(peek())) {
            throw ScpiError(error::kSyntax, near());
        }
        const std::size_t start = i_;
        while (!atEnd() && (isLetter(peek()) || isDigit(peek()) || peek() == '_')) {
            ++i_;
        }
        std::string_view word = s_.substr(start, i_ - start);
        if (word.size() > kMaxMnemonic) {
            throw ScpiError(error::kMnemonicTooLong, std::string(word.substr(0, kMaxMnemonic)));
        }
        std::size_t digits = word.size();
        while (digits > 0 && isDigit(word[digits - 1])) {
            --digits;
        }
        Node node;
        for (char c : word.substr(0, digits)) {
            node.mnemonic += upper(c);
        }
        if (digits < word.size()) {
            int n = 0;
            const auto [end, ec] =
                std::from_chars(word.data() + digits, word.data() + word.size(), n);
            if (ec != std::errc{} || end != word.data() + word.size()) {
                throw ScpiError(error::kHeaderSuffix, std::string(word));
            }
            node.suffix = n;
        }
        return node;
    }

    Header header(std::vector<Node>& path) {
        Header h;
        if (peek() == '*') {
            ++i_;
            h.common = true;
            const Node n = mnemonic();
            if (n.suffix) {
                throw ScpiError(error::kUndefinedHeader, "*" + n.mnemonic);
            }
            h.nodes.push_back(n);
        } else {
            bool fromRoot = false;
            if (peek() == ':') {
                ++i_;
                fromRoot = true;
            }
            std::vector<Node> nodes = fromRoot ? std::vector<Node>{} : path;
            nodes.push_back(mnemonic());
            while (peek() == ':') {
                ++i_;
                nodes.push_back(mnemonic());
            }
            path.assign(nodes.begin(), nodes.end() - 1);
            h.nodes = std::move(nodes);
        }
        if (peek() == '?') {
            ++i_;
            h.query = true;
        }
        if (!atEnd() && !isSpace(peek()) && peek() != ';') {
            throw ScpiError(error::kSyntax, near());
        }
        return h;
    }

    std::vector<Param> params() {
        std::vector<Param> out;
        skipSpace();
        if (atEnd() || peek() == ';') {
            return out;
        }
        while (true) {
            skipSpace();
            if (atEnd() || peek() == ',' || peek() == ';') {
                throw ScpiError(error::kMissingParameter, near());
            }
            out.push_back(param());
            skipSpace();
            if (peek() != ',') {
                return out;
            }
            ++i_;
        }
    }

    Param param() {
        const char c = peek();
        if (c == '"' || c == '\'') {
            return quoted();
        }
        if (c == '#') {
            return isDigit(peek(1)) ? block() : based();
        }
        if (c == '+' || c == '-' || c == '.' || isDigit(c)) {
            return decimal();
        }
        if (isLetter(c)) {
            return characters();
        }
        throw ScpiError(error::kInvalidCharacter, near());
    }

    Param quoted() {
        const char quote = peek();
        ++i_;
        Param p;
        p.kind = Param::Kind::String;
        while (true) {
            if (atEnd()) {
                throw ScpiError(error::kInvalidString, "no closing quote");
            }
            const char c = peek();
            ++i_;
            if (c == quote) {
                if (peek() != quote) {
                    return p;
                }
                ++i_;
            }
            p.text += c;
        }
    }

    Param characters() {
        const std::size_t start = i_;
        while (!atEnd() && (isLetter(peek()) || isDigit(peek()) || peek() == '_')) {
            ++i_;
        }
        Param p;
        p.kind = Param::Kind::Character;
        for (char c : s_.substr(start, i_ - start)) {
            p.text += upper(c);
        }
        if (p.text.size() > kMaxMnemonic) {
            throw ScpiError(error::kCharacterDataTooLong, p.text.substr(0, kMaxMnemonic));
        }
        return p;
    }

    // #H (hexadecimal), #Q (octal) and #B (binary) numbers.
    Param based() {
        ++i_;
        const char kind = upper(peek());
        const int base = kind == 'H' ? 16 : kind == 'Q' ? 8 : kind == 'B' ? 2 : 0;
        if (base == 0) {
            throw ScpiError(error::kNumericData, near());
        }
        ++i_;
        const std::size_t start = i_;
        while (!atEnd() && std::isalnum(static_cast<unsigned char>(peek())) != 0) {
            ++i_;
        }
        const std::string_view digits = s_.substr(start, i_ - start);
        std::uint64_t value = 0;
        const auto [end, ec] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
        if (digits.empty() || ec != std::errc{} || end != digits.data() + digits.size()) {
            throw ScpiError(error::kNumericData, std::string(s_.substr(start - 2, i_ - start + 2)));
        }
        Param p;
        p.text = std::string(s_.substr(start - 2, i_ - start + 2));
        p.number = static_cast<double>(value);
        return p;
    }

    Param decimal() {
        const std::size_t start = i_;
        if (peek() == '+' || peek() == '-') {
            ++i_;
        }
        std::size_t digits = 0;
        while (isDigit(peek())) {
            ++i_;
            ++digits;
        }
        if (peek() == '.') {
            ++i_;
            while (isDigit(peek())) {
                ++i_;
                ++digits;
            }
        }
        if (digits == 0) {
            throw ScpiError(error::kNumericData, near());
        }
        // An exponent: E, optional white space, a sign and digits.
        if (upper(peek()) == 'E') {
            std::size_t j = i_ + 1;
            while (j < s_.size() && s_[j] == ' ') {
                ++j;
            }
            if (j < s_.size() && (s_[j] == '+' || s_[j] == '-')) {
                ++j;
            }
            if (j < s_.size() && isDigit(s_[j])) {
                while (j < s_.size() && isDigit(s_[j])) {
                    ++j;
                }
                i_ = j;
            }
        }
        Param p;
        std::string number;
        for (char c : s_.substr(start, i_ - start)) {
            if (c != ' ') {
                number += c;
            }
        }
        p.text = number;
        if (number[0] == '+') {
            number.erase(0, 1);
        }
        double value = 0;
        const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
        if (ec != std::errc{} || end != number.data() + number.size() || !std::isfinite(value)) {
            throw ScpiError(error::kNumericData, "cannot read " + p.text);
        }
        p.number = value;
        // A unit: white space, then letters (and '/' for units such as V/S).
        std::size_t j = i_;
        while (j < s_.size() && isSpace(s_[j])) {
            ++j;
        }
        if (j < s_.size() && isLetter(s_[j])) {
            i_ = j;
            while (!atEnd() && (isLetter(peek()) || peek() == '/')) {
                p.suffix += upper(peek());
                ++i_;
            }
            if (p.suffix.size() > kMaxMnemonic) {
                throw ScpiError(error::kInvalidSuffix, p.suffix.substr(0, kMaxMnemonic));
            }
        }
        return p;
    }

    // #<n><length, n digits><length bytes>; #0<bytes to the end of the line>.
    Param block() {
        ++i_;
        const int n = peek() - '0';
        ++i_;
        Param p;
        p.kind = Param::Kind::Block;
        if (n == 0) {
            p.text = std::string(s_.substr(i_));
            i_ = s_.size();
            return p;
        }
        if (s_.size() - i_ < static_cast<std::size_t>(n)) {
            throw ScpiError(error::kInvalidBlock, "length cut short");
        }
        std::size_t length = 0;
        for (int k = 0; k < n; ++k) {
            const char c = peek();
            if (!isDigit(c)) {
                throw ScpiError(error::kInvalidBlock, "length is not a number");
            }
            length = length * 10 + static_cast<std::size_t>(c - '0');
            ++i_;
        }
        if (s_.size() - i_ < length) {
            throw ScpiError(error::kInvalidBlock, "fewer bytes than its length");
        }
        p.text = std::string(s_.substr(i_, length));
        i_ += length;
        return p;
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

}  // namespace

std::vector<Unit> parseLine(std::string_view line) {
    return Reader(line).line();
}

}  // namespace tunx::remote
