#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace tunx {

// The ten output modes.
enum class Mode {
    Sine,
    SineModulated,
    Pulse,
    Ramp,
    Triangle,
    Arbitrary,
    Sweep,
    Square,
    Square2,
    Sine2
};

// The modes' texts, as the mode box lists them and every decision compares them.
namespace mode {
struct Name {
    Mode mode;
    const char* text;
};
inline constexpr std::array<Name, 10> kNames = {{
    {Mode::Sine, "Single Tone Sine"},
    {Mode::SineModulated, "Sine Modulated"},
    {Mode::Pulse, "Pulse Generator"},
    {Mode::Ramp, "Ramp"},
    {Mode::Triangle, "Triangle"},
    {Mode::Arbitrary, "Arbitrary"},
    {Mode::Sweep, "Sweep Sine Generator"},
    {Mode::Square, "Square-Wave"},
    {Mode::Square2, "Square-Wave2"},
    {Mode::Sine2, "Single Tone Sine2"},
}};
// The mode box's text that asks for a mode.
inline constexpr const char* kSelectMode = "Select Mode";
}  // namespace mode

// The mode a text names, compared exactly; nullopt for any other text.
inline std::optional<Mode> modeOf(std::string_view text) {
    for (const mode::Name& n : mode::kNames) {
        if (text == n.text) {
            return n.mode;
        }
    }
    return std::nullopt;
}

// The text of a mode.
inline const char* textOf(Mode m) {
    for (const mode::Name& n : mode::kNames) {
        if (n.mode == m) {
            return n.text;
        }
    }
    return "";
}

}  // namespace tunx
