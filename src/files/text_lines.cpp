#include "files/text_lines.h"

namespace korvane::files {

std::vector<TextLine> splitLines(std::string_view text) {
  std::vector<TextLine> lines;
  std::size_t start = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    if (c != '\r' && c != '\n') {
      ++pos;
      continue;
    }
    const std::size_t endingLength =
        (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
    lines.push_back({text.substr(start, pos - start), text.substr(pos, endingLength)});
    pos += endingLength;
    start = pos;
  }
  if (start < text.size()) {
    lines.push_back({text.substr(start), {}});
  }
  return lines;
}

std::string excerpt(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) {
    return std::string(text);
  }
  std::size_t cut = maxBytes;
  // Not inside a character: continuation bytes are 10xxxxxx.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0U) == 0x80U) {
    --cut;
  }
  return std::string(text.substr(0, cut)) + "\u2026";
}

}  // namespace korvane::files
