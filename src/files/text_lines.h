#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::files {

// One line of a text and the line end that closed it.
struct TextLine {
  std::string_view text;
  std::string_view ending;  // "\r\n", "\n", "\r", or empty for a last line without one
};

// The lines of a text: CR LF, a lone CR or a lone LF ends a line; a line end
// at the very end adds no empty line after it. An empty text has no lines.
// The views point into `text`.
std::vector<TextLine> splitLines(std::string_view text);

// As much of a text as a message quotes: enough to find the line, never so
// much that a long line makes a long message.
inline constexpr std::size_t kExcerptBytes = 40;
// The text itself when it is no longer than maxBytes; otherwise its first
// bytes up to a character boundary (UTF-8) followed by "…".
std::string excerpt(std::string_view text, std::size_t maxBytes = kExcerptBytes);

}  // namespace korvane::files
