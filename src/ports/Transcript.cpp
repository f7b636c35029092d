#include "ports/Transcript.h"

namespace tunx {

void Transcript::write(std::string line) {
    if (out_ != nullptr) {
        *out_ << line << '\n';
        out_->flush();
    }
    lines_.push_back(std::move(line));
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
