// The virtual bench from a test: sim instructions in words, the generator's panel set up as a
// user fills it in, and the shape of a trace.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "support/Rig.h"

namespace tunx::test {

// The words of one sim instruction ("wire CH1 dut").
inline std::vector<std::string> splitWords(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string w; in >> w;) {
        out.push_back(w);
    }
    return out;
}

// A bench instruction of the virtual instrument, which must be taken.
inline void instruct(Rig& rig, const std::string& line) {
    ASSERT_EQ(rig.sim.instruct(splitWords(line)), std::nullopt) << line;
}

// The generator panel's mode and entries ("name=text|..."; singlesw is ticked), then Refresh,
// which must pass without a message.
inline void generator(Rig& rig, const std::string& mode, const std::string& fields) {
    rig.w()["ModeSelect"].text = mode;
    ASSERT_TRUE(rig.run("ModeSelect_Click"));
    std::istringstream in(fields);
    for (std::string field; std::getline(in, field, '|');) {
        const auto eq = field.find('=');
        if (field.starts_with("singlesw=")) {
            rig.w().check(rig.w()["singlesw"], std::stoi(field.substr(eq + 1)));
        } else {
            rig.w()[field.substr(0, eq)].text = field.substr(eq + 1);
        }
    }
    const std::size_t said = rig.messages().size();
    ASSERT_TRUE(rig.run("RefreshBtn_Click"));
    ASSERT_EQ(rig.messages().size(), said) << rig.messages().back();
}

// The generator's sine at `frek` `unit` and `vpp` `vppUnit`, refreshed.
inline void generatorSine(Rig& rig, const std::string& frek, const std::string& unit,
                          const std::string& vpp, const std::string& vppUnit = "Vpp") {
    generator(rig, "Single Tone Sine",
              "Frek=" + frek + "|frequnit=" + unit + "|Vpp=" + vpp + "|VppUnit=" + vppUnit);
}

using Bytes = std::vector<std::uint8_t>;

// A command frame as the instrument takes it: lead byte 4, the six bytes, their checksum.
inline Bytes frame(const std::array<int, 6>& cmd) {
    Bytes f(cmd.begin(), cmd.end());
    f.insert(f.begin(), 4);
    f.push_back(static_cast<std::uint8_t>(std::accumulate(cmd.begin(), cmd.end(), 0) & 0xFF));
    return f;
}
inline int writeRaw(UsbApi& usb, DeviceHandle handle, const Bytes& data) {
    std::uint32_t n = 0;
    return usb.SI_Write(handle, data, n);
}
// Up to `size` bytes: the status and what came.
inline std::pair<int, Bytes> readRaw(UsbApi& usb, DeviceHandle handle, std::size_t size) {
    Bytes buffer(size, 0);
    std::uint32_t n = 0;
    const int status = usb.SI_Read(handle, buffer, n);
    buffer.resize(n);
    return {status, buffer};
}

// Mean, middle of the extremes, peak to peak and the period in samples (from rising
// crossings of the mean).
struct Trace {
    explicit Trace(const std::vector<double>& v) {
        mean = std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
        const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
        pp = *hi - *lo;
        mid = (*hi + *lo) / 2;
        std::vector<double> ups;
        for (std::size_t i = 1; i < v.size(); ++i) {
            if (v[i - 1] < mean && v[i] >= mean) {
                ups.push_back(static_cast<double>(i) - (v[i] - mean) / (v[i] - v[i - 1]));
            }
        }
        period =
            ups.size() > 1 ? (ups.back() - ups.front()) / static_cast<double>(ups.size() - 1) : 0;
    }
    double mean = 0, mid = 0, pp = 0, period = 0;
};

}  // namespace tunx::test
