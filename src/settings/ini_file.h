#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "files/file_io.h"
#include "settings/code_page.h"

namespace korvane::settings {

// Integer rule of the profile reads (GetPrivateProfileInt): optional leading
// blanks, an optional "-" or "+", then decimal digits; whatever follows the
// digits is ignored ("12abc" is 12). No digit at all gives nullopt. The value
// is taken modulo 2^32 and read as a signed 32-bit number, so "4294967297" is
// 1 and "4294967295" is -1; a caller that keeps a byte takes the low 8 bits
// ("256" -> 0, "511" -> 255, "-1" -> 255).
std::optional<int> parseProfileInt(std::string_view text);

// One Windows profile (INI) file, held as its lines so that writing changes
// only the lines it must.
//
// Reading rules (Windows profile functions, with the choices noted):
// - A line whose first non-blank character is "[" starts a section; the name
//   runs to the first "]" (or to the end of the line when there is none) and
//   is trimmed. A line holding "=" is a key line: the key is the trimmed text
//   before the first "=", the value the trimmed text after it. Blanks are
//   space, tab and vertical tab. Lines starting with ";" and every other line
//   (garbage, binary bytes, NULs) are ignored when reading and kept as they are
//   when writing. Key lines before the first section belong to no section.
// - Section and key names match without regard to ASCII case; the names given
//   to the read and write calls are trimmed the same way.
// - When a section name occurs more than once, only its first occurrence
//   counts, for reads and for writes (Windows ignores the later ones). Within
//   a section, the first occurrence of a key wins.
// - Line ends may be CR LF, LF or a lone CR; the last line needs none.
// - The encoding is read from the content: a UTF-8 byte-order mark at the
//   very start (set aside and written back) or bytes that are all valid UTF-8
//   make the file UTF-8; anything else is a file from the original platform,
//   read in the legacy code page the caller names for it.
// - String values are kept exactly as they stand between the blanks: unlike
//   GetPrivateProfileString, surrounding quotation marks are NOT removed, so
//   that every caption the program writes comes back unchanged.
//
// Writing rules (WritePrivateProfileString):
// - An existing key keeps its line: the text up to the "=" and the blanks
//   after it stay, the value is replaced. A missing key is added after the
//   last non-blank line of its section; a missing section is added, with the
//   key, at the end of the file. Every other line stays byte for byte.
// - Added lines end with the line end the file already uses (the first one
//   found in it), CR LF for a new or one-line file. A last line without an end
//   gets one when a line is added after it.
// - The file keeps the encoding it was read in; a new file is UTF-8 without a
//   byte-order mark. A string its legacy code page cannot hold turns the whole
//   file into UTF-8 rather than lose a character to "?".
// - A value cannot span lines: CR and LF in a written value become spaces.
//   Leading and trailing blanks are written but, as on Windows, not read back.
class IniFile {
 public:
  IniFile() = default;

  // Reads the whole file; `legacy` is the code page of a file that is not
  // UTF-8. A missing or unreadable file (or anything other than a regular
  // file) gives an empty UTF-8 document whose exists() is false; so does a
  // file larger than files::kMaxFileBytes, whose tooLarge() is then true.
  static IniFile load(const std::filesystem::path& path, const CodePage& legacy);
  // A document over the given bytes, as if they had been read from `path`.
  static IniFile fromBytes(std::string_view bytes, const CodePage& legacy,
                           std::filesystem::path path = {});

  bool exists() const { return exists_; }
  bool tooLarge() const { return tooLarge_; }
  // A file stands at the path that was not read (too large, or the system
  // refused the read): the refused write that save() gives instead of
  // replacing it.
  const std::optional<files::FileError>& unread() const { return unread_; }
  // A file that is there and holds something but not `section`: not the file
  // the program expects, and never written into. An empty file lacks nothing.
  bool lacksSection(std::string_view section) const;
  // Why a write of `section` into this file must not happen: the file was
  // not read, or it is not ours. nullopt when it may be written.
  std::optional<files::FileError> writeRefusal(std::string_view section) const;
  const std::filesystem::path& path() const { return path_; }
  // The encoding the file is kept in: UTF-8, or the legacy code page.
  const CodePage& codePage() const { return codePage_; }

  bool hasSection(std::string_view section) const;
  bool hasKey(std::string_view section, std::string_view key) const;

  // A missing key or an empty value gives the default; a value that is not a
  // number reads as 0 ("abc", "-  3"), as the profile functions read it.
  int readInt(std::string_view section, std::string_view key, int defaultValue = 0) const;
  // Any non-zero integer (rules above) is true.
  bool readBool(std::string_view section, std::string_view key, bool defaultValue = false) const;
  // The value converted from the file's code page to UTF-8.
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view defaultValue = {}) const;

  void writeInt(std::string_view section, std::string_view key, int value);
  void writeBool(std::string_view section, std::string_view key, bool value);  // "1" / "0"
  // Converted from UTF-8 to the file's encoding (see the writing rules).
  void writeString(std::string_view section, std::string_view key, std::string_view utf8Value);

  // Writes the whole file safely: a temporary file in the same folder
  // (".<name>.tmp-XXXXXX"), flushed to disk, then renamed over the target, so
  // the target is either the old file or the new one. An existing file keeps
  // its permissions. Returns nullopt on success, otherwise the refused write
  // (the path as given), and no temporary file is left behind. A file that
  // was there but not read is never replaced: its unread() comes back.
  [[nodiscard]] std::optional<files::FileError> save() const;

  // The bytes that save() would write.
  std::string text() const;

 private:
  struct Line {
    std::string text;    // without its line end
    std::string ending;  // "\r\n", "\n", "\r", or "" for a last line without one
  };

  std::optional<std::size_t> findSection(std::string_view encodedSection) const;
  std::optional<std::size_t> findKey(std::string_view section, std::string_view key) const;
  std::optional<std::string_view> rawValue(std::string_view section, std::string_view key) const;
  void writeRaw(std::string_view section, std::string_view key, std::string value);
  void convertToUtf8();

  // Where the first occurrence of each section and of each key within it
  // stand, so that a lookup costs the same in a file of any length. Built at
  // the first lookup; dropped when lines are added.
  struct Index {
    std::unordered_map<std::string, std::size_t> sections;  // folded name -> header line
    std::unordered_map<std::string, std::size_t> keys;      // folded "section\nkey" -> key line
  };
  const Index& index() const;

  std::filesystem::path path_;
  CodePage codePage_;
  bool exists_ = false;
  bool tooLarge_ = false;
  std::optional<files::FileError> unread_;
  mutable std::optional<Index> index_;
  bool byteOrderMark_ = false;
  std::string newline_ = "\r\n";
  std::vector<Line> lines_;
};

}  // namespace korvane::settings
