// The common commands of IEEE 488.2 and the SCPI system commands.
#include "common/Version.h"
#include "remote/CommandTable.h"
#include "remote/Panel.h"
#include "remote/Params.h"
#include "remote/Reply.h"
#include "remote/Reset.h"

namespace tunx::remote {

namespace {

constexpr const char* kMaker = "TUNX4K";
constexpr const char* kModel = "TUNX4K";
constexpr const char* kNoSerial = "0";
// The SCPI version the commands follow.
constexpr const char* kScpiVersion = "1999.0";
constexpr int kRegisterMask = 255;

void identify(Call& c) {
    const frmMain& gen = c.program.generator();
    const std::string serial = c.program.state().link.devconnected && !gen.cmbDevice->text.empty()
                                   ? gen.cmbDevice->text
                                   : kNoSerial;
    c.reply = std::string(kMaker) + "," + kModel + "," + serial + "," + kVersion;
}

int registerValue(const Param& p) {
    const double v = param::number(p, "");
    if (v < 0 || v > kRegisterMask) {
        throw ScpiError(error::kOutOfRange, "0 to 255");
    }
    return static_cast<int>(v);
}

}  // namespace

std::vector<Command> standardCommands() {
    return {
        {.pattern = "*IDN", .query = identify},
        {.pattern = "*RST",
         .set =
             [](Call& c) {
                 resetPanels(c.program);
                 c.state.pending = {};
             },
         .setParams = {0, 0}},
        {.pattern = "*CLS",
         .set =
             [](Call& c) {
                 c.state.status.clear();
                 c.state.opcArmed = false;
             },
         .setParams = {0, 0}},
        {.pattern = "*OPC", .set = [](Call& c) { c.state.opcArmed = true; }, .setParams = {0, 0}},
        {.pattern = "*OPC", .query = [](Call& c) { c.reply = reply::flag(true); }, .waits = true},
        {.pattern = "*WAI", .set = [](Call&) {}, .setParams = {0, 0}, .waits = true},
        {.pattern = "*ESR",
         .query = [](Call& c) { c.reply = reply::integer(c.state.status.takeEvents()); }},
        {.pattern = "*ESE",
         .set = [](Call& c) { c.state.status.setEnable(registerValue(c.params[0])); },
         .query = [](Call& c) { c.reply = reply::integer(c.state.status.enable()); }},
        {.pattern = "*STB",
         .query = [](Call& c) { c.reply = reply::integer(c.state.status.statusByte()); }},
        {.pattern = "*TST", .query = [](Call& c) { c.reply = reply::integer(0); }},
        {.pattern = "SYSTem:ERRor[:NEXT]",
         .query =
             [](Call& c) {
                 const ErrorEntry e = c.state.status.pop();
                 c.reply = reply::integer(e.number) + "," + reply::quoted(e.text);
             }},
        {.pattern = "SYSTem:ERRor:COUNt",
         .query =
             [](Call& c) {
                 c.reply = reply::integer(static_cast<long long>(c.state.status.count()));
             }},
        {.pattern = "SYSTem:VERSion",
         .query = [](Call& c) { c.reply = reply::word(kScpiVersion); }},
        {.pattern = "SYSTem:EXIT",
         .set =
             [](Call& c) {
                 if (!c.state.canExit) {
                     throw ScpiError(error::kSettingsConflict, "the program ends from its windows");
                 }
                 c.state.exitRequested = true;
             },
         .setParams = {0, 0}},
    };
}

}  // namespace tunx::remote
