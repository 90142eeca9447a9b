#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_io.h"
#include "macros/script.h"

namespace korvane::macros {

// A macro is the file "<name>.spm" in the macro folder: one enciphered line per
// script line, header included.
inline constexpr std::string_view kMacroFileExtension = ".spm";
inline constexpr std::string_view kFileLineEnd = "\r\n";

std::filesystem::path macroFilePath(const std::filesystem::path& folder, std::string_view name);

// Lines of a text: CR LF, a lone CR or a lone LF ends a line; a line end at the
// very end adds no empty line after it. An empty text has no lines.
std::vector<std::string> splitFileLines(std::string_view content);

// Every line enciphered and followed by CR LF; no lines give no bytes.
std::string encodeMacroFile(const MacroScript& script);

// The lines read, in order, up to the first that is not hex; `error` then
// holds the message and `script` the lines before it. A file that cannot be
// read at all gives `readError` instead.
struct MacroFileRead {
  MacroScript script;
  std::optional<std::string> error;
  bool tooLarge = false;                      // larger than files::kMaxFileBytes, left unread
  std::optional<files::FileError> readError;  // the file could not be read at all
  // The file is there but was not read whole (too large, refused by the
  // system, a line that does not decipher): the refused write of a script
  // built from this read, which would lose the rest of the file.
  std::optional<files::FileError> kept;
};
MacroFileRead decodeMacroFile(std::string_view content);

// A file that cannot be read gives no lines and a Read failure of the path;
// one too large to read, "<path> is larger than 1 MiB" and `tooLarge`.
MacroFileRead readMacroFile(const std::filesystem::path& path);

// Written whole and safely; nullopt on success, else the refused write.
[[nodiscard]] std::optional<files::FileError> writeMacroFile(const std::filesystem::path& path,
                                                             const MacroScript& script);

}  // namespace korvane::macros
