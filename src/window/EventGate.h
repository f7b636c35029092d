#pragma once

namespace tunx {

// One handler at a time across both windows: a handler (button, list click, timer tick)
// never starts while another is still running, also while a modal message box of the
// first one is open.
class EventGate {
  public:
    bool busy() const { return busy_; }

    // Runs `handler` unless another handler is running; returns whether it ran.
    template <typename F>
    bool enter(F&& handler) {
        if (busy_) {
            return false;
        }
        busy_ = true;
        struct Release {
            bool& flag;
            ~Release() { flag = false; }
        } release{busy_};
        handler();
        return true;
    }

  private:
    bool busy_ = false;
};

}  // namespace tunx
