// The remote control's entry: a client's bytes, cut into lines, read and carried out.
#include <algorithm>
#include <exception>

#include "common/RuntimeError.h"
#include "fuzz/Entries.h"
#include "remote/Engine.h"
#include "remote/LineFramer.h"
#include "remote/QueueUi.h"
#include "wiring/Wiring.h"

namespace tunx::fuzz {

namespace {

constexpr std::string_view kUnexpectedError = "Unexpected error: ";
// Ticks of the monitor's timer while a line waits: enough for records and readings, a cap on
// sweeps.
constexpr int kMaxTicks = 100;
constexpr int kLowestError = -499;
constexpr int kHighestError = -100;

}  // namespace

Finding scpi(std::span<const std::uint8_t> data, const std::string& installDir) {
    remote::RemoteState state;
    remote::QueueUi ui(state.status);
    Wiring wiring({.simulate = true, .fast = true, .installDir = installDir}, ui);
    Program& program = wiring.program();
    program.start();
    remote::Engine engine(program, state, [](const std::function<void()>& f) { f(); });
    remote::LineFramer framer;
    std::string replies;
    std::vector<remote::ErrorEntry> errors;
    try {
        // In two pieces, so that lines and blocks also cross the end of what arrived.
        const std::span<const char> bytes(reinterpret_cast<const char*>(data.data()), data.size());
        const std::size_t cut = std::min<std::size_t>(bytes.size(), 1 + bytes.size() / 3);
        for (const std::span<const char> piece : {bytes.first(cut), bytes.subspan(cut)}) {
            framer.feed(piece);
            while (std::optional<remote::LineFramer::Item> item = framer.next()) {
                engine.take(std::move(*item));
            }
            replies += engine.work();
            for (int i = 0; i < kMaxTicks && engine.busy() && !program.ended(); ++i) {
                program.tick();
                replies += engine.work();
            }
            while (state.status.count() > 0) {
                errors.push_back(state.status.pop());
            }
        }
    } catch (const std::exception& e) {
        return std::string("exception escaped: ") + e.what();
    }
    if (!replies.empty() && replies.back() != '\n') {
        return "a reply without its line end";
    }
    for (const remote::ErrorEntry& e : errors) {
        if (e.text.starts_with(kUnexpectedError)) {
            return "unexpected failure: " + e.text;
        }
        if (e.number < kLowestError || e.number > kHighestError) {
            return "an error number outside the standard's: " + std::to_string(e.number);
        }
    }
    return std::nullopt;
}

}  // namespace tunx::fuzz
