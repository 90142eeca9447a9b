#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace korvane::files {

// Two upper-case hex digits per byte, most significant first.
void appendHex(std::string& out, std::uint8_t byte);
// Every byte as two upper-case hex digits, `separator` between two bytes.
std::string toHex(std::span<const std::uint8_t> bytes, std::string_view separator = {});

// The value of one hex digit of either case; nothing for any other character.
std::optional<std::uint8_t> hexDigitValue(char c);

}  // namespace korvane::files
