#pragma once

namespace tunx::app {

class App;

// The keyboard's way in, beside the mouse's: Ctrl+O and Ctrl+S load and save a configuration,
// F1 opens the user's guide, F5 refreshes, Ctrl+Q quits; and tooltips on the buttons that show
// a picture instead of a caption.
void addShortcuts(App& app);

}  // namespace tunx::app
