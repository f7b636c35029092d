#pragma once

#include <QStringList>
#include <string>

namespace tunx::app {

// The program's file filter, "Description|pattern;pattern|Description|pattern|...", as Qt
// name filters: "Description (patterns)". File names on this system are case-sensitive
// while the program's patterns are not, so every pattern is given in its written, lower and
// upper case; "*.*" (every file) becomes "*". A description that carries its patterns in
// brackets keeps only its words: the brackets show the patterns actually matched.
QStringList toQtNameFilters(const std::string& filter);

}  // namespace tunx::app
