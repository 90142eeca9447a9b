#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/controls.h"

namespace korvane::app {

// A control as its own kind, so a lookup can tell a label from a slider.
using ControlRef = std::variant<Label*, Image*, Panel*, CheckBox*, Slider*, ListBox*, Edit*>;

struct NamedControl {
  std::string name;
  ControlRef control;
};

// The window's controls by their names ("pnl_page3", "Key12", "tb_step3" ..).
class ControlRegistry {
 public:
  void add(std::string name, ControlRef control);
  void add(const std::vector<NamedControl>& controls);

  // Any kind; nullptr when no control has the name.
  Control* find(std::string_view name) const;
  // The control as the kind asked for; nullptr when no control has the name.
  // A control of another kind is a fault in the caller, not a missing
  // control: it throws std::logic_error naming the control.
  template <class Kind>
  Kind* find(std::string_view name) const {
    const ControlRef* found = lookUp(name);
    if (found == nullptr) {
      return nullptr;
    }
    if (Kind* const* control = std::get_if<Kind*>(found)) {
      return *control;
    }
    throw std::logic_error("control " + std::string(name) + " is of another kind");
  }

 private:
  const ControlRef* lookUp(std::string_view name) const;

  std::vector<NamedControl> controls_;
};

}  // namespace korvane::app
