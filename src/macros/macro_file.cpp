#include "macros/macro_file.h"

#include "files/file_io.h"
#include "files/text_lines.h"
#include "macros/line_cipher.h"

namespace korvane::macros {

std::filesystem::path macroFilePath(const std::filesystem::path& folder, std::string_view name) {
  std::string fileName(name);
  fileName += kMacroFileExtension;
  return folder / fileName;
}

std::vector<std::string> splitFileLines(std::string_view content) {
  std::vector<std::string> lines;
  for (const files::TextLine& line : files::splitLines(content)) {
    lines.emplace_back(line.text);
  }
  return lines;
}

std::string encodeMacroFile(const MacroScript& script) {
  std::string content;
  for (const std::string& line : script) {
    content += EncryptLine(line);
    content += kFileLineEnd;
  }
  return content;
}

MacroFileRead decodeMacroFile(std::string_view content) {
  MacroFileRead read;
  for (const std::string& line : splitFileLines(content)) {
    Result<std::string> plain = DecryptLine(line);
    if (!plain) {
      read.error = plain.error();
      break;
    }
    read.script.push_back(std::move(plain).value());
  }
  return read;
}

MacroFileRead readMacroFile(const std::filesystem::path& path) {
  const files::FileContent content = files::readFile(path);
  if (content.tooLarge) {
    return {{},
            path.string() + " is larger than " + std::string(files::kMaxFileSizeText),
            true,
            std::nullopt,
            files::FileError{files::FileFailure::KeptTooLarge, path, {}}};
  }
  if (!content.bytes) {
    MacroFileRead read{{},
                       std::nullopt,
                       false,
                       files::FileError{files::FileFailure::Read, path, {}},
                       std::nullopt};
    if (content.unreadable) {
      read.readError->reason = content.reason;
      read.kept = files::FileError{files::FileFailure::KeptUnreadable, path, content.reason};
    }
    return read;
  }
  MacroFileRead read = decodeMacroFile(*content.bytes);
  if (read.error) {
    read.kept = files::FileError{files::FileFailure::KeptUndecipherable, path, {}};
  }
  return read;
}

std::optional<files::FileError> writeMacroFile(const std::filesystem::path& path,
                                               const MacroScript& script) {
  return files::writeFileSafely(path, encodeMacroFile(script));
}

}  // namespace korvane::macros
