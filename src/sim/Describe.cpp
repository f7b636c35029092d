#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "sim/VirtualInstrument.h"

namespace tunx::sim {

namespace {
std::string fmt(const char* format, double v) {
    char buf[128];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}
}  // namespace

std::vector<std::string> VirtualInstrument::describe() const {
    std::vector<std::string> out;
    const DeviceModel& m = model_;
    out.push_back(std::string("output ") + (m.outputClosed ? "closed" : "open"));
    const bool clock20 = m.lastClockCommand == 24 || (m.lastClockCommand == 2 && m.cfr2[2] == 0);
    const double clock = clock20 ? 20e6 : 400e6;
    out.push_back(fmt("clock %.0f Hz", clock));
    out.push_back(fmt("frequency %.3f Hz", m.ftw * clock / 4294967296.0));
    out.push_back(fmt("amplitude %.1f mVpp", m.asf * cal_.ampfullscale / 16383.0));
    if (m.offsetSet) {
        const int r = (m.offsetFine - m.offsetCoarse) / 20;
        const double code = m.offsetCoarse * 5000.0 / 1023.0 + r;
        out.push_back(fmt("offset %.0f mV", (3120.0 - code) * cal_.offgain - cal_.offzero));
    } else {
        out.push_back("offset not set");
    }
    return out;
}

}  // namespace tunx::sim
