#include "app/control_registry.h"

#include <utility>

namespace korvane::app {

void ControlRegistry::add(std::string name, ControlRef control) {
  controls_.push_back({std::move(name), control});
}

void ControlRegistry::add(const std::vector<NamedControl>& controls) {
  controls_.insert(controls_.end(), controls.begin(), controls.end());
}

Control* ControlRegistry::find(std::string_view name) const {
  const ControlRef* found = lookUp(name);
  if (found == nullptr) {
    return nullptr;
  }
  return std::visit([](auto* control) -> Control* { return control; }, *found);
}

const ControlRef* ControlRegistry::lookUp(std::string_view name) const {
  for (const NamedControl& named : controls_) {
    if (named.name == name) {
      return &named.control;
    }
  }
  return nullptr;
}

}  // namespace korvane::app
