#pragma once

// The failure path the set-up procedures share.
#include <utility>

#include "common/RuntimeError.h"
#include "link/Link.h"

namespace tunx {

// Shows the procedure's message and sets sgerror, so the refresh learns the output is not set.
inline void failWith(Link& link, const char* message) {
    link.ui().MsgBox(message);
    link.state().gen.sgerror = true;
}

// Runs a procedure's steps; a run-time error (an arithmetic or conversion fault) counts as a
// failed step. Whatever else the steps throw passes through.
template <typename Steps>
bool succeeded(Steps&& steps) {
    try {
        return steps();
    } catch (const RuntimeError&) {
        return false;
    }
}

// Runs a procedure's steps and takes the failure path with `message` when they fail.
template <typename Steps>
void runOrFail(Link& link, const char* message, Steps&& steps) {
    if (!succeeded(std::forward<Steps>(steps))) {
        failWith(link, message);
    }
}

}  // namespace tunx
