#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace korvane::files {

// What the system refused, as data: the window words it in the user's
// language.
enum class FileFailure {
  Read,
  Write,
  List,  // a folder's entries
  Delete,
  WrongType,  // a file of a kind the command does not take
  // A write refused because the file there was not read as the file the
  // program expects; replacing it would lose what it holds.
  KeptUnreadable,      // it could not be read; `reason` says why, when known
  KeptTooLarge,        // larger than kMaxFileBytes, left unread
  KeptNotOurs,         // it lacks its own section; `reason` names the section
  KeptUndecipherable,  // a macro file whose lines did not all decipher
};

struct FileError {
  FileFailure failure = FileFailure::Read;
  std::filesystem::path path;
  std::string reason;  // the system's own explanation, when one is known

  friend bool operator==(const FileError&, const FileError&) = default;
};

// A regular file (or a link to one) at that path; any error reads as "no".
bool isRegularFile(const std::filesystem::path& path);

// The files the program reads (settings, data, language and macro files) take
// a few kilobytes; one larger than this is refused, not read, so that no file
// can make a click or the start cost more than the device could ever hold.
inline constexpr std::size_t kMaxFileBytes = std::size_t{1} << 20;
// The limit as the messages give it.
inline constexpr std::string_view kMaxFileSizeText = "1 MiB";

struct FileContent {
  // Nothing when the file is missing, not a regular file, cannot be read or is
  // too large.
  std::optional<std::string> bytes;
  bool tooLarge = false;  // larger than maxBytes: left unread
  // A file is there but could not be opened or read (not for one too large);
  // `reason` is the system's explanation.
  bool unreadable = false;
  std::string reason;
  // Something the program must not replace stands at the path unread.
  bool refused() const { return tooLarge || unreadable; }
};
FileContent readFile(const std::filesystem::path& path, std::size_t maxBytes = kMaxFileBytes);

// A regular file (or a link to one) larger than kMaxFileBytes, which readFile
// would refuse; told from its size alone.
bool isTooLargeToRead(const std::filesystem::path& path);

// The whole content of a regular file; nothing when it is missing, not a
// regular file, cannot be read, or is larger than kMaxFileBytes.
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

// Why a write failed: the file as given and the system's reason (strerror).
struct WriteFailure {
  std::filesystem::path path;
  std::string reason;
  // "Unable to write to <path>: <reason>"
  std::string message() const;
};

// Writes the whole file safely: a temporary file ".<name>.tmp-XXXXXX" in the
// same folder, flushed, renamed over the target, and the folder flushed, so a
// crash leaves the old file or the new one and never half of one. A symbolic
// link is written through: its target is replaced and the link stays. An
// existing target keeps its permissions. Temporary files that killed writes
// of the same target left beside it are removed first; no other file is. No temporary file of this
// write is left behind either way.
[[nodiscard]] std::optional<WriteFailure> replaceFile(const std::filesystem::path& path,
                                                      std::string_view bytes);

// replaceFile with the failure as a Write failure of the path.
[[nodiscard]] std::optional<FileError> writeFileSafely(const std::filesystem::path& path,
                                                       std::string_view bytes);

}  // namespace korvane::files
