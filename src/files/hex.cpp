#include "files/hex.h"

namespace korvane::files {

namespace {
constexpr std::string_view kUpperHexDigits = "0123456789ABCDEF";
}  // namespace

void appendHex(std::string& out, std::uint8_t byte) {
  out += kUpperHexDigits[byte >> 4];
  out += kUpperHexDigits[byte & 0x0F];
}

std::string toHex(std::span<const std::uint8_t> bytes, std::string_view separator) {
  std::string hex;
  hex.reserve(bytes.size() * (2 + separator.size()));
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) {
      hex += separator;
    }
    appendHex(hex, bytes[i]);
  }
  return hex;
}

std::optional<std::uint8_t> hexDigitValue(char c) {
  if (c >= '0' && c <= '9') {
    return static_cast<std::uint8_t>(c - '0');
  }
  if (c >= 'A' && c <= 'F') {
    return static_cast<std::uint8_t>(c - 'A' + 10);
  }
  if (c >= 'a' && c <= 'f') {
    return static_cast<std::uint8_t>(c - 'a' + 10);
  }
  return std::nullopt;
}

}  // namespace korvane::files
