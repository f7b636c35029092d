#include "ports/Transcript.h"

#include <array>
#include <charconv>

namespace tunx {

Transcript::~Transcript() {
    flush();
}

void Transcript::write(std::string line) {
    // A transcript that goes out as it happens is not kept as well: a long run stays small.
    if (out_ != nullptr) {
        *out_ << line << '\n';
        return;
    }
    lines_.push_back(std::move(line));
}

void Transcript::flush() {
    if (out_ != nullptr) {
        out_->flush();
    }
}

std::string Transcript::escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += "\\n";
            ++i;
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string Transcript::coordinate(double value) {
    constexpr int kDecimals = 3;
    std::array<char, 64> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed, kDecimals);
    if (error != std::errc{}) {
        return std::to_string(value);  // beyond any picture; written all the same
    }
    std::string text(buffer.data(), end);
    if (const auto point = text.find('.'); point != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    return text == "-0" ? "0" : text;
}

std::string Transcript::bytes(std::span<const std::uint8_t> data) {
    std::string out;
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (i > 0) {
            out += ' ';
        }
        out += std::to_string(data[i]);
    }
    return out;
}

}  // namespace tunx
