// The instrument's output and measuring side put into words.
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "sim/VirtualInstrument.h"

namespace tunx::sim {

namespace {

std::string number(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

const char* groupName(RangeGroup g) {
    return g == RangeGroup::Volts ? "V" : g == RangeGroup::Decivolts ? "dV" : "mV";
}

int switchLevel(const DeviceModel& m, int group, int line) {
    const auto it = m.switches.find({group, line});
    return it == m.switches.end() ? -1 : it->second;
}

}  // namespace

std::vector<std::string> VirtualInstrument::describe() const {
    const DeviceModel& m = model_;
    const GeneratorOutput& g = output();
    std::vector<std::string> out;
    out.push_back(std::string("output ") + (g.on ? "on" : "off") + ", level DAC " +
                  std::to_string(g.levelDac) + ", attenuator " + (g.attenuated ? "20 dB" : "off"));

    std::string frequency = number(g.hz, 3) + " Hz";
    if (g.kind == Waveform::Sweep && !g.steps.empty()) {
        frequency = number(g.steps.front().value, 1) + " Hz to " + number(g.steps.back().value, 1) +
                    " Hz in " + std::to_string(g.steps.size()) + " steps of " +
                    number(g.steps.front().seconds * 1e6, 2) + " us";
    }
    out.push_back("waveform " + g.words);
    out.push_back("frequency " + frequency);
    out.push_back("amplitude " + number(g.vpp, 1) + " mVpp");
    out.push_back(g.offsetSet ? "offset " + number(g.offsetMv, 0) + " mV" : "offset not set");
    out.push_back("clock " + number(g.sysclk, 0) + " Hz");
    out.push_back("triggers " + std::to_string(m.triggerCount));

    // The bench.
    const auto wireWords = [&](int ch) {
        const auto c = static_cast<std::size_t>(ch);
        switch (bench_.wire[c]) {
            case Wire::Generator:
                return std::string("generator");
            case Wire::Dut:
                return std::string("generator through the device under test");
            case Wire::Off:
                return std::string("nothing");
            case Wire::External: {
                const ExternalSource& e = bench_.external[c];
                return std::string(e.square ? "square " : "sine ") + number(e.hz, 3) + " Hz " +
                       number(e.vpp, 1) + " mVpp offset " + number(e.offset, 1) + " mV";
            }
        }
        return std::string();
    };
    out.push_back("wire CH1 " + wireWords(0) + ", CH2 " + wireWords(1));
    out.push_back("dut " + bench_.dut.words());
    out.push_back("noise " + number(bench_.noiseMv, 1) + " mV rms, seed " +
                  std::to_string(bench_.seed) + ", input offset CH1 " +
                  number(bench_.offsetMv[0], 1) + " mV, CH2 " + number(bench_.offsetMv[1], 1) +
                  " mV");

    // The scope converters.
    const int adcLine = switchLevel(m, 4, 0);
    const bool twelve = record_.armed ? record_.twelveBit : adcLine == 1;
    out.push_back(std::string("converter ") + (twelve ? "12-bit" : "8-bit") + ", ADC clock " +
                  (switchLevel(m, 4, 11) == 1 ? "40" : "20") + " MHz" +
                  (detectorRouted() ? ", CH1 on the detector" : ""));
    if (record_.armed) {
        const char* how = record_.streaming         ? "streaming"
                          : record_.waitsForTrigger ? "triggered"
                                                    : "free-running";
        out.push_back("record " + number(record_.rate, 1) + " samples/s, " +
                      std::to_string(record_.samples) + " samples, " + how);
    } else {
        out.push_back("record not armed");
    }
    if (trigger_.code == 0) {
        out.push_back("trigger free-running");
    } else {
        out.push_back(std::string("trigger CH") + std::to_string(trigger_.channel() + 1) +
                      (trigger_.rising() ? " rising" : " falling") + " at code " +
                      std::to_string(trigger_.level));
    }
    for (int ch = 0; ch < kChannels; ++ch) {
        const ChannelScale s = channelScale(m, cal_, ch);
        out.push_back("CH" + std::to_string(ch + 1) + " range " + groupName(s.group) + ", " +
                      number(s.fullScaleMv / 8.0, 1) + " mV/div, position " +
                      number(s.position(), 1));
    }

    // Detector and counter.
    const double rms = std::hypot(0.5 * plan(0).acRmsAt(time_.nowPs()), bench_.noiseMv);
    out.push_back("detector CH1 IN " + number(rms, 1) + " mVrms, " +
                  (rms > 0 ? number(20.0 * std::log10(rms / 1000.0), 1) : std::string("-inf")) +
                  " dBV, code " + std::to_string(detectorCode()));
    const SignalPlan ch2 = plan(1);
    const int divide = prescaler();
    std::string counted = "nothing";
    if (counterHasInput()) {
        const std::int64_t now = time_.nowPs();
        const double hz =
            ch2.kind == SignalPlan::Kind::Sweep
                ? static_cast<double>(ch2.cycles(now + kPsPerMs) - ch2.cycles(now)) * 1000.0
                : ch2.hz;
        counted = number(hz, 3) + " Hz";
    }
    out.push_back("counter CH2 IN " + counted + ", prescaler " +
                  (divide > 0 ? std::to_string(divide) : std::string("not set up")));
    return out;
}

}  // namespace tunx::sim
