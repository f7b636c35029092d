#include "remote/LineFramer.h"

#include <algorithm>

namespace tunx::remote {

namespace {
constexpr char kLineFeed = '\n';
constexpr char kReturn = '\r';
}  // namespace

void LineFramer::finishLine() {
    if (line_.size() > blockEnd_ && line_.back() == kReturn) {
        line_.pop_back();
    }
    // An empty line asks for nothing: it is not kept (a stream of line ends costs no memory).
    if (!line_.empty()) {
        ready_.push_back({std::move(line_), std::nullopt});
    }
    line_.clear();
    textBytes_ = 0;
    blockBytes_ = 0;
    blockEnd_ = 0;
    state_ = State::Text;
}

void LineFramer::overflow(const std::string& why) {
    ready_.push_back({{},
                      ErrorEntry{error::kTooMuchData.number,
                                 std::string(error::kTooMuchData.text) + ";" + why}});
    line_.clear();
    line_.shrink_to_fit();
    textBytes_ = 0;
    blockBytes_ = 0;
    blockEnd_ = 0;
}

// A byte of the line's text (outside blocks), in the state Text, Quote or Hash.
void LineFramer::text(char c) {
    if (c == kLineFeed) {
        finishLine();
        return;
    }
    if (++textBytes_ > limits_.textBytes) {
        overflow("a line longer than " + std::to_string(limits_.textBytes) + " bytes");
        state_ = State::SkipLine;
        return;
    }
    line_ += c;
    switch (state_) {
        case State::Quote:
            if (c == quote_) {
                state_ = State::Text;
            }
            break;
        case State::Hash:
            if (c >= '1' && c <= '9') {
                lengthDigits_ = c - '0';
                remaining_ = 0;
                state_ = State::BlockLength;
            } else {
                state_ = State::Text;  // "#H1F", or "#0": the rest of the line is its block
            }
            break;
        default:
            if (c == '"' || c == '\'') {
                quote_ = c;
                state_ = State::Quote;
            } else if (c == '#') {
                state_ = State::Hash;
            }
            break;
    }
}

void LineFramer::feed(std::span<const char> bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        switch (state_) {
            case State::BlockLength:
                if (c < '0' || c > '9') {
                    state_ = State::Text;  // not a length: the parser says so
                    continue;              // this byte again, as text
                }
                ++i;
                line_ += c;
                if (++textBytes_ > limits_.textBytes) {
                    overflow("a line longer than " + std::to_string(limits_.textBytes) + " bytes");
                    state_ = State::SkipLine;
                    break;
                }
                // Lengths beyond any limit stop growing: they are refused either way.
                remaining_ = std::min(remaining_ * 10 + static_cast<std::size_t>(c - '0'),
                                      limits_.blockBytes + 1);
                if (--lengthDigits_ == 0) {
                    if (remaining_ == 0) {
                        state_ = State::Text;
                    } else if (blockBytes_ + remaining_ > limits_.blockBytes) {
                        overflow("blocks longer than " + std::to_string(limits_.blockBytes) +
                                 " bytes");
                        state_ = State::SkipBlock;
                    } else {
                        blockBytes_ += remaining_;
                        state_ = State::BlockData;
                    }
                }
                break;
            case State::BlockData:
            case State::SkipBlock: {
                const std::size_t n = std::min(remaining_, bytes.size() - i);
                if (state_ == State::BlockData) {
                    line_.append(bytes.data() + i, n);
                }
                i += n;
                remaining_ -= n;
                if (remaining_ == 0) {
                    blockEnd_ = line_.size();
                    state_ = state_ == State::BlockData ? State::Text : State::SkipLine;
                }
                break;
            }
            case State::SkipLine:
                ++i;
                if (c == kLineFeed) {
                    state_ = State::Text;
                }
                break;
            default:
                ++i;
                text(c);
                break;
        }
    }
}

std::optional<LineFramer::Item> LineFramer::next() {
    if (ready_.empty()) {
        return std::nullopt;
    }
    Item item = std::move(ready_.front());
    ready_.pop_front();
    return item;
}

}  // namespace tunx::remote
