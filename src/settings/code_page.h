#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvane::settings {

// The 8-bit (ANSI) code pages the tool's INI and language files are kept in.
enum class CodePageId { Utf8, Gbk936, Big5_950, Windows1252 };

// Converts between UTF-8 (what the program holds) and the bytes of one ANSI
// code page (what the files hold), as the Windows "A" functions would.
//
// Conversion never fails: a byte sequence that cannot be decoded becomes "?"
// (one "?" per undecodable byte; in GBK, Big5 and Windows-1252 a character cut
// short by the end of the text gives a single "?");
// a character the code page cannot hold becomes one "?" (so does each byte of
// invalid UTF-8 given to fromUtf8). ASCII passes through unchanged in all four
// code pages. Bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D of Windows-1252 are
// unassigned and decode as "?". If the system has no converter for a code page,
// every non-ASCII byte (decoding) or character (encoding) becomes "?".
class CodePage {
 public:
  explicit CodePage(CodePageId id = CodePageId::Utf8);

  // The legacy code page of a language code, the one files from the original
  // platform were written in: "CHS" -> GBK (936), "CHT" -> Big5 (950),
  // "ENU" -> Windows-1252, anything else (including the empty code) -> GBK.
  // The codes match exactly.
  static CodePage forLanguage(std::string_view languageCode);

  // Well-formed UTF-8 throughout (pure ASCII is).
  static bool isValidUtf8(std::string_view bytes);

  CodePageId id() const { return id_; }
  int number() const;  // 936, 950, 1252, 65001

  std::string toUtf8(std::string_view ansi) const;
  std::string fromUtf8(std::string_view utf8) const;
  // As fromUtf8, but nothing when a character would not survive: one the
  // code page cannot hold, or invalid UTF-8.
  std::optional<std::string> fromUtf8Exactly(std::string_view utf8) const;

  friend bool operator==(const CodePage&, const CodePage&) = default;

 private:
  CodePageId id_;
};

}  // namespace korvane::settings
