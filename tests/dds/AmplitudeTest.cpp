#include "dds/Amplitude.h"

#include "dds/DdsTest.h"

namespace tunx::test {
namespace {

// The output stage at sgaten 2040 with the attenuator off, sent before the offset code, and
// at sgaten 0 with the offset read-back, after it.
const Frames kStage2040{{31, 3, 252, 3, 0, 0}, {31, 0, 3, 7, 0, 0}, {32, 3, 15, 0, 0, 0}};
const Frames kStage0{{31, 0, 0, 3, 0, 0}, {31, 3, 255, 7, 0, 0}, {32, 3, 15, 0, 0, 0},
                     {32, 6, 4, 1, 0, 0}, {32, 6, 5, 0, 0, 0},   {27, 255, 255, 85, 85, 85}};

Frame asf(int hi, int lo) {
    return {3, hi, lo, 0, 0, 0};
}

class Amplitude : public DdsTest {
  protected:
    void SetUp() override {
        rig.s().cal.flat150M = 2.8F;  // with these, every calibration point differs
        rig.s().cal.flat200M = 3.0F;
    }
};
using Offset = Amplitude;

// Procedure, mode, entry, 50 ohm termination, sgfreq, the frame (none: nothing sent), the
// message, and sgaten afterwards (2040 before). A message without a frame is a failure.
TEST_F(Amplitude, ScaleFactorOrRefusal) {
    const std::string sine = "Single Tone Sine", ramp = "Ramp", pulse = "Pulse Generator";
    const std::string tooHigh = "Amplitude Entry is too high!", stop = " SG STOP Error";
    const int mhz = 1'000'000;
    using Row = std::tuple<Procedure, std::string, std::string, std::string, bool, int, Frame,
                           std::string, int>;
    const Row rows[] = {
        {ofMode<SetVpp>, sine, "1000", "mVpp", false, mhz, asf(9, 7), "", 0},      // 2311
        {ofMode<SetVpp>, sine, "1000", "mVpp", true, mhz, asf(18, 13), "", 0},     // as 2000 mVpp
        {ofMode<SetVpp>, sine, "5000", "mVpp", false, mhz, asf(46, 182), "", 0},   // x 1.035
        {ofMode<SetVpp>, sine, "1000", "mVrms", false, mhz, asf(25, 136), "", 0},  // 2828.4 mVpp
        {ofMode<SetVpp>, sine, "20", "dBmV", true, mhz, asf(2, 142), "", 0},       // 40 dBmV
        {ofMode<SetVpp>, ramp, "1000", "mVpp", false, 100 * mhz, asf(10, 213), "", 0},  // gain 1.2
        {ofMode<SetVpp>, ramp, "4000", "mVpp", false, 100 * mhz, asf(43, 194), "",
         0},                                                                          // 1.2 x 1.01
        {ofMode<SetVpp>, sine, "1000", "mVpp", false, 5'500'000, asf(9, 24), "", 0},  // gain 1.0075
        {ofMode<SetVpp>, sine, "1000", "mVpp", false, 42'500'000, asf(10, 152), "", 0},  // 1.17375
        {ofMode<SetVpp>, sine, "1000", "mVpp", false, 110 * mhz, asf(24, 12), "", 0},    // 2.664
        {ofMode<SetVpp>, sine, "5000", "mVpp", false, 200 * mhz, asf(63, 255),
         "Amplitude is too Hi for Frequency Entered! Amplitude will be set to Maximum.", 0},
        {ofMode<SetVpp>, sine, "5000.5", "mVpp", false, mhz, {}, tooHigh, 2040},
        {ofMode<SetVpp>,
         pulse,
         "100",
         "mVrms",
         false,
         mhz,
         {},
         "Invalid Amplitude unit selection!",
         2040},
        {ofMode<SetVpp>, sine, "0.5", "mVpp", false, mhz, {}, "Error calculating Amplitude!", 2040},
        {ofMode<SetVpp>, "Square-Wave2", "1001.5", "mVpp", false, mhz, {}, "", 1239},  // output
                                                                                       // level
        {sgstop, sine, "1000", "Vpp", true, mhz, asf(9, 7), "", 2040},  // the bare number in mV
        {sgstop, sine, "abc", "Vpp", false, mhz, {}, stop, 2040},
        {sgstop, sine, "8000", "mVpp", false, mhz, {}, stop, 2040},  // beyond 14 bits
    };
    for (const auto& [procedure, mode, vpp, unit, terminated, sgfreq, frame, message, sgaten] :
         rows) {
        set({{&C::ModeSelect, mode}, {&C::Vpp, vpp}, {&C::VppUnit, unit}});
        rig.w().termination->value = terminated ? 1 : 0;
        rig.s().gen.sgfreq = sgfreq;
        rig.s().gen.sgaten = 2040;
        const Frames frames = run(procedure);
        EXPECT_EQ(
            std::tuple(frames, rig.messages(), rig.s().gen.sgerror, rig.s().gen.sgaten),
            std::tuple(frame == Frame{} ? Frames{} : Frames{frame},
                       message.empty() ? Texts{} : Texts{message},
                       frame == Frame{} && !message.empty(), static_cast<std::int16_t>(sgaten)))
            << mode << " " << vpp << unit;
    }
}

TEST_F(Amplitude, ZeroFullScaleFailsInsteadOfDividing) {
    rig.s().cal.ampfullscale = 0.0F;
    set({{&C::Vpp, "1"}, {&C::VppUnit, "Vpp"}});
    EXPECT_TRUE(run(ofMode<SetVpp>).empty());
    EXPECT_EQ(rig.messages(), Texts{"Error calculating Amplitude!"});
}

// Mode, offset mode and entry, amplitude, offset gain, and the offset frame (none: refused after
// the first output stage commands).
TEST_F(Offset, CodeFromEntryModeAndCalibrationOrRefusal) {
    const std::string sine = "Single Tone Sine", manual = "Manual";
    using Row = std::tuple<std::string, std::string, std::string, std::string, std::string,
                           std::string, float, Frame>;
    const Row rows[] = {
        {sine, manual, "0", "mV", "1", "Vpp", 1, {13, 2, 128, 2, 128, 0}},         // code 3130: 640
        {sine, manual, "1002", "mV", "1", "Vpp", 1, {13, 1, 179, 1, 239, 0}},      // 2128: 435, 495
        {sine, manual, "5", " V", "1", "Vpp", 1, {13, 254, 129, 254, 129, 0}},     // coarse -383
        {sine, manual, "4998", "mV", "1", "Vpp", 1, {13, 254, 130, 254, 70, 0}},   // remainder -3
        {sine, manual, "-2000", "mV", "1", "Vpp", 1, {13, 4, 26, 4, 26, 0}},       // code 5130
        {sine, "Vpp/2", "0", "mV", "2", "Vpp", 1, {13, 1, 180, 1, 180, 0}},        // code 2130
        {sine, "Vpp/2", "0", "mV", "1000", "mVrms", 1, {13, 1, 95, 1, 115, 0}},    // 1414 mV
        {"Ramp", manual, "0", "mV", "2", "Vpp", 1, {13, 2, 90, 2, 130, 0}},        // 188 mV up
        {"Arbitrary", manual, "0", "mV", "1", "Vpp", 1, {13, 1, 161, 1, 161, 0}},  // arbvoffset
        {"Square-Wave2", manual, "3000", "mV", "1", "Vpp", 1, {13, 1, 180, 1, 180, 0}},
        {sine, manual, "-2001", "mV", "1", "Vpp", 1, {}},
        {sine, manual, "5001", "mV", "1", "Vpp", 1, {}},
        {sine, manual, "0", "mV", "1", "Vpp", 0, {}},      // no offset gain
        {sine, manual, "0", "mV", "1", "Vpp", 5e-5F, {}},  // coarse value beyond 16 bits
        {sine, "0.00V", "1234", "mV", "1", "Vpp", 1, {13, 2, 128, 2, 128, 0}},
    };
    for (const auto& [mode, biasMode, vbias, unit, vpp, vppUnit, offgain, frame] : rows) {
        set({{&C::ModeSelect, mode}, {&C::Vpp, vpp}, {&C::VppUnit, vppUnit}});
        set({{&C::BiasMode, biasMode}, {&C::VBias, vbias}, {&C::BiasUnit, unit}});
        rig.s().cal.offgain = offgain;
        rig.s().gen.sgaten = 2040;
        const bool refused = frame == Frame{};
        Frames expected = kStage2040;
        if (!refused) {
            expected.push_back(frame);
            expected.insert(expected.end(), kStage0.begin(), kStage0.end());
        }
        const Frames frames = run(ofMode<SetBias>);
        EXPECT_EQ(std::tuple(frames, rig.messages(), rig.s().gen.sgerror, rig.s().gen.sgaten),
                  std::tuple(expected, refused ? Texts{"Error calculating Offset!"} : Texts{},
                             refused, static_cast<std::int16_t>(refused ? 2040 : 0)))
            << mode << " " << biasMode << " " << vbias << unit;
    }
    EXPECT_EQ(rig.w().VBias->text, "0.00");  // the 0.00V mode clears the field
}

TEST_F(Offset, CodeGetsThreeSecondsAndTwoAttempts) {
    run(ofMode<SetBias>);  // 0 V as the panel starts
    EXPECT_TRUE(transcriptHas({"timeouts 3000 3000", "flush", "write 4 13 2 128 2 128 0 17"}));
    rig.sim.nakNext(2, 3);
    EXPECT_EQ(run(ofMode<SetBias>).size(), kStage2040.size() + 2);
    EXPECT_EQ(rig.messages(),
              (Texts{"Set_Offset_CommError", "Error Sending Data.", "Error calculating Offset!"}));
}

}  // namespace
}  // namespace tunx::test
