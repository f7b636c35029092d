// The frequency counter at CH2 IN: the three input ranges and one reading per timer tick.
#include "monitor/counter/Counter.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "common/Numbers.h"
#include "common/RegisterBytes.h"
#include "link/Relay.h"
#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/counter/CounterDisplay.h"
#include "monitor/counter/CounterMath.h"
#include "monitor/scope/Record.h"
#include "monitor/scope/ScopeSetup.h"

namespace tunx {

namespace {

constexpr const char* kRangeFailed = "Error seting Fr. Counter";
constexpr const char* kCountFailed = "Freq Count error";
constexpr const char* kCountStep = "_Set_Freq_";
constexpr int kCountStart = 39;
constexpr int kSampleRequest = 37;
constexpr int kPrescalerCommand = 40;
constexpr std::int32_t kCountTimeoutMs = 2000;
constexpr int kCountingPauseMs = 200;
constexpr std::uint32_t kReplyTimeoutMs = 3000;

// One input range: its prescaler, the highest frequency it counts and the commands that select
// it.
struct CounterRange {
    std::string_view text;
    std::int32_t prescale;
    double highestHz;
    std::array<Command, 4> commands;
    std::size_t count;
};

const std::array<CounterRange, 3> kRanges{{
    {"1Hz - 20Mhz",
     1,
     20e6,
     {switchCommand(line::kCounterRange2, false), switchCommand(line::kCounterRange1, true)},
     2},
    {"10-300Mhz",
     16,
     300e6,
     {switchCommand(line::kCounterRange2, true), switchCommand(line::kCounterRange1, false),
      Command{kPrescalerCommand, 3, 128, 40, 0, 0}, Command{kPrescalerCommand, 0, 0, 129, 0, 0}},
     4},
    {"200-2000Mhz",
     128,
     2000e6,
     {switchCommand(line::kCounterRange2, true), switchCommand(line::kCounterRange1, false),
      Command{kPrescalerCommand, 3, 0, 40, 0, 0}, Command{kPrescalerCommand, 0, 2, 3, 0, 0}},
     4},
}};

void countingFailed(Form1& w) {
    w.mon().monstate = std::string(runstate::kIdle);
    w.ui().MsgBox(kCountFailed);
}

}  // namespace

void Form1::frangesel_Click() {
    for (const CounterRange& range : kRanges) {
        if (frangesel->text != range.text) {
            continue;
        }
        mon().fcprescale = range.prescale;
        counterHistoryCleared(*this);
        for (std::size_t i = 0; i < range.count; ++i) {
            if (!link_.send(range.commands[i], kRelayStep)) {
                ui().MsgBox(kRangeFailed);
                return;
            }
        }
        return;
    }
}

bool counterReading(Form1& w) {
    MonitorState& m = w.mon();
    m.countedHz.reset();  // until this reading has come in whole
    m.fcsamples = kCounterSamples;
    const BytePair samples = lowBytes(m.fcsamples);
    if (!w.link().send({kCountStart, samples.high, samples.low, 0, 0, 0}, kCountStep,
                       kCountTimeoutMs)) {
        return false;
    }
    w.clock().Sleep(kCountingPauseMs);
    UsbApi& usb = w.usb();
    const DeviceHandle device = w.state().link.devhandle;
    usb.SI_SetTimeouts(kReplyTimeoutMs, kReplyTimeoutMs);
    std::array<std::uint8_t, kCounterBytes> buffer{};
    std::uint32_t got = 0;
    usb.SI_Read(device, std::span(buffer).first(2), got);
    // A reading that failed is a failed step: the monitor shows its error state instead of
    // "Running" beside the last reading.
    if (buffer[0] != kRecordReady) {
        countingFailed(w);
        return false;
    }
    usb.SI_FlushBuffers(device, 1, 1);
    const BytePair bytes = lowBytes(2 * m.fcsamples);
    w.link().setCommand({kSampleRequest, bytes.high, bytes.low, 0, 0, 0});
    w.link().CommSendString2();
    buffer.fill(0);
    const int status = usb.SI_Read(device, buffer, got);
    // Samples that did not all arrive would be counted from stale bytes: no reading.
    if (status != usb::kSuccess || got != buffer.size()) {
        countingFailed(w);
        return false;
    }
    // Above its range the counter's 16-bit samples wrap more than once between two of them: the
    // count says nothing of the frequency.
    const double frequency = double(countedPeriods(buffer)) * m.fcprescale;
    const auto range = std::find_if(kRanges.begin(), kRanges.end(), [&](const CounterRange& r) {
        return r.prescale == m.fcprescale;
    });
    if (range != kRanges.end() && frequency > range->highestHz) {
        w.frcountertxt->text = kCounterOverRange;
    } else {
        w.frcountertxt->text = formatGrouped(frequency, 0, w.state().host.groupSeparator);
        m.countedHz = frequency;
    }
    counterReadingShown(w, m.countedHz);
    ++m.readingsTaken;
    return true;
}

}  // namespace tunx
