#include "i18n/messages.h"

#include <vector>

namespace korvane::i18n {

namespace {

constexpr bool rowsFollowTheEnumeration() {
  for (std::size_t i = 0; i < kMessages.size(); ++i) {
    if (static_cast<std::size_t>(kMessages[i].id) != i) return false;
  }
  return true;
}
static_assert(rowsFollowTheEnumeration(), "row n holds message n");

}  // namespace

const MessageRow& messageRow(Message id) {
  return kMessages.at(static_cast<std::size_t>(id));
}

std::string fillMessage(std::string_view text, std::initializer_list<std::string_view> args) {
  const std::vector<std::string_view> values(args);
  std::string filled;
  filled.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
      const auto index = static_cast<std::size_t>(text[i + 1] - '1');
      if (index < values.size()) {
        filled += values[index];
        ++i;
        continue;
      }
    }
    filled += text[i];
  }
  return filled;
}

}  // namespace korvane::i18n
