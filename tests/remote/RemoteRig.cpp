#include "remote/RemoteRig.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

namespace tunx::test {

RemoteRig::RemoteRig()
    : ui(state.status),
      wiring({.simulate = true, .fast = true, .record = true, .installDir = TUNX_SHARE_DIR}, ui),
      program(wiring.program()),
      engine(program, state, [](const std::function<void()>& f) { f(); }) {
    program.start();
}

std::string RemoteRig::send(const std::string& line) {
    engine.take({line, std::nullopt});
    return engine.work();
}

std::string RemoteRig::query(const std::string& line) {
    std::string reply = send(line);
    EXPECT_TRUE(reply.ends_with('\n')) << line << " -> " << reply;
    if (!reply.empty()) {
        reply.pop_back();
    }
    return reply;
}

std::vector<std::string> RemoteRig::errors() {
    std::vector<std::string> out;
    while (state.status.count() > 0) {
        const remote::ErrorEntry e = state.status.pop();
        out.push_back(std::to_string(e.number) + "," + e.text);
    }
    return out;
}

std::string RemoteRig::ticks(int n) {
    for (int i = 0; i < n && !program.ended(); ++i) {
        program.tick();
    }
    return engine.work();
}

std::vector<std::string> RemoteRig::lines(std::size_t from) {
    const auto& all = wiring.transcript().lines();
    return {all.begin() + static_cast<long>(std::min(from, all.size())), all.end()};
}

std::vector<float> floatsOfBlock(const std::string& block) {
    std::vector<float> out;
    if (block.size() < 2 || block[0] != '#' || block[1] < '1' || block[1] > '9') {
        ADD_FAILURE() << "not a block: " << block.substr(0, 20);
        return out;
    }
    const auto digits = static_cast<std::size_t>(block[1] - '0');
    const std::size_t length = std::stoul(block.substr(2, digits));
    const std::string data = block.substr(2 + digits);
    EXPECT_EQ(data.size(), length);
    EXPECT_EQ(length % 4, 0U);
    for (std::size_t i = 0; i + 3 < data.size(); i += 4) {
        std::uint32_t bits = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            bits |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[i + k])) << (8 * k);
        }
        out.push_back(std::bit_cast<float>(bits));
    }
    return out;
}

}  // namespace tunx::test
