#include "platform/desktop_pointer/kde_config.h"

namespace korvane::platform::desktop_pointer {

namespace {

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) {
    return {};
  }
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool isHeader(std::string_view line) {
  return trimmed(line).starts_with('[');
}

// A line end inside a value or name would start a line of its own.
std::string oneLine(std::string_view text) {
  std::string line(text);
  for (char& c : line) {
    if (c == '\n' || c == '\r') {
      c = ' ';
    }
  }
  return line;
}

}  // namespace

KdeConfigText::KdeConfigText(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      lines_.push_back({std::string(text.substr(start)), false});
      break;
    }
    lines_.push_back({std::string(text.substr(start, end - start)), true});
    start = end + 1;
  }
}

std::string KdeConfigText::header(const std::vector<std::string>& names) {
  std::string line;
  for (const std::string& name : names) {
    line += "[" + oneLine(name) + "]";
  }
  return line;
}

std::optional<std::size_t> KdeConfigText::findGroup(std::string_view groupHeader) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (trimmed(lines_[i].text) == groupHeader) {
      return i;
    }
  }
  return std::nullopt;
}

std::size_t KdeConfigText::groupEnd(std::size_t headerLine) const {
  std::size_t end = headerLine + 1;
  while (end < lines_.size() && !isHeader(lines_[end].text)) {
    ++end;
  }
  return end;
}

std::optional<std::size_t> KdeConfigText::findKey(std::size_t headerLine,
                                                  std::string_view key) const {
  const std::size_t end = groupEnd(headerLine);
  for (std::size_t i = headerLine + 1; i < end; ++i) {
    const std::string_view line = lines_[i].text;
    const auto equals = line.find('=');
    if (equals != std::string_view::npos && trimmed(line.substr(0, equals)) == key) {
      return i;
    }
  }
  return std::nullopt;
}

void KdeConfigText::set(std::string_view groupHeader, std::string_view key,
                        std::string_view value) {
  const std::string line = std::string(key) + "=" + oneLine(value);
  const auto group = findGroup(groupHeader);
  if (!group) {
    if (!lines_.empty()) {
      lines_.back().ended = true;
      if (!trimmed(lines_.back().text).empty()) {
        lines_.push_back({""});
      }
    }
    lines_.push_back({std::string(groupHeader)});
    lines_.push_back({line});
    return;
  }
  if (const auto existing = findKey(*group, key)) {
    std::string& text = lines_[*existing].text;
    text = text.ends_with('\r') ? line + '\r' : line;
    return;
  }
  std::size_t after = *group;
  for (std::size_t i = *group + 1; i < groupEnd(*group); ++i) {
    if (!trimmed(lines_[i].text).empty()) {
      after = i;
    }
  }
  lines_[after].ended = true;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after) + 1, Line{line});
}

std::optional<std::string> KdeConfigText::get(std::string_view groupHeader,
                                              std::string_view key) const {
  const auto group = findGroup(groupHeader);
  if (!group) {
    return std::nullopt;
  }
  const auto line = findKey(*group, key);
  if (!line) {
    return std::nullopt;
  }
  const std::string_view text = lines_[*line].text;
  return std::string(trimmed(text.substr(text.find('=') + 1)));
}

std::string KdeConfigText::text() const {
  std::string text;
  for (const Line& line : lines_) {
    text += line.text;
    if (line.ended) {
      text += '\n';
    }
  }
  return text;
}

}  // namespace korvane::platform::desktop_pointer
