#include "app/function_names.h"

namespace korvane::app {

namespace {

// The profile format drops trailing blanks ("Volume - " reads "Volume -").
std::string_view trimmed(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

}  // namespace

FunctionNames::Key FunctionNames::keyOf(std::string_view name, buttons::KeyAction action,
                                        int button) {
  return {std::string(trimmed(name)), static_cast<int>(action.type), action.param1, action.param2,
          button};
}

void FunctionNames::add(std::string_view name, buttons::KeyAction action, int button,
                        std::string_view shown) {
  if (trimmed(name).empty() || trimmed(shown).empty()) {
    return;
  }
  const auto [it, fresh] = names_.emplace(keyOf(name, action, button), std::string(shown));
  if (!fresh && it->second != shown) {
    it->second.reset();
  }
}

std::string FunctionNames::shown(const std::string& stored, int button,
                                 buttons::KeyAction action) const {
  // A button's own default name first, then the names of the functions.
  for (const int owner : {button, 0}) {
    if (const auto it = names_.find(keyOf(stored, action, owner)); it != names_.end()) {
      return it->second.value_or(stored);
    }
  }
  return stored;
}

}  // namespace korvane::app
