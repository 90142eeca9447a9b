#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::platform::desktop_pointer {

// A KDE configuration file (kcminputrc, kdeglobals) changed line by line:
// only the lines of the keys set change, every other line, group and
// comment stays as it was. A group header is the literal line, nested
// groups included: "[Mouse]", "[Libinput][1234][5678][Gaming Mouse]".
class KdeConfigText {
 public:
  explicit KdeConfigText(std::string_view text);

  // The header line of a group given by its names: {"Libinput", "1234"}
  // gives "[Libinput][1234]".
  static std::string header(const std::vector<std::string>& names);

  // Replaces the value of `key` in the group, or adds the key after the
  // group's last non-blank line, or adds the group at the end.
  void set(std::string_view groupHeader, std::string_view key, std::string_view value);
  std::optional<std::string> get(std::string_view groupHeader, std::string_view key) const;

  std::string text() const;

 private:
  struct Line {
    std::string text;
    bool ended = true;  // followed by a line end
  };
  std::optional<std::size_t> findGroup(std::string_view groupHeader) const;
  std::size_t groupEnd(std::size_t headerLine) const;
  std::optional<std::size_t> findKey(std::size_t headerLine, std::string_view key) const;

  std::vector<Line> lines_;
};

}  // namespace korvane::platform::desktop_pointer
