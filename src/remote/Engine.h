#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "program/Program.h"
#include "remote/CommandTable.h"
#include "remote/LineFramer.h"
#include "remote/RemoteState.h"

namespace tunx::remote {

// Carries out the lines of one client in order. Each command runs through `run`, the one door
// to the program: "run this on the program, in order with the user's actions, and return after
// it ran" (a direct call without windows; the core's thread beside the windows). Everything the
// engine touches of the program and of the remote state it touches inside `run`.
//
// A line is read whole before any of it runs: a syntax error or an unknown header puts its
// error into the queue and nothing of the line runs. Then its commands run one after another;
// one that fails queues its error and the rest go on. The answers of a line's queries go out
// together, separated by ';', with one line feed. *OPC? and *WAI hold the line (and the lines
// after it) until no operation is pending; meanwhile `work` returns at once, so the caller
// keeps the program's timer running and calls again.
class Engine {
  public:
    using Runner = std::function<void(const std::function<void()>&)>;

    Engine(Program& program, RemoteState& state, Runner run);

    // A line from the client, or the error that stands for a line too long to keep.
    void take(LineFramer::Item item);
    // Carries out what can be carried out now; the bytes to send to the client.
    std::string work();
    // A line waits for a pending operation.
    bool waiting() const { return current_.has_value(); }
    // Lines are queued or one is under way.
    bool busy() const { return current_.has_value() || !lines_.empty(); }
    // work() has something to do even without new input: a line waits, or *OPC waits to set
    // its bit.
    bool watching() const { return busy() || opcWatched_; }
    // The bytes of the lines that wait their turn, with what each line costs beside them.
    std::size_t queuedBytes() const { return queuedBytes_; }
    // The client left: the lines it finished sending still run now, up to the first that would
    // wait; that one and the rest are dropped, and so are the answers (the error queue stays).
    void clientLeft();

  private:
    struct Step {
        const Command* command = nullptr;
        bool query = false;
        std::vector<int> suffixes;
        std::vector<Param> params;
    };
    struct Line {
        std::vector<Step> steps;
        std::size_t next = 0;
        std::vector<std::string> replies;
    };

    // The line's commands looked up and counted; raises ScpiError for a line that cannot run.
    Line prepare(const std::string& text) const;
    // Runs the line's remaining steps; false when one has to wait.
    bool carryOn(Line& line, std::string& out);
    void queue(const ErrorEntry& e);
    void checkOperationComplete();

    Program& program_;
    RemoteState& state_;
    Runner run_;
    CommandTable table_;
    std::deque<LineFramer::Item> lines_;
    std::size_t queuedBytes_ = 0;
    std::optional<Line> current_;
    bool leaving_ = false;
    bool opcWatched_ = false;  // *OPC was armed when last looked at
};

}  // namespace tunx::remote
