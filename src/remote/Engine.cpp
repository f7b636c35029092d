#include "remote/Engine.h"

#include <exception>

#include "remote/Panel.h"

namespace tunx::remote {

Engine::Engine(Program& program, RemoteState& state, Runner run)
    : program_(program), state_(state), run_(std::move(run)), table_(allCommands()) {}

namespace {
// What a waiting line costs beside its text, so that many short lines count too.
constexpr std::size_t kLineOverhead = 64;
}  // namespace

void Engine::take(LineFramer::Item item) {
    queuedBytes_ += item.line.size() + kLineOverhead;
    lines_.push_back(std::move(item));
}

void Engine::clientLeft() {
    leaving_ = true;
    work();
    leaving_ = false;
    lines_.clear();
    queuedBytes_ = 0;
    current_.reset();
}

void Engine::queue(const ErrorEntry& e) {
    run_([&] { state_.status.push(e); });
}

Engine::Line Engine::prepare(const std::string& text) const {
    Line line;
    for (Unit& unit : parseLine(text)) {
        const std::optional<Match> match = table_.find(unit.header);
        if (!match) {
            throw ScpiError(error::kUndefinedHeader);
        }
        const Count count =
            unit.header.query ? match->command->queryParams : match->command->setParams;
        const auto given = static_cast<int>(unit.params.size());
        if (given < count.min) {
            throw ScpiError(error::kMissingParameter);
        }
        if (given > count.max) {
            throw ScpiError(error::kParameterNotAllowed);
        }
        line.steps.push_back(
            {match->command, unit.header.query, match->suffixes, std::move(unit.params)});
    }
    return line;
}

bool Engine::carryOn(Line& line, std::string& out) {
    while (line.next < line.steps.size()) {
        const Step& step = line.steps[line.next];
        bool ready = true;
        run_([&] {
            if (step.command->waits && !operationsComplete(program_, state_)) {
                ready = false;
                return;
            }
            Call call{program_, state_, step.params, step.suffixes, {}};
            try {
                (step.query ? step.command->query : step.command->set)(call);
                if (step.query) {
                    line.replies.push_back(std::move(call.reply));
                }
            } catch (const ScpiError& e) {
                state_.status.push(e.entry());
            } catch (const std::exception& e) {
                state_.status.push({error::kExecution.number, e.what()});
            }
            opcWatched_ = state_.opcArmed;
        });
        if (!ready) {
            return false;
        }
        ++line.next;
    }
    if (!line.replies.empty()) {
        for (std::size_t i = 0; i < line.replies.size(); ++i) {
            if (i > 0) {
                out += ';';
            }
            out += line.replies[i];
        }
        out += '\n';
    }
    return true;
}

void Engine::checkOperationComplete() {
    run_([&] {
        if (state_.opcArmed && operationsComplete(program_, state_)) {
            state_.opcArmed = false;
            state_.status.setEvent(esr::kOperationComplete);
        }
        opcWatched_ = state_.opcArmed;
    });
}

std::string Engine::work() {
    std::string out;
    while (true) {
        if (current_) {
            if (!carryOn(*current_, out)) {
                if (leaving_) {
                    current_.reset();
                    lines_.clear();
                    queuedBytes_ = 0;
                }
                break;
            }
            current_.reset();
            continue;
        }
        if (lines_.empty()) {
            break;
        }
        LineFramer::Item item = std::move(lines_.front());
        lines_.pop_front();
        queuedBytes_ -= item.line.size() + kLineOverhead;
        if (item.error) {
            queue(*item.error);
            continue;
        }
        try {
            current_ = prepare(item.line);
        } catch (const ScpiError& e) {
            queue(e.entry());
        }
    }
    // Only an armed *OPC (as the last command left it) needs a look at the program.
    if (opcWatched_) {
        checkOperationComplete();
    }
    return out;
}

}  // namespace tunx::remote
