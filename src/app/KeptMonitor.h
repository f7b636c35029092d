#pragma once

#include <string>

#include "monitor/KeptSettings.h"

namespace tunx::app {

// The monitor's settings in the user's settings (QSettings, under "monitor/"), from one run of
// the windows to the next. Only a run that keeps them reads or writes any: the program, not a
// --script run or a test (see App).
class KeptMonitor {
  public:
    explicit KeptMonitor(bool keep);

    bool keeps() const { return keep_; }
    // What the last run kept; values that are not texts (a damaged file) are left out.
    KeptSettings load() const;
    // Keeps the settings for the next run (no-op for a run that keeps nothing).
    void save(const KeptSettings& settings) const;
    void save(const std::string& name, const std::string& value) const;

  private:
    bool keep_ = false;
};

}  // namespace tunx::app
