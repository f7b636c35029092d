#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tunx::fuzz {

// What a run of an entry found wrong; nothing when the program behaved. A crash, a hang or a
// sanitizer report is a finding too, found by whoever runs the entry.
using Finding = std::optional<std::string>;

// Each entry feeds `data` to one of the program's readers as a user's file would reach it, then
// checks that the program neither failed unexpectedly nor reported success after a failure.
// `installDir` is the installation folder (with its trailing '/').

// The calibration file: read by the Calibrate button, then a Refresh on the values read.
Finding calibrationFile(std::span<const std::uint8_t> data, const std::string& installDir);

// An arbitrary profile: the points read and converted for each RAM target, then loaded by a
// Refresh in the Arbitrary mode.
Finding profileFile(std::span<const std::uint8_t> data, const std::string& installDir);

// A configuration file: loaded into the generator window after a successful Refresh, then a
// Refresh in the loaded mode against the virtual instrument. "@SHARE@" in the data stands for
// the installation folder, so that a corpus file can name the files there.
Finding configFile(std::span<const std::uint8_t> data, const std::string& installDir);

// A script of tunx4k-cli: parsed, its virtual-instrument lines given to the instrument, and its
// user actions carried out on a headless program (lines that write files or open dialogs are
// left out, and ticks are capped).
Finding script(std::span<const std::uint8_t> data, const std::string& installDir);

// A remote-control client's bytes: cut into lines, read and carried out on a headless program
// (the monitor's timer runs while a line waits, up to a cap). The program's own failures must
// not show, every error must carry a standard number, and replies end with their line end.
Finding scpi(std::span<const std::uint8_t> data, const std::string& installDir);

}  // namespace tunx::fuzz
