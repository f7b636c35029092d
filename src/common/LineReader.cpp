#include "common/LineReader.h"

namespace tunx {

LineReader::LineReader(const std::string& path) : in_(path, std::ios::binary) {}

bool LineReader::atEnd() {
    return !in_.is_open() || in_.peek() == std::char_traits<char>::eof();
}

std::optional<std::string> LineReader::next() {
    if (atEnd()) {
        return std::nullopt;
    }
    std::string line;
    lastEnd_ = LineEnd::None;
    for (;;) {
        const int c = in_.get();
        if (c == std::char_traits<char>::eof()) {
            break;
        }
        if (c == '\n') {
            lastEnd_ = LineEnd::Lf;
            break;
        }
        if (c == '\r') {
            lastEnd_ = LineEnd::Cr;
            if (in_.peek() == '\n') {
                in_.get();
                lastEnd_ = LineEnd::CrLf;
            }
            break;
        }
        if (line.size() < kMaxLine) {
            line += static_cast<char>(c);
        }
    }
    return line;
}

}  // namespace tunx
