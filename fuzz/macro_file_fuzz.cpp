// The .spm reader and the line cipher: any bytes decode or are refused with a
// message, and every line read enciphers back to a line that reads the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "macros/line_cipher.h"
#include "macros/macro_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace macros = korvane::macros;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const macros::MacroFileRead read = macros::decodeMacroFile(bytes);
  for (const std::string& line : read.script) {
    const macros::Result<std::string> back = macros::DecryptLine(macros::EncryptLine(line));
    if (!back || *back != line) {
      __builtin_trap();
    }
  }
  // The input as one plain line, as `macro encrypt` takes it.
  const macros::Result<std::string> again = macros::DecryptLine(macros::EncryptLine(bytes));
  if (!again) {
    __builtin_trap();
  }
  return 0;
}
