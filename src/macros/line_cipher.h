#pragma once

#include <string>
#include <string_view>

#include "macros/result.h"

namespace korvane::macros {

// The message of a file line that is not hexadecimal text.
inline constexpr std::string_view kNotHexMessage = "Error: not a Hex String";

// One script line -> one file line: the bytes, padded with 0x00 to whole
// 8-byte blocks, enciphered with DES in ECB mode under the key "Qelto" + three
// 0x00 bytes, written as upper-case hex. L bytes give 16 * ceil(L / 8) digits;
// an empty line gives an empty line. The bytes are taken as they are (the
// files keep the ANSI code page; converting to it is the caller's business).
std::string EncryptLine(std::string_view plain);

// The reverse. A last odd character is ignored, a trailing group of fewer than
// eight bytes is ignored, lower-case digits are accepted, and trailing 0x00
// bytes are removed (so a line that ended in 0x00 bytes loses them). Any other
// character in the digit pairs gives kNotHexMessage.
Result<std::string> DecryptLine(std::string_view hex);

// Whether nettle reports the file key as weak. It is not; a weak key would
// still encipher, since nettle sets the key schedule up either way.
bool lineKeyIsWeak();

}  // namespace korvane::macros
