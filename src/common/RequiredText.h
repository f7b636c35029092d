#pragma once

#include <span>
#include <string_view>

namespace tunx {

// A text that a record must be given: a designated initializer cannot leave it out.
struct RequiredText {
    constexpr RequiredText(const char* text) : text(text) {}  // NOLINT: written as a plain text
    const char* text;
};

// The record of a list whose text() is `text`, compared exactly; null when none is.
template <typename Record>
const Record* findByText(std::span<const Record* const> records, std::string_view text) {
    for (const Record* r : records) {
        if (text == r->text()) {
            return r;
        }
    }
    return nullptr;
}

}  // namespace tunx
