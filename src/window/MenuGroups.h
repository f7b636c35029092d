#pragma once

namespace tunx {

// The groups of menu controls: the menu bar's menus, and the entries of each menu
// ("Menu:File" goes under the bar's "File").
namespace menugroup {
inline constexpr const char* kBar = "Menu";
inline constexpr const char* kEntriesPrefix = "Menu:";
inline constexpr const char* kFile = "Menu:File";
inline constexpr const char* kHelp = "Menu:Help";
}  // namespace menugroup

}  // namespace tunx
