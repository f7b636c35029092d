#pragma once

#include <QString>

namespace tunx::app {

class App;

// The keyboard's way in, beside the mouse's: Ctrl+O and Ctrl+S load and save a configuration,
// F1 opens the user's guide (from either window), F5 refreshes, Ctrl+Q quits; each window's Help
// menu lists these keys ("Keyboard shortcuts"); and tooltips on the buttons that show a picture
// instead of a caption.
void addShortcuts(App& app);

// The keys and what they do, one a line ("F1<tab>the user's guide").
QString shortcutsText();

}  // namespace tunx::app
