#pragma once

#include <optional>
#include <string>

#include "monitor/scope/Reference.h"

namespace tunx {

class Form1;

// REF A is slot 0, REF B slot 1.
inline constexpr std::size_t kRefA = 0;
inline constexpr std::size_t kRefB = 1;

// Keeps what the plot shows of `source` as the reference in `slot`, drawn at once. None, or
// what stood in the way (nothing on the plot, math off), with the reference left as it was.
std::optional<std::string> saveReference(Form1& w, std::size_t slot, ReferenceSource source);
// Loads the reference in `slot` from a scope export; a file that is not one changes nothing.
std::optional<std::string> loadReference(Form1& w, std::size_t slot, const std::string& path);
// Clears the reference in `slot`.
void clearReference(Form1& w, std::size_t slot);
// Puts `ref` in `slot` (loaded from the user's settings at start-up, say) and draws it.
void putReference(Form1& w, std::size_t slot, ReferenceTrace ref);

}  // namespace tunx
