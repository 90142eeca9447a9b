#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

#include "buttons/function_catalogue.h"

namespace korvane::app {

// The names the program gives a button's function, as each language file and
// the built-in texts word them, and the text the user's language shows for
// each. A settings file keeps a button's caption in the language it was
// saved in; loaded under another language it is shown in that one, so the
// left-click rule, which compares captions, still finds the left button.
// A name counts only with the function it names: a macro called "Copy"
// stays "Copy".
class FunctionNames {
 public:
  // `name` of the function `action`, shown as `shown`. `button` 1..12: the
  // default name of that button only; 0: any button's.
  void add(std::string_view name, buttons::KeyAction action, int button, std::string_view shown);
  // A stored caption of `button`, which carries `action`, in the user's
  // language; the caption itself when the program gives no such name for
  // that function, or gives it two texts.
  std::string shown(const std::string& stored, int button, buttons::KeyAction action) const;

 private:
  using Key = std::tuple<std::string, int, int, int, int>;  // name, type, params, button
  static Key keyOf(std::string_view name, buttons::KeyAction action, int button);
  // nullopt: one name of one function with two texts, left as stored.
  std::map<Key, std::optional<std::string>> names_;
};

}  // namespace korvane::app
