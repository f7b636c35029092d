#pragma once

#include <array>
#include <bit>
#include <type_traits>

#include "window/Control.h"

namespace tunx {

// A typed handle on one control of a window: `panel.Frek->text`. It is bound once, where the
// window builds its controls (`Frek = add(text("Frek", ...))`), and stays valid for the
// window's life.
class Ctl {
  public:
    Ctl() = default;
    explicit Ctl(Control& control) : c_(&control) {}
    // Binds the handle to a control of the window.
    Ctl& operator=(Control& control) {
        c_ = &control;
        return *this;
    }
    Control* operator->() const { return c_; }
    Control& operator*() const { return *c_; }
    const Control* get() const { return c_; }
    bool bound() const { return c_ != nullptr; }

  private:
    Control* c_ = nullptr;
};

// The handles of a window's controls struct, in declaration order. A controls struct holds
// handles only, one per control, declared in the window's control order.
template <typename Controls>
auto handlesOf(const Controls& controls) {
    constexpr std::size_t count = sizeof(Controls) / sizeof(Ctl);
    static_assert(sizeof(Controls) == count * sizeof(Ctl) &&
                      std::is_trivially_copyable_v<Controls> && std::is_standard_layout_v<Controls>,
                  "a controls struct holds handles only");
    return std::bit_cast<std::array<Ctl, count>>(controls);
}

}  // namespace tunx
