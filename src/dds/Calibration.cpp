#include "dds/Calibration.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <type_traits>
#include <variant>

#include "common/LineReader.h"
#include "common/Numbers.h"
#include "common/RuntimeError.h"
#include "link/Relay.h"

namespace tunx {

namespace {

constexpr char kFieldSeparator = '\t';
constexpr std::size_t kValueField = 2;  // after the second tab

void setDefaults(Calibration& c) {
    c.clkcorr = 1.0;
    c.flat1M = 1.0F;
    c.offgain = 1.0F;
    c.offzero = -10.0F;
    c.flat10M = 1.015F;
    c.flat50M = 1.245F;
    c.flat100M = 2.63F;
    c.flat150M = 2.63F;
    c.flat200M = 2.63F;
    c.ampfullscale = 7090.0F;
    c.arbvoffset = 1090.0F;
    c.fmoffset = -51800.0F;
    c.rampoffset = 470.0F;
}

using Row = std::variant<float Calibration::*, double Calibration::*, std::int16_t Calibration::*,
                         std::int32_t Calibration::*>;
using C = Calibration;

// The file's value rows, in line order.
constexpr std::array<Row, kCalibrationRows> kRows = {
    &C::ampfullscale, &C::clkcorr,     &C::offzero,       &C::flat1M,      &C::flat10M,
    &C::flat50M,      &C::flat100M,    &C::flat150M,      &C::flat200M,    &C::offgain,
    &C::arbvoffset,   &C::fmoffset,    &C::rampoffset,    &C::rfdetoffset, &C::rfdetintercept,
    &C::rfdetslope,   &C::sweepconst1, &C::ch1gaindv,     &C::ch1gainv,    &C::ch1gainmv,
    &C::ch1offv,      &C::adcref,      &C::ch2gaindv,     &C::ch2gainv,    &C::ch2gainmv,
    &C::ch2offv,      &C::sweepconst2, &C::sq2level1,     &C::sq2level2,   &C::sq2level3,
    &C::sq2level4,    &C::sq2level5,   &C::ch1offslopev,  &C::ch1offmv,    &C::ch1offslopemv,
    &C::ch2offslopev, &C::ch2offmv,    &C::ch2offslopemv, &C::sweepconst3, &C::sq2offset,
    &C::flat20M,      &C::flat30M,     &C::flat40M,       &C::flat60M,     &C::flat70M,
    &C::flat80M,      &C::flat90M,
};

// Values that must be positive: full scales, references and gains, which are divisors or
// factors of the output level.
constexpr auto kMustBePositive = std::to_array<Row>({
    &C::ampfullscale, &C::adcref,    &C::offgain,  &C::flat1M,    &C::flat10M,   &C::flat20M,
    &C::flat30M,      &C::flat40M,   &C::flat50M,  &C::flat60M,   &C::flat70M,   &C::flat80M,
    &C::flat90M,      &C::flat100M,  &C::flat150M, &C::flat200M,  &C::ch1gaindv, &C::ch1gainv,
    &C::ch1gainmv,    &C::ch2gaindv, &C::ch2gainv, &C::ch2gainmv,
});
// Values that must not be 0: slopes that are divided by.
constexpr auto kMustNotBeZero = std::to_array<Row>(
    {&C::rfdetslope, &C::ch1offslopev, &C::ch1offslopemv, &C::ch2offslopev, &C::ch2offslopemv});
// The clock correction is the ratio of the nominal to the real clock, whose crystal is off by
// parts per million: a ratio off by a factor of two is no correction (at 0 every tuning word
// is 0 and the output stands still at 0 Hz).
constexpr Row kClockCorrection = &C::clkcorr;
constexpr double kMinClockCorrection = 0.5;
constexpr double kMaxClockCorrection = 2.0;

template <std::size_t N>
bool listed(const std::array<Row, N>& rows, const Row& row) {
    return std::find(rows.begin(), rows.end(), row) != rows.end();
}

// Whether a value, as stored, keeps the arithmetic meaningful. A single-precision value too
// close to 0 to be a normal number counts as 0.
template <typename T>
bool meaningful(const Row& row, T value) {
    bool nonZero = value != 0;
    if constexpr (std::is_floating_point_v<T>) {
        nonZero = std::isnormal(value);
    }
    if (row == kClockCorrection) {
        return value >= kMinClockCorrection && value <= kMaxClockCorrection;
    }
    if (listed(kMustBePositive, row)) {
        return nonZero && value > 0;
    }
    return nonZero || !listed(kMustNotBeZero, row);
}

// Stores a row's value in its type; a value that does not convert, or that would make the
// arithmetic meaningless, raises RuntimeError and is not stored.
void store(Calibration& c, const Row& row, double value) {
    std::visit(
        [&](auto field) {
            using T = std::remove_reference_t<decltype(c.*field)>;
            T converted{};
            if constexpr (std::is_same_v<T, float>) {
                converted = CSng(value);
            } else if constexpr (std::is_same_v<T, double>) {
                converted = value;
            } else if constexpr (std::is_same_v<T, std::int16_t>) {
                converted = CInt(value);
            } else {
                converted = CLng(value);
            }
            if (!meaningful(row, converted)) {
                throw RuntimeError(kInvalidArgument);
            }
            c.*field = converted;
        },
        row);
}

// The third tab-separated field of a line; a line with fewer fields has no value.
std::string valueField(const std::string& line) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < kValueField; ++i) {
        const auto tab = line.find(kFieldSeparator, start);
        if (tab == std::string::npos) {
            throw RuntimeError(kSubscriptOutOfRange);
        }
        start = tab + 1;
    }
    const auto end = line.find(kFieldSeparator, start);
    return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace

bool sgcalibration(SharedState& state, Ui& ui, const std::string& path) {
    setDefaults(state.cal);
    LineReader file(path);
    try {
        if (!file.isOpen()) {
            const std::string why = unreadableFileText(path, file.kind());
            if (!why.empty()) {
                ui.MsgBox(why);
            }
            throw RuntimeError(kFileNotFound);
        }
        for (int i = 0; i < kCalibrationHeaderLines; ++i) {
            requireLine(file);
        }
        for (const Row& row : kRows) {
            store(state.cal, row, CDbl(valueField(requireLine(file))));
        }
        return true;
    } catch (const RuntimeError&) {
        ui.MsgBox(kMsgCalibrationError);
        return false;
    }
}

void readsgbias1(Link& link) {
    if (!link.send(switchCommand(line::kBiasReadback, true), kRelayLabel)) {
        return;
    }
    if (!link.send(switchCommand(line::kBiasReadback2, false), kRelayLabel)) {
        return;
    }
    SharedState& s = link.state();
    link.showStatus(link.usb().SI_FlushBuffers(s.link.devhandle, 1, 1));
    link.setCommand({code::kBiasRead, 255, 255, 85, 85, 85});
    link.CommSendString2();
    link.showStatus(s.link.usbstatus);
    link.clock().Sleep(2);
    std::array<std::uint8_t, 2> reply{};
    std::uint32_t got = 0;
    const int status = link.usb().SI_Read(s.link.devhandle, reply, got);
    link.showStatus(status);
    if (status == usb::kSuccess) {
        const std::int16_t raw = CInt(reply[0] * 256.0 + reply[1]);
        s.cal.sgbias = CSng((raw * static_cast<double>(s.cal.adcref) / 4096.0 - 900.0) * 2.0);
    }
}

}  // namespace tunx
